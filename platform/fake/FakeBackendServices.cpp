// The fake's desktop services: file dialogs answered from a script, the file manager,
// the tray, the screen saver and the shell recorded, the clipboard kept in memory.
#include <algorithm>

#include "platform/FileDialogRules.h"
#include "platform/fake/FakeBackend.h"

namespace platform {

std::vector<std::string> FakeBackend::RunFileDialog(HWND, const FileDialogRequest& request) {
    fileDialogRequests_.push_back(request);
    if (fileDialogAnswers_.empty()) return {};
    std::vector<std::string> paths = std::move(fileDialogAnswers_.front());
    fileDialogAnswers_.pop_front();
    if (request.kind == FileDialogRequest::Kind::Save && !paths.empty())
        paths = {WithDefaultExtension(paths.front(), request.defaultExtension)};
    return paths;
}

bool FakeBackend::AskYesNo(HWND, const std::string& title, const std::string& text) {
    questionsAsked_.push_back(title + ": " + text);
    if (questionAnswers_.empty()) return false;
    const bool yes = questionAnswers_.front();
    questionAnswers_.pop_front();
    return yes;
}

void FakeBackend::QueueFileDialogAnswer(std::vector<std::string> paths) {
    fileDialogAnswers_.push_back(std::move(paths));
}

bool FakeBackend::ShowInFileManager(const std::string& path) {
    shownInFileManager_.push_back(path);
    return showInFileManagerResult_;
}

TrayKind FakeBackend::AddTrayIcon(HWND hwnd, UINT id, UINT callbackMessage, const std::string& iconPath,
                                  const std::string& tip) {
    if (!IsWindow(hwnd)) return TrayKind::None;
    for (TrayIconInfo& icon : trayIcons_) {
        if (icon.hwnd != hwnd || icon.id != id) continue;
        icon.callbackMessage = callbackMessage;
        icon.iconPath = iconPath;
        icon.tip = tip;
        return icon.kind;
    }
    if (trayAvailable_ == TrayKind::None) return TrayKind::None;
    trayIcons_.push_back({hwnd, id, callbackMessage, iconPath, tip, trayAvailable_});
    return trayAvailable_;
}

void FakeBackend::RemoveTrayIcon(HWND hwnd, UINT id) {
    trayIcons_.erase(std::remove_if(trayIcons_.begin(), trayIcons_.end(),
                                    [&](const TrayIconInfo& i) { return i.hwnd == hwnd && i.id == id; }),
                     trayIcons_.end());
}

void FakeBackend::ForgetTrayIcons(HWND hwnd) {
    trayIcons_.erase(std::remove_if(trayIcons_.begin(), trayIcons_.end(),
                                    [&](const TrayIconInfo& i) { return i.hwnd == hwnd; }),
                     trayIcons_.end());
}

bool FakeBackend::ClickTrayIcon(HWND hwnd, UINT id, LPARAM mouseMessage) {
    for (const TrayIconInfo& icon : trayIcons_)
        if (icon.hwnd == hwnd && icon.id == id) return PostMessage(hwnd, icon.callbackMessage, id, mouseMessage);
    return false;
}

bool FakeBackend::ActivateTrayIcon(HWND hwnd, UINT id) { return ClickTrayIcon(hwnd, id, WM_LBUTTONDBLCLK); }
bool FakeBackend::OpenTrayIconMenu(HWND hwnd, UINT id) { return ClickTrayIcon(hwnd, id, WM_RBUTTONDOWN); }

void FakeBackend::InhibitScreenSaver(const std::string& application, const std::string& reason) {
    screenSaverCalls_.push_back("inhibit " + application + ": " + reason);
}

void FakeBackend::UninhibitScreenSaver() { screenSaverCalls_.push_back("uninhibit"); }

bool FakeBackend::SetClipboardText(const std::string& utf8) {
    clipboard_ = utf8;
    return true;
}

std::string FakeBackend::GetClipboardText() { return clipboard_; }

bool FakeBackend::ShellOpen(const std::string& uriOrPath) {
    shellOpened_.push_back(uriOrPath);
    return shellOpenResult_;
}

}  // namespace platform
