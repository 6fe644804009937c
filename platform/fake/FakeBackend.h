// The headless backend for tests: windows without pixels that behave like the GTK
// backend's, messages and timers run by the test on a fake clock, and input helpers
// that produce the same message sequences as real input does.
//
// Threads: PostMessage and PostQuitMessage may be called from any thread; everything
// else, including the test controls below, belongs to the test's thread.
//
// Handles are never reused while the backend lives: a destroyed window stays known as
// dead, so posting to it is dropped and its message log stays readable.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include <cairo.h>

#include "platform/Platform.h"
#include "platform/fake/FakeMediaControls.h"

namespace platform {

struct FakeWindow;  // the fake's window record; HWND points at it

class FakeBackend : public Backend {
public:
    // Modifier flags for the input helpers (any combination).
    enum Modifier : unsigned { kNone = 0, kShift = 1, kControl = 2, kAlt = 4 };

    // One delivered message, as the window procedure saw it.
    struct LoggedMessage {
        UINT msg = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    // A press that the window manager would have turned into a move or resize drag.
    struct DragStart {
        HWND hwnd = nullptr;
        LRESULT hitTest = HTNOWHERE;  // HTCAPTION: move; HTLEFT..HTBOTTOMRIGHT: resize
        POINT screen;
    };

    struct InputMethodState {
        bool on = false;
        RECT caret;
    };

    struct SurfaceDeleter {
        void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    };
    using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

    FakeBackend();
    ~FakeBackend() override;  // forgets live windows without sending them messages

    // ---- Backend ----
    HWND CreateWindowEx(const CreateParams& params) override;
    bool DestroyWindow(HWND hwnd) override;
    bool IsWindow(HWND hwnd) override;
    void* GetWindowUserData(HWND hwnd) override;
    void SetWindowUserData(HWND hwnd, void* data) override;
    LONG GetWindowLong(HWND hwnd, int index) override;
    LONG SetWindowLong(HWND hwnd, int index, LONG value) override;
    HWND GetParent(HWND hwnd) override;  // the parent of a child, else the owner
    bool SetWindowText(HWND hwnd, const std::string& text) override;
    std::string GetWindowText(HWND hwnd) override;
    bool SetWindowIcon(HWND hwnd, const std::string& pngPath) override;
    std::string GetClassName(HWND hwnd) override;

    bool GetWindowRect(HWND hwnd, RECT* rect) override;
    bool GetClientRect(HWND hwnd, RECT* rect) override;
    bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) override;
    // Returns whether it was visible before. Showing with activation (SW_SHOW, SW_RESTORE,
    // ... or SWP_SHOWWINDOW without SWP_NOACTIVATE) focuses a top-level window unless it
    // is a WS_POPUP (menus never take the focus), as with the GTK backend.
    bool ShowWindow(HWND hwnd, int cmd) override;
    bool IsWindowVisible(HWND hwnd) override;      // it and all its parents
    bool IsZoomed(HWND hwnd) override;
    bool IsIconic(HWND hwnd) override;
    bool IsTopmost(HWND hwnd) override;
    bool SetFullScreen(HWND hwnd, bool on) override;
    bool IsFullScreen(HWND hwnd) override;
    bool ClientToScreen(HWND hwnd, POINT* pt) override;
    bool ScreenToClient(HWND hwnd, POINT* pt) override;
    bool SetWindowRegion(HWND hwnd, const WindowRegion& region) override;
    WindowRegion GetWindowRegion(HWND hwnd) override;
    RECT GetWorkArea(HWND hwnd) override;
    SIZE GetScreenSize() override;
    int GetScaleFactor(HWND hwnd) override;
    unsigned long GetNativeWindowId(HWND hwnd) override;  // unique per window, 0 when dead

    void InvalidateRect(HWND hwnd, const RECT* rect) override;
    void UpdateWindow(HWND hwnd) override;  // paints (as Render) when something is invalid
    bool BeginPaint(HWND hwnd, PAINTSTRUCT* ps) override;
    void EndPaint(HWND hwnd, PAINTSTRUCT* ps) override;

    LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    // Delivers posted messages in order. When the queue is empty it moves the fake
    // clock to the next due timer and fires it. Returns the WM_QUIT code once
    // PostQuitMessage was called and the posts before it are delivered; returns -1
    // when there is neither a post nor a timer left (a real loop would wait for
    // input forever; a test would hang), or when the loop has moved the clock by more
    // than the run limit (SetRunLimit) without a quit.
    int RunMessageLoop() override;
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) override;
    bool KillTimer(HWND hwnd, UINT_PTR id) override;
    uint64_t GetTickCount() override;  // the fake clock; starts at 100000

    HWND SetFocus(HWND hwnd) override;
    HWND GetFocus() override;
    HWND SetCapture(HWND hwnd) override;
    bool ReleaseCapture() override;
    HWND GetCapture() override;
    bool GetCursorPos(POINT* pt) override;
    short GetKeyState(int vk) override;
    std::string KeyCharacter(int vk) override;
    void SetCursor(HWND hwnd, CursorShape shape) override;
    bool TrackMouseLeave(HWND hwnd) override;
    void SetInputMethod(HWND hwnd, bool on, const RECT& caret) override;
    bool SetClipboardText(const std::string& utf8) override;
    std::string GetClipboardText() override;
    void SetMainWindow(HWND hwnd) override;
    bool ShellOpen(const std::string& uriOrPath) override;  // recorded; answers ShellOpenResult
    // Records the request and answers the oldest queued answer (none queued: cancelled).
    // A saved name gets the default extension, as the real chooser adds it.
    std::vector<std::string> RunFileDialog(HWND owner, const FileDialogRequest& request) override;
    bool ShowInFileManager(const std::string& path) override;  // recorded; answers SetShowInFileManagerResult
    // Recorded ("title: text"); answers the oldest queued answer (none queued: No).
    bool AskYesNo(HWND owner, const std::string& title, const std::string& text) override;
    // Shows an icon when SetTrayAvailable gave a kind; one per (hwnd, id), updated when
    // added again; a window's destruction removes its icons.
    TrayKind AddTrayIcon(HWND hwnd, UINT id, UINT callbackMessage, const std::string& iconPath,
                         const std::string& tip) override;
    void RemoveTrayIcon(HWND hwnd, UINT id) override;
    // Recorded in ScreenSaverCalls: "inhibit <application>: <reason>", "uninhibit".
    void InhibitScreenSaver(const std::string& application, const std::string& reason) override;
    void UninhibitScreenSaver() override;
    void DragAcceptFiles(HWND hwnd, bool accept) override;
    std::vector<std::string> DragQueryFiles(WPARAM drop) override;  // empty for an unknown handle
    void DragFinish(WPARAM drop) override;
    std::vector<OpticalDrive> ListOpticalDrives() override { return drives_; }
    // Recorded and left pending until the test calls FinishMount, as a real mount that
    // takes its time.
    WPARAM MountOpticalDisc(const std::string& device, HWND hwnd, UINT message) override;
    LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // ---- screen ----
    // Defaults: a 1920x1080 screen whose work area leaves a 40-pixel panel at the
    // bottom (0,0,1920,1040), scale factor 1. SetScreenSize makes the work area the
    // whole screen; call SetWorkArea after it for a panel.
    void SetScreenSize(int width, int height);
    void SetWorkArea(const RECT& area);
    void SetScaleFactor(int factor);

    // ---- messages, timers, clock ----
    // Delivers posted messages (also those posted while delivering) until the queue is
    // empty; returns how many were delivered (dropped ones for dead windows not counted).
    int DispatchPending();
    size_t PendingCount();
    // Moves the fake clock forward by ms, firing due timers in time order (ties in the
    // order they were set) and delivering posted messages before and after each one.
    void AdvanceTime(uint64_t ms);
    bool HasTimer(HWND hwnd, UINT_PTR id) const;
    UINT TimerInterval(HWND hwnd, UINT_PTR id) const;  // 0 when not set
    // The most fake time one RunMessageLoop call may skip through (default one hour).
    void SetRunLimit(uint64_t ms) { runLimitMs_ = ms; }
    // Whether a quit is waiting for RunMessageLoop, and its code.
    bool QuitPosted(int* exitCode = nullptr);

