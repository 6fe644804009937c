#include "app/MainWindowView.h"

#include "app/DisplayModes.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "uilib/Container.h"
#include "uilib/PaintManager.h"
#include "uilib/controls/Combo.h"
#include "uilib/controls/Label.h"
#include "uilib/controls/Progress.h"

namespace orvella {

uilib::CControlUI* MainWindowView::Find(const char* name) const {
    return m_pm ? m_pm->FindControl(name) : nullptr;
}

CMediaUI* MainWindowView::Media() const {
    uilib::CControlUI* area = Find("media");
    return area ? static_cast<CMediaUI*>(area->GetInterface("Media")) : nullptr;
}

void MainWindowView::ShowControl(const char* name, bool visible) {
    if (uilib::CControlUI* c = Find(name)) c->SetVisible(visible);
}

void MainWindowView::EnableControl(const char* name, bool enabled) {
    if (uilib::CControlUI* c = Find(name)) c->SetEnabled(enabled);
}

void MainWindowView::SetControlText(const char* name, const std::string& text) {
    if (uilib::CControlUI* c = Find(name)) c->SetText(text.c_str());
}

void MainWindowView::SetControlTextColor(const char* name, uint32_t argb) {
    uilib::CControlUI* c = Find(name);
    auto* label = c ? static_cast<uilib::CLabelUI*>(c->GetInterface("Label")) : nullptr;
    if (!label) return;
    auto original = m_originalColours.find(name);
    if (argb == 0) {
        // Back to the colour the layout gave it.
        if (original != m_originalColours.end()) label->SetTextColor(original->second);
        return;
    }
    if (original == m_originalColours.end()) m_originalColours[name] = label->GetTextColor();
    label->SetTextColor(argb);
}

void MainWindowView::SetSliderValue(const char* name, int value) {
    uilib::CControlUI* c = Find(name);
    if (auto* slider = c ? static_cast<uilib::CProgressUI*>(c->GetInterface("Progress")) : nullptr) {
        slider->SetValue(value);
    }
}

bool MainWindowView::IsMouseOverControl(const char* name) const {
    uilib::CControlUI* c = Find(name);
    if (!c || !c->IsVisible() || !m_window) return false;
    POINT pt;
    if (!GetCursorPos(&pt) || !ScreenToClient(m_window, &pt)) return false;
    const RECT& rc = c->GetPos();
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

int MainWindowView::ControlWidth(const char* name) const {
    uilib::CControlUI* c = Find(name);
    return c ? c->GetFixedWidth() : 0;
}

SIZE MainWindowView::ControlSize(const char* name) const {
    uilib::CControlUI* c = Find(name);
    if (!c) return SIZE{0, 0};
    const RECT& r = c->GetPos();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void MainWindowView::StartTimer(UINT_PTR id, UINT milliseconds) {
    if (m_window) SetTimer(m_window, id, milliseconds);
}

void MainWindowView::StopTimer(UINT_PTR id) {
    if (m_window) KillTimer(m_window, id);
}

uint64_t MainWindowView::EnsureVideoWindow() {
    CMediaUI* media = Media();
    if (!media) return 0;
    CMediaWnd* video = media->GetVideoWindow();
    if (!video) video = media->CreateVideoWindow();
    return video ? video->GetNativeId() : 0;
}

void MainWindowView::DestroyVideoWindow(bool relayout) {
    CMediaUI* media = Media();
    if (!media || !media->GetVideoWindow()) return;
    media->DestroyVideoWindow();
    if (relayout) {
        media->NeedUpdate();
        media->NeedParentUpdate();
    }
}

CMediaWnd* MainWindowView::DetachVideoWindow() {
    CMediaUI* media = Media();
    return media ? media->DetachVideoWindow() : nullptr;
}

void MainWindowView::AttachVideoWindow(CMediaWnd* video) {
    if (!video) return;
    if (CMediaUI* media = Media()) {
        media->AttachVideoWindow(video);
        return;
    }
    // A layout without a video area: the window goes (the engine was told to stop first).
    DestroyWindow(video->GetHWND());
}

void MainWindowView::RepaintVideoBlack() {
    CMediaUI* media = Media();
    if (CMediaWnd* video = media ? media->GetVideoWindow() : nullptr) video->RepaintBlack();
}

bool MainWindowView::IsFullScreen() const {
    if (m_modes) return m_modes->State().fullScreen;
    return m_window && platform::GetBackend().IsFullScreen(m_window);
}

void MainWindowView::LeaveFullScreen() {
    if (m_modes) m_modes->LeaveFullScreen();
}

std::string MainWindowView::ControlText(const char* name) const {
    uilib::CControlUI* c = Find(name);
    return c ? std::string(c->GetText().c_str()) : std::string();
}

namespace {
uilib::CComboUI* AsCombo(uilib::CControlUI* c) {
    return c ? static_cast<uilib::CComboUI*>(c->GetInterface("Combo")) : nullptr;
}
}  // namespace

int MainWindowView::ComboSelection(const char* name) const {
    uilib::CComboUI* combo = AsCombo(Find(name));
    return combo ? combo->GetCurSel() : -1;
}

std::string MainWindowView::ComboItemText(const char* name, int item) const {
    uilib::CComboUI* combo = AsCombo(Find(name));
    uilib::CControlUI* entry = combo && item >= 0 ? combo->GetItemAt(item) : nullptr;
    return entry ? std::string(entry->GetText().c_str()) : std::string();
}

void MainWindowView::ClearComboSelection(const char* name) {
    if (uilib::CComboUI* combo = AsCombo(Find(name))) combo->SelectItem(-1);
}

RECT MainWindowView::ControlInset(const char* name) const {
    uilib::CControlUI* c = Find(name);
    auto* box = c ? static_cast<uilib::CContainerUI*>(c->GetInterface("Container")) : nullptr;
    return box ? box->GetInset() : RECT{};
}

void MainWindowView::SetControlInset(const char* name, const RECT& inset) {
    uilib::CControlUI* c = Find(name);
    if (auto* box = c ? static_cast<uilib::CContainerUI*>(c->GetInterface("Container")) : nullptr) {
        box->SetInset(inset);
    }
}

void MainWindowView::ResizeKeepingPosition(int width, int height) {
    if (m_window) SetWindowPos(m_window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE MainWindowView::WindowSize() const {
    RECT rc{};
    if (m_window) GetWindowRect(m_window, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

RECT MainWindowView::WorkArea() const { return platform::GetBackend().GetWorkArea(m_window); }

SIZE MainWindowView::MinimumSize() const { return m_pm ? m_pm->GetLeastWindowSize() : SIZE{}; }

}  // namespace orvella
