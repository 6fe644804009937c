// The main window's small windows: the about, question and file information windows, the
// settings and skin windows and the full-screen top bar. Each is null while closed; opening one that is
// open replaces it. Every open window hears the skin window's colour.
#pragma once

#include <string>

#include "app/DisplayModes.h"
#include "app/UpdateCheck.h"
#include "platform/Platform.h"

namespace uilib {
class CPaintManagerUI;
}

namespace orvella {

class CPlayerWnd;
class CAboutWnd;
class CQuestionWnd;
class CFullScreenTopBarWnd;
class CFacadeWnd;
class CCheckUpdateWnd;
class CSettingsWnd;
class CFileInfoWnd;
struct FileInfoRecord;
class CSkinWindow;
class HotkeyBindings;
struct SettingsValues;
struct SkinWindowOwner;

class ChildWindows : public TopBarHost {
public:
    explicit ChildWindows(CPlayerWnd& main) : m_main(main) {}
    ~ChildWindows() override;

    void OpenAbout();
    void CloseAbout();
    // The kinds of FindQuestionPrompt; detail fills the text's "%s" (the action that has
    // a key, a drive, an address). Unknown kinds ask nothing. The question belongs to
    // opener (the main window when null): it stands above that window.
    void AskQuestion(int kind, const std::string& detail = std::string(), HWND opener = nullptr);
    void CloseQuestion();

    // The answer of an update check, replacing one still open.
    void ShowUpdate(UpdateOutcome outcome, const ProgramVersion& own, const ProgramVersion& remote);
    void CloseUpdate();
    // The last answer again, in the current skin and language (after a rebuild).
    void ReopenUpdate();
    CCheckUpdateWnd* Update();  // null while closed

    // The settings window, filled with the values; an open one only comes forward.
    CSettingsWnd* OpenSettings(const SettingsValues& values, HotkeyBindings* hotkeys);
    CSettingsWnd* Settings();  // null while closed
    void CloseSettings();

    // The file information window showing record; an open one is replaced.
    void OpenFileInfo(const FileInfoRecord& record);
    CFileInfoWnd* FileInfo();  // null while closed
    void CloseFileInfo();

    // The skin window with its top-left corner at below (screen), made on first use with
    // its sliders on the main window's colour and background marked; later only shown.
    void ShowFacade(POINT below, const std::string& background);
    void HideFacade();
    void CloseFacade();
    CFacadeWnd* Facade();  // null while closed

    // Over the top of the video, as wide as it; made on first use.
    void ShowTopBar();
    bool TopBarExists() const override;
    void HideTopBar() override;
    void SetTopBarWidth(int width) override;

    // Escape while a dialog is open answers the one on top (the question, the about
    // window, the settings), wherever the keyboard was; false when none is open.
    bool AnswerEscape();

    // Everything goes (the main window closes or its layout is rebuilt).
    void CloseAll();
    // The main window's paint manager is replaced (a rebuild): the windows that stay open
    // take their fonts and pictures from the new one before the old one goes.
    void AdoptResources(uilib::CPaintManagerUI& from, uilib::CPaintManagerUI& to);

    CAboutWnd* About() const { return m_about; }
    CQuestionWnd* Question() const { return m_question; }
    CFullScreenTopBarWnd* TopBar() const { return m_topBar; }

private:
    SkinWindowOwner Owner(HWND opener = nullptr) const;
    CFullScreenTopBarWnd* LiveTopBar();
    // The skin window's paint manager while it is open (its notifiers are told of colours).
    uilib::CPaintManagerUI* FacadeManager();
    // Makes every open window a notifier of the skin window, so its colours reach them.
    void TellFacadeOfOpenWindows();

    CPlayerWnd& m_main;
    CAboutWnd* m_about = nullptr;
    CQuestionWnd* m_question = nullptr;
    CFullScreenTopBarWnd* m_topBar = nullptr;
    CSettingsWnd* m_settings = nullptr;
    CFacadeWnd* m_facade = nullptr;
    CFileInfoWnd* m_fileInfo = nullptr;
    CCheckUpdateWnd* m_update = nullptr;
    struct {
        UpdateOutcome outcome = UpdateOutcome::Current;
        ProgramVersion own, remote;
    } m_lastUpdate;
};

}  // namespace orvella