    // ---- message log ----
    std::vector<LoggedMessage> MessageLog(HWND hwnd) const;  // also for dead windows
    std::vector<UINT> MessageIds(HWND hwnd) const;           // just the numbers, in order
    int CountMessages(HWND hwnd, UINT msg) const;
    void ClearMessageLog(HWND hwnd = nullptr);               // nullptr: every window
    static std::string MessageName(UINT msg);                // "WM_SIZE", "0x0401", ...

    // ---- painting ----
    // Paints the client area into a new ARGB32 surface (client size times the scale
    // factor, drawing in logical pixels): sends WM_PAINT with BeginPaint answering a
    // cairo context on it. Null for a dead window or an empty client area.
    Surface Render(HWND hwnd);
    static uint32_t PixelAt(cairo_surface_t* surface, int x, int y);  // 0xAARRGGBB, device pixels
    bool HasInvalidArea(HWND hwnd) const;
    RECT InvalidArea(HWND hwnd) const;  // union of invalidated rectangles, client coords
    void ClearInvalidArea(HWND hwnd);

    // ---- input (client coordinates of hwnd) ----
    // Each helper delivers its messages directly, as the GTK backend does for an event,
    // then delivers what the handlers posted (DispatchPending), as the real loop would.
    // Modifiers update GetKeyState like a real event's modifier state does. While a
    // window has the capture, mouse messages go to it without a hit test.
    //
    // LeftClick: on a normal top-level window (no child, no WS_POPUP, no capture),
    // WM_NCHITTEST with the screen point first; HTCAPTION records a move
    // drag start, a border answer (HTLEFT..HTBOTTOMRIGHT) a resize drag start; any other
    // answer gives WM_LBUTTONDOWN + WM_LBUTTONUP with MK_ flags.
    void LeftClick(HWND hwnd, int x, int y, unsigned modifiers = kNone);
    // Like LeftClick, then the second press: WM_LBUTTONDBLCLK + WM_LBUTTONUP, or, when
    // the hit test answers HTCAPTION, WM_NCLBUTTONDBLCLK (HTCAPTION, screen point).
    void DoubleClick(HWND hwnd, int x, int y, unsigned modifiers = kNone);
    void LeftDown(HWND hwnd, int x, int y, unsigned modifiers = kNone);  // no hit test
    void LeftUp(HWND hwnd, int x, int y, unsigned modifiers = kNone);
    // WM_RBUTTONDOWN + WM_RBUTTONUP (no hit test, no WM_CONTEXTMENU).
    void RightClick(HWND hwnd, int x, int y, unsigned modifiers = kNone);
    // WM_MOUSEMOVE; buttons are MK_LBUTTON/MK_RBUTTON held. A window that asked for
    // TrackMouseLeave gets WM_MOUSELEAVE when the pointer moves to another window or
    // outside its client area.
    void MouseMove(HWND hwnd, int x, int y, unsigned modifiers = kNone, WPARAM buttons = 0);
    void MouseLeave(HWND hwnd);  // the pointer left hwnd (WM_MOUSELEAVE if tracked)
    // WM_MOUSEWHEEL: wParam = MK_ flags | delta << 16, lParam = the SCREEN point (as Windows).
    void Wheel(HWND hwnd, int x, int y, int delta, unsigned modifiers = kNone);
    // To target, or the focus window when null (dropped when neither). With kAlt (or for
    // VK_MENU itself) and no kControl: WM_SYSKEYDOWN/WM_SYSKEYUP. A press of a letter,
    // digit or space without Ctrl/Alt is followed by its WM_CHAR (US layout), as real
    // typing is; TypeText sends any other text.
    void KeyDown(int vk, unsigned modifiers = kNone, HWND target = nullptr);
    void KeyUp(int vk, unsigned modifiers = kNone, HWND target = nullptr);
    void KeyPress(int vk, unsigned modifiers = kNone, HWND target = nullptr);  // down + up
    // WM_CHAR per code point of utf8 (invalid bytes become U+FFFD).
    void TypeText(const std::string& utf8, HWND target = nullptr);
    // WM_IME_COMPOSITION with the pre-edit text.
    void Compose(const std::string& preedit, HWND target = nullptr);
    // The window manager's close button: posts WM_SYSCOMMAND SC_CLOSE to hwnd.
    void CloseRequest(HWND hwnd);
    // SIGTERM/SIGINT/SIGHUP: posts WM_SYSCOMMAND SC_CLOSE to the main window (if any).
    void Signal();
    void SetCursorPos(int screenX, int screenY);
    void SetModifiers(unsigned modifiers);            // what GetKeyState reports
    // The layout KeyCharacter reads: "us" (the default) or "de".
    void SetKeyboardLayout(const std::string& layout) { keyboardLayout_ = layout; }
    void SetKeyState(int vk, bool down);              // any other key

