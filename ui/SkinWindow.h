// The pattern every skinned window of the program follows: a native window without a
// system frame, one paint manager, a layout chosen by skin and language, its own caption
// band for dragging and rounded corners. The about and question windows, the top bar and
// the later dialogs derive from CSkinWindow; the main window opens them through
// OpenSkinWindow and closes them through CloseSkinWindow.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "uilib/PaintManager.h"
#include "uilib/WindowWnd.h"

namespace orvella {

// ---- pure parts, tested directly -------------------------------------------------

// Hit test of a dialog: the caption band is the layout's caption rectangle read as
// margins (x from client left + left to client right - right, y from top to bottom).
// Inside it, a point over any control but a plain button drags the window; everything
// else is client area. pt is in client coordinates; classUnderPoint "" for no control.
LRESULT SkinWindowHitTest(const RECT& client, POINT pt, const RECT& captionMargins,
                          const std::string& classUnderPoint);

// The window's shape: the client rectangle with the layout's rounded corners, the
// rounded rectangle reaching one pixel past the right and bottom edges. Without round
// corners, the plain client rectangle.
WindowRegion RoundedClientRegion(const RECT& client, SIZE roundCorner);

// "<app>skin_classic/language/<lang>/<file>" for skin index 0, "<app>skin/language/..."
// for 1, empty for any other index.
std::string LayoutPath(const std::string& appPath, int skinIndex, const std::string& language,
                       const std::string& file);

// The layout file of a window: "<program>skin/language/<language>/<file>" (skin index 1)
// or "<program>skin_classic/..." (0), empty for any other index. A language that has no
// such file yet falls back to "eng".
std::string SkinLayoutFile(const std::string& programFolder, int skinIndex,
                           const std::string& language, const std::string& file);

// ---- the program-wide popup menu -------------------------------------------------

// The one popup menu window open in the program, or null. The menu window sets it when
// it opens; the windows that hear "menu_release" forget it.
uilib::CWindowWnd* GetOpenPopupMenu();
void SetOpenPopupMenu(uilib::CWindowWnd* menu);

// ---- the window base ---------------------------------------------------------------

class CSkinWindow : public uilib::CWindowWnd, public uilib::INotifyUI {
public:
    // layoutFile: the file name inside the language folder ("about.xml");
    // programControls: build with the program's own control factory.
    CSkinWindow(const char* layoutFile, bool programControls);
    ~CSkinWindow() override;
    CSkinWindow(const CSkinWindow&) = delete;
    CSkinWindow& operator=(const CSkinWindow&) = delete;

    // The title the main window gives the native window.
    virtual const char* GetWindowTitle() const = 0;

    // Set before Create; they choose the layout.
    void SetSkin(int skinIndex) { m_skinIndex = skinIndex; }
    int GetSkin() const { return m_skinIndex; }
    void SetLanguage(const std::string& language) { m_language = language; }
    const std::string& GetLanguage() const { return m_language; }
    // Test seam: the folder the skins are found in (default GetAppPath()).
    void SetProgramFolder(const std::string& folder) { m_programFolder = folder; }

    uilib::CPaintManagerUI& PaintManager() { return *m_pm; }
    // The layout file read at creation (empty before, or for an unknown skin index).
    const std::string& GetLayoutPath() const { return m_layoutPath; }
    uilib::CControlUI* FindControl(const char* name) const { return m_pm->FindControl(name); }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;  // the object goes with its native window

    // "changecolor" (wParam: ARGB) recolours every window of the pattern; "changeshading"
    // recolours those that take its colour (lParam), unless it carries none.
    void NotifyFromWindow(uilib::TNotifyUI& msg) override;
    void Notify(uilib::TNotifyUI& msg) override {}

    // Escape answers the dialog as its Cancel does (OK where it has only OK); false when
    // the window has no such answer.
    virtual bool AnswerEscape() { return false; }

    // Whether obj is a window of the pattern that still exists.
    static bool IsAlive(const CSkinWindow* obj);

protected:
    // Dialogs answer the hit test and shape themselves; the top bar leaves both to the
    // default handling.
    virtual bool DrawsOwnFrame() const { return true; }
    // The skin window and the top bar also take the colour that comes with "changeshading".
    virtual bool TakesShadingColour() const { return false; }

    // A window notification from this window to its notifiers (the main window).
    void SendWindowNotify(const char* type, WPARAM wParam = 0, LPARAM lParam = 0);
    // Whether control belongs to this window. Other windows' paint managers may tell this
    // one too (the skin window tells every open window of its colour changes), so a
    // "click" is acted on only when it comes from one of our own buttons.
    bool IsOwnControl(const uilib::CControlUI* control) const;
    // Named-control helpers; a missing control is skipped.
    void ShowControl(const char* name, bool show);
    void SetControlText(const char* name, const std::string& text);

private:
    LRESULT OnCreate();
    LRESULT OnNcHitTest(LPARAM lParam);
    bool OnEscape();
    void OnSize();
    void OnGetMinMaxInfo(LPARAM lParam);
    void BuildLayout();

    std::unique_ptr<uilib::CPaintManagerUI> m_pm;
    int m_skinIndex = 1;
    std::string m_language;
    const char* m_layoutFile;
    bool m_programControls;
    std::string m_programFolder;
    std::string m_layoutPath;
};

// ---- opening and closing from the main window ---------------------------------------

// What a window opened from the main window takes from it.
struct SkinWindowOwner {
    HWND hwnd = nullptr;                              // owns the new window
    uilib::INotifyUI* notifier = nullptr;             // hears its notifications
    uilib::CPaintManagerUI* paintManager = nullptr;   // colour and resources
    std::string language;
    int skinIndex = 1;
};

// Registers the owner as notifier, copies language and skin, creates the native window
// (top-level, owned, titled, WS_VISIBLE | WS_OVERLAPPEDWINDOW at (0,0) 100x20; the
// layout's size replaces it), takes the owner's scheme colour and resources. False when
// the window could not be made (the object is gone then).
bool CreateSkinWindow(CSkinWindow* window, const SkinWindowOwner& owner);
// Moves it to (10,10) without sizing, shows it, centres it over its owner and gives it
// the focus (the window manager raises it above its owner).
void PlaceSkinWindow(CSkinWindow* window);

// Closes an open window of one kind and forgets it: the main window's pointer for that
// kind is the slot. skinWindowPm, when the skin window is open, stops telling it. A
// window already gone (the window manager closed it) is only forgotten.
template <typename Window>
void CloseSkinWindow(Window*& slot, uilib::CPaintManagerUI* skinWindowPm = nullptr) {
    if (!slot) return;
    if (skinWindowPm) skinWindowPm->RemoveNotifier(slot);
    if (CSkinWindow::IsAlive(slot)) slot->Close();
    slot = nullptr;
}

// Opens a window of kind Window in slot, closing the one open there first. prepare runs
// after creation and before the window shows (the question window takes its texts then).
// Returns the new window, or null (slot null too) when it could not be made.
template <typename Window, typename Prepare>
Window* OpenSkinWindow(Window*& slot, const SkinWindowOwner& owner, Prepare prepare) {
    CloseSkinWindow(slot);
    auto* window = new Window();
    if (!CreateSkinWindow(window, owner)) return nullptr;
    slot = window;
    prepare(*window);
    PlaceSkinWindow(window);
    return window;
}

template <typename Window>
Window* OpenSkinWindow(Window*& slot, const SkinWindowOwner& owner) {
    return OpenSkinWindow(slot, owner, [](Window&) {});
}

}  // namespace orvella