    // ---- recorded state ----
    const std::vector<DragStart>& DragStarts() const { return drags_; }
    void ClearDragStarts() { drags_.clear(); }
    std::string WindowIcon(HWND hwnd) const;
    CursorShape Cursor(HWND hwnd) const;
    bool TrackingMouseLeave(HWND hwnd) const;
    InputMethodState InputMethod(HWND hwnd) const;
    HWND MainWindow() const { return mainWindow_; }
    const std::vector<std::string>& ShellOpened() const { return shellOpened_; }
    void SetShellOpenResult(bool ok) { shellOpenResult_ = ok; }
    // A fixed folder that cannot be made (not even by root), so that a test which does
    // not give one of its own writes nothing outside its temporary folder.
    std::string PicturesFolder() override { return picturesFolder_; }
    void SetPicturesFolder(const std::string& folder) { picturesFolder_ = folder; }
    std::vector<HWND> Children(HWND hwnd) const;  // live child windows, in creation order
    std::vector<HWND> LiveWindows() const;        // in creation order
    WNDPROC GetWindowProc(HWND hwnd);             // null for a window that is gone

    // ---- file dialogs, file manager, tray ----
    // The answer of a later RunFileDialog, in queue order; an empty one cancels.
    void QueueFileDialogAnswer(std::vector<std::string> paths);
    size_t QueuedFileDialogAnswers() const { return fileDialogAnswers_.size(); }
    const std::vector<FileDialogRequest>& FileDialogRequests() const { return fileDialogRequests_; }
    const std::vector<std::string>& ShownInFileManager() const { return shownInFileManager_; }
    void SetShowInFileManagerResult(bool ok) { showInFileManagerResult_ = ok; }
    void QueueQuestionAnswer(bool yes) { questionAnswers_.push_back(yes); }
    const std::vector<std::string>& QuestionsAsked() const { return questionsAsked_; }

    // ---- drops and drives ----
    // A file manager drops paths on hwnd: WM_DROPFILES is posted with a new handle and
    // delivered. False (nothing posted) when hwnd does not accept files.
    bool DropFiles(HWND hwnd, std::vector<std::string> paths);
    bool AcceptsFiles(HWND hwnd) const { return acceptsFiles_.count(hwnd) != 0; }
    size_t OpenDropHandles() const { return drops_.size(); }  // not yet finished
    void SetOpticalDrives(std::vector<OpticalDrive> drives) { drives_ = std::move(drives); }
    const std::vector<std::string>& MountRequests() const { return mountRequests_; }
    size_t PendingMounts() const { return pendingMounts_.size(); }
    // The oldest pending mount of device ends with result: its message is posted and
    // delivered. False when none is pending.
    bool FinishMount(const std::string& device, const MountedDisc& result);
    // A disc leaves its drive: WM_DEVICECHANGE is sent to the main window.
    void RemoveDisc(const RemovedDisc& disc);

    struct TrayIconInfo {
        HWND hwnd = nullptr;
        UINT id = 0, callbackMessage = 0;
        std::string iconPath, tip;
        TrayKind kind = TrayKind::None;
    };
    void SetTrayAvailable(TrayKind kind) { trayAvailable_ = kind; }  // default None
    const std::vector<TrayIconInfo>& TrayIcons() const { return trayIcons_; }
    // The user activates the icon, or asks for its menu: posts its callback message
    // (wParam id, lParam WM_LBUTTONDBLCLK or WM_RBUTTONDOWN) as the real icons do; the
    // test delivers it (DispatchPending). False when hwnd has no such icon.
    bool ActivateTrayIcon(HWND hwnd, UINT id);
    bool OpenTrayIconMenu(HWND hwnd, UINT id);
    const std::vector<std::string>& ScreenSaverCalls() const { return screenSaverCalls_; }

    // The desktop's media controls, always there: the test calls them as a panel would.
    MediaControls* DesktopMediaControls() override { return &mediaControls_; }
    FakeMediaControls& MediaControlsFake() { return mediaControls_; }

private:
    struct Impl;
    FakeWindow* Live(HWND hwnd) const;  // null unless hwnd is a live window of ours
    FakeWindow* Known(HWND hwnd) const; // live or dead
    LRESULT Deliver(FakeWindow* w, UINT msg, WPARAM wParam, LPARAM lParam);
    void DestroyTree(FakeWindow* w);
    void ApplyGeometry(FakeWindow* w, RECT rect, WPARAM sizeType, bool forceSize);
    void SetVisible(FakeWindow* w, bool visible);  // hiding also ends a capture inside
    void Activate(FakeWindow* w);
    bool FireNextTimer(uint64_t limit);
    int DeliverOnePost();
    FakeWindow* MouseTarget(FakeWindow* w, int* x, int* y);
    void UpdateLeave(FakeWindow* w, int x, int y);
    FakeWindow* KeyTarget(HWND target);
    void Key(int vk, unsigned modifiers, HWND target, bool press);
    bool TakesHitTest(FakeWindow* w) const;
    LRESULT HitTest(FakeWindow* w, int x, int y);
    POINT ToScreen(HWND hwnd, int x, int y);
    POINT MovePointer(HWND hwnd, int x, int y);
    WPARAM MouseFlags(unsigned modifiers, WPARAM buttons) const;
    void ForgetTrayIcons(HWND hwnd);
    bool ClickTrayIcon(HWND hwnd, UINT id, LPARAM mouseMessage);

    std::unique_ptr<Impl> impl_;
    HWND focus_ = nullptr, capture_ = nullptr, mainWindow_ = nullptr;
    FakeWindow* lastMouse_ = nullptr;  // the window the pointer is over
    SIZE screen_;
    RECT workArea_;
    int scale_ = 1;
    uint64_t now_ = 100000;
    uint64_t runLimitMs_ = 3600 * 1000;
    POINT cursor_;
    unsigned modifiers_ = 0;
    std::vector<DragStart> drags_;
    std::vector<std::string> shellOpened_;
    bool shellOpenResult_ = true;
    std::string clipboard_;
    std::string keyboardLayout_ = "us";
    std::string picturesFolder_ = "/proc/orvella-fake-home/Pictures";
    std::deque<std::vector<std::string>> fileDialogAnswers_;
    std::vector<FileDialogRequest> fileDialogRequests_;
    std::vector<std::string> shownInFileManager_;
    std::map<WPARAM, std::vector<std::string>> drops_;
    WPARAM nextDrop_ = 1;
    std::set<HWND> acceptsFiles_;
    std::vector<OpticalDrive> drives_;
    struct PendingMount {
        WPARAM ticket;
        std::string device;
        HWND hwnd;
        UINT message;
    };
    std::vector<PendingMount> pendingMounts_;
    WPARAM nextMount_ = 1;
    std::vector<std::string> mountRequests_;
    bool showInFileManagerResult_ = true;
    std::deque<bool> questionAnswers_;
    std::vector<std::string> questionsAsked_;
    TrayKind trayAvailable_ = TrayKind::None;
    std::vector<TrayIconInfo> trayIcons_;
    FakeMediaControls mediaControls_;
    std::vector<std::string> screenSaverCalls_;
};

}  // namespace platform
