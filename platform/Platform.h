// The operating-system services the window code needs, in the shape of the Windows
// API that the player's window code is written in: window handles, message numbers,
// posted and sent messages, timers, regions and the keyboard. One backend is installed
// per process: the GTK one for the real program, the fake one for tests.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/MimeDefaults.h"

typedef struct _cairo cairo_t;

using UINT = unsigned int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using LONG = long;
using UINT_PTR = uintptr_t;
using BOOL = int;

struct NativeWindow;             // defined by each backend
using HWND = NativeWindow*;

struct RECT { LONG left = 0, top = 0, right = 0, bottom = 0; };
struct POINT { LONG x = 0, y = 0; };
struct SIZE { LONG cx = 0, cy = 0; };
struct MINMAXINFO { POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize; };
struct PAINTSTRUCT {
    RECT rcPaint;           // the area to repaint, client coordinates
    cairo_t* cr = nullptr;  // drawing context in client coordinates (logical pixels)
};

// Window procedure: every window has one; CWindowWnd installs its own.
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// ---- messages (Windows numbers) ----
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
               WM_SIZE = 0x0005, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008,
               WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014,
               WM_SHOWWINDOW = 0x0018, WM_SETCURSOR = 0x0020, WM_GETMINMAXINFO = 0x0024,
               WM_HELP = 0x0053, WM_CONTEXTMENU = 0x007B, WM_NCCREATE = 0x0081,
               WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084,
               WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_NCLBUTTONDBLCLK = 0x00A3,
               WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104,
               WM_SYSKEYUP = 0x0105, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
               WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
               WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
               WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
               WM_MOUSEWHEEL = 0x020A, WM_CAPTURECHANGED = 0x0215, WM_DEVICECHANGE = 0x0219,
               WM_DROPFILES = 0x0233, WM_IME_COMPOSITION = 0x010F, WM_MOUSEHOVER = 0x02A1,
               WM_MOUSELEAVE = 0x02A3, WM_USER = 0x0400;

// WM_CHAR carries one Unicode code point (not a UTF-16 unit) in wParam.
// WM_IME_COMPOSITION: the input method's pre-edit text changed; lParam points to a
// std::string (UTF-8) valid only during the call.

constexpr UINT SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
               SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;

constexpr LRESULT HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2,
                  HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14,
                  HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17;

constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000,
                WS_MAXIMIZE = 0x01000000, WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000,
                WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000, WS_MINIMIZEBOX = 0x00020000,
                WS_MAXIMIZEBOX = 0x00010000,
                WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                      WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_EX_TOPMOST = 0x00000008, WS_EX_TOOLWINDOW = 0x00000080,
                WS_EX_APPWINDOW = 0x00040000, WS_EX_ACCEPTFILES = 0x00000010;
constexpr int GWL_STYLE = -16, GWL_EXSTYLE = -20;

constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6,
              SW_SHOWNA = 8, SW_RESTORE = 9;

constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004,
               SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_SHOWWINDOW = 0x0040,
               SWP_HIDEWINDOW = 0x0080;
#define HWND_TOP ((HWND)0)
#define HWND_TOPMOST ((HWND)(intptr_t)-1)
#define HWND_NOTOPMOST ((HWND)(intptr_t)-2)

constexpr WPARAM SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
constexpr WPARAM MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004,
                 MK_CONTROL = 0x0008, MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;

// Virtual-key codes (the ones the program names; letters and digits are their ASCII).
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_BACK = 0x08, VK_TAB = 0x09,
              VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
              VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
              VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25,
              VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C,
              VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
              VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C,
              VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
              VK_F24 = 0x87, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_VOLUME_MUTE = 0xAD,
              VK_VOLUME_DOWN = 0xAE, VK_VOLUME_UP = 0xAF, VK_MEDIA_NEXT_TRACK = 0xB0,
              VK_MEDIA_PREV_TRACK = 0xB1, VK_MEDIA_STOP = 0xB2, VK_MEDIA_PLAY_PAUSE = 0xB3,
              VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
              VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB,
              VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE, VK_OEM_102 = 0xE2;

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<uint32_t>(lo) & 0xFFFF) |
                               ((static_cast<uint32_t>(hi) & 0xFFFF) << 16));
}
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<short>(LOWORD(static_cast<uintptr_t>(l))); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<short>(HIWORD(static_cast<uintptr_t>(l))); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<short>(HIWORD(w)); }

// Mouse pointer shapes a window can ask for.
enum class CursorShape { Arrow, IBeam, Hand, Wait, SizeWE, SizeNS, SizeNWSE, SizeNESW, SizeAll };

// A window's shape: none (rectangular), or a rectangle with rounded corners.
struct WindowRegion {
    bool rounded = false;
    RECT rect;          // client coordinates; right and bottom exclusive
    int cornerWidth = 0, cornerHeight = 0;
};

namespace platform {

class MediaControls;  // platform/MediaControls.h

// One filter of a file dialog: its name as shown and its patterns ("*.avi;*.mkv").
struct FileFilter {
    std::string name;
    std::string patterns;
};

// A file chooser, modal to its owner.
struct FileDialogRequest {
    enum class Kind { OpenOne, OpenMany, Save, Folder };  // Folder: one folder, no filters
    Kind kind = Kind::OpenOne;
    std::string title;
    std::vector<FileFilter> filters;  // the first is chosen at the start
    std::string defaultExtension;     // "orv": added to a saved name that has none
    bool confirmOverwrite = false;    // Save: ask before replacing a file
};

// Where a tray icon could be shown.
enum class TrayKind {
    None,            // no tray: the caller iconifies instead of hiding
    StatusNotifier,  // a StatusNotifierItem, a watcher is registered on the session bus
    XEmbed,          // a system tray manager owns the tray selection
};


// An optical drive as the desktop's volume monitor knows it.
struct OpticalDrive {
    std::string device;      // "/dev/sr0"
    std::string label;       // the disc's volume label; empty without a disc or label
    std::string mountPoint;  // where the disc is mounted; empty when it is not
};

// What mounting a drive's disc came to (Backend::MountOpticalDisc).
struct MountedDisc {
    std::string mountPoint;  // empty when it could not be mounted
    bool noDisc = false;     // the drive is empty
};

// WM_DEVICECHANGE with wParam DBT_DEVICEREMOVECOMPLETE, sent to the main window
// (SetMainWindow): a disc left a drive (ejected, unmounted, or the drive went). lParam
// points to this, valid only during the call.
struct RemovedDisc {
    std::string device;      // may be empty when only the mount was known
    std::string mountPoint;  // may be empty when the disc was not mounted
};
constexpr WPARAM DBT_DEVICEREMOVECOMPLETE = 0x8004;

// Parameters of CreateWindowEx. WM_CREATE is sent before it returns; a WM_CREATE
// answer of -1 destroys the window and the call returns nullptr.
struct CreateParams {
    DWORD exStyle = 0;
    std::string className;
    std::string title;
    DWORD style = 0;
    int x = 0, y = 0, width = 100, height = 100;
    HWND parent = nullptr;  // WS_CHILD: a native child of parent; else owner (transient for)
    WNDPROC proc = nullptr;
    void* userData = nullptr;  // readable with GetWindowUserData from WM_NCCREATE on
};

// What every backend provides. Free functions below forward to the installed one.
class Backend {
public:
    virtual ~Backend() = default;

    // Windows
    virtual HWND CreateWindowEx(const CreateParams& params) = 0;
    virtual bool DestroyWindow(HWND hwnd) = 0;  // children first; WM_DESTROY, then WM_NCDESTROY
    virtual bool IsWindow(HWND hwnd) = 0;
    virtual void* GetWindowUserData(HWND hwnd) = 0;
    virtual void SetWindowUserData(HWND hwnd, void* data) = 0;
    virtual LONG GetWindowLong(HWND hwnd, int index) = 0;      // GWL_STYLE, GWL_EXSTYLE
    virtual LONG SetWindowLong(HWND hwnd, int index, LONG value) = 0;
    virtual HWND GetParent(HWND hwnd) = 0;
    virtual bool SetWindowText(HWND hwnd, const std::string& text) = 0;
    virtual std::string GetWindowText(HWND hwnd) = 0;
    virtual bool SetWindowIcon(HWND hwnd, const std::string& pngPath) = 0;
    virtual std::string GetClassName(HWND hwnd) = 0;

    // Geometry (screen coordinates for windows, client coordinates inside)
    virtual bool GetWindowRect(HWND hwnd, RECT* rect) = 0;
    virtual bool GetClientRect(HWND hwnd, RECT* rect) = 0;
    virtual bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) = 0;
    virtual bool ShowWindow(HWND hwnd, int cmd) = 0;
    virtual bool IsWindowVisible(HWND hwnd) = 0;
    virtual bool IsZoomed(HWND hwnd) = 0;
    virtual bool IsIconic(HWND hwnd) = 0;
    virtual bool IsTopmost(HWND hwnd) = 0;
    virtual bool SetFullScreen(HWND hwnd, bool on) = 0;
    virtual bool IsFullScreen(HWND hwnd) = 0;
    virtual bool ClientToScreen(HWND hwnd, POINT* pt) = 0;
    virtual bool ScreenToClient(HWND hwnd, POINT* pt) = 0;
    virtual bool SetWindowRegion(HWND hwnd, const WindowRegion& region) = 0;
    // Asks the window for its size limits again (WM_GETMINMAXINFO) and applies them.
    virtual void UpdateSizeLimits(HWND hwnd) {}
    virtual WindowRegion GetWindowRegion(HWND hwnd) = 0;
    // Work area of the monitor that holds hwnd (the primary monitor for nullptr).
    virtual RECT GetWorkArea(HWND hwnd) = 0;
    virtual SIZE GetScreenSize() = 0;   // primary monitor
    virtual int GetScaleFactor(HWND hwnd) = 0;  // 1, 2, ... device pixels per logical pixel
    // The native id an external program draws into (the X11 window id for -wid).
    virtual unsigned long GetNativeWindowId(HWND hwnd) = 0;

    // Painting
    virtual void InvalidateRect(HWND hwnd, const RECT* rect) = 0;  // nullptr: whole client
    virtual void UpdateWindow(HWND hwnd) = 0;                     // paint now if invalid
    virtual bool BeginPaint(HWND hwnd, PAINTSTRUCT* ps) = 0;      // only inside WM_PAINT
    virtual void EndPaint(HWND hwnd, PAINTSTRUCT* ps) = 0;

    // Messages and timers
    virtual LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;  // any thread
    virtual void PostQuitMessage(int exitCode) = 0;                                 // any thread
    virtual int RunMessageLoop() = 0;  // until WM_QUIT; returns its exit code
    virtual UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) = 0;
    virtual bool KillTimer(HWND hwnd, UINT_PTR id) = 0;
    virtual uint64_t GetTickCount() = 0;  // milliseconds, monotonic

    // Input
    virtual HWND SetFocus(HWND hwnd) = 0;   // returns the previous focus window
    virtual HWND GetFocus() = 0;
    virtual HWND SetCapture(HWND hwnd) = 0;
    virtual bool ReleaseCapture() = 0;
    virtual HWND GetCapture() = 0;
    virtual bool GetCursorPos(POINT* pt) = 0;  // screen coordinates
    virtual short GetKeyState(int vk) = 0;    // high bit set while VK_SHIFT/CONTROL/MENU is down
    // The character a key types without modifiers on the keyboard layout in use (UTF-8),
    // empty when it types none.
    virtual std::string KeyCharacter(int vk) = 0;
    virtual void SetCursor(HWND hwnd, CursorShape shape) = 0;
    // Ask for one WM_MOUSELEAVE when the pointer leaves hwnd (TrackMouseEvent).
    virtual bool TrackMouseLeave(HWND hwnd) = 0;
    // Route typed text of hwnd through the input method (WM_CHAR per code point and
    // WM_IME_COMPOSITION for pre-edit) while on; caret gives where the candidates show.
    virtual void SetInputMethod(HWND hwnd, bool on, const RECT& caret) = 0;
    virtual bool SetClipboardText(const std::string& utf8) = 0;
    virtual std::string GetClipboardText() = 0;

    // The window that receives WM_SYSCOMMAND SC_CLOSE when the process is asked to end
    // (SIGTERM, SIGINT, SIGHUP). The window manager's close request on any top-level
    // window is delivered to that window as WM_SYSCOMMAND SC_CLOSE.
    virtual void SetMainWindow(HWND hwnd) = 0;

    // Open a file or address with the desktop's default application (help pages, web
    // pages). False when nothing could be started.
    virtual bool ShellOpen(const std::string& uriOrPath) { return false; }

    // Runs a file chooser and returns the chosen paths in the order the chooser gives
    // them; empty when cancelled.
    virtual std::vector<std::string> RunFileDialog(HWND owner, const FileDialogRequest& request) {
        return {};
    }
    // A question with Yes and No, modal to its owner; true for Yes.
    virtual bool AskYesNo(HWND owner, const std::string& title, const std::string& text) {
        return false;
    }
    // Shows the file selected in the desktop's file manager (or at least its folder).
    virtual bool ShowInFileManager(const std::string& path) { return false; }

    // The tray icon of hwnd. AddTrayIcon shows it where a tray exists and returns which
    // kind; activating the icon posts `callbackMessage` to hwnd with lParam
    // WM_LBUTTONDBLCLK, asking for its menu posts it with lParam WM_RBUTTONDOWN (wParam:
    // the icon id). TrayKind::None: nothing was shown.
    virtual TrayKind AddTrayIcon(HWND hwnd, UINT id, UINT callbackMessage,
                                 const std::string& iconPath, const std::string& tip) {
        return TrayKind::None;
    }
    virtual void RemoveTrayIcon(HWND hwnd, UINT id) {}

    // Keeps the screen saver and the display's idle blanking away until the uninhibit
    // (a video plays); application and reason are what the desktop shows of it. Neither
    // call waits for the desktop; where it offers no such service nothing happens.
    virtual void InhibitScreenSaver(const std::string& application, const std::string& reason) {}
    virtual void UninhibitScreenSaver() {}

    // The cheapest video output this display really offers for the engine's automatic
    // choice: "xv", "gl" or "x11"; empty when unknown (the launch keeps its own list).
    // Probed once per run, off the start-up path.
    virtual std::string PreferredVideoOutput() { return std::string(); }

    // The desktop's file types and default applications; null where there are none.
    virtual MimeDefaults* FileTypeDefaults() { return nullptr; }
    // The desktop's media controls (MPRIS); null where the backend has none.
    virtual MediaControls* DesktopMediaControls() { return nullptr; }

    // The user's pictures folder (it need not exist yet): the desktop's own setting where
    // there is one, else "$HOME/Pictures".
    virtual std::string PicturesFolder();

    // Files and folders dropped on a window that accepts them arrive as WM_DROPFILES
    // with wParam a drop handle the backend owns until DragFinish; DragQueryFiles gives
    // the local paths of the drop in order (bytes as the file system has them).
    virtual void DragAcceptFiles(HWND hwnd, bool accept) {}
    virtual std::vector<std::string> DragQueryFiles(WPARAM drop) { return {}; }
    virtual void DragFinish(WPARAM drop) {}

    // The optical drives, in the order the volume monitor gives them. Blocks while the
    // monitor is first asked.
    virtual std::vector<OpticalDrive> ListOpticalDrives() { return {}; }
    // Starts mounting the disc of a drive named by its device (a mounted one is left as it
    // is) and returns at once with a ticket. When done, `message` is posted to hwnd with the
    // ticket as wParam, and TakeMountedDisc(ticket) tells once what came of it. Nothing
    // waits meanwhile: the caller may be a menu that closes before the answer.
    virtual WPARAM MountOpticalDisc(const std::string& device, HWND hwnd, UINT message) {
        PostMessage(hwnd, message, 0, 0);
        return 0;
    }
    // An unknown ticket (or one taken before) tells of an empty drive.
    MountedDisc TakeMountedDisc(WPARAM ticket);

    // Default processing (DefWindowProc): WM_CLOSE destroys, WM_SYSCOMMAND SC_CLOSE sends
    // WM_CLOSE, SC_MINIMIZE/SC_MAXIMIZE/SC_RESTORE change the state, WM_NCHITTEST answers
    // HTCLIENT, WM_NCLBUTTONDBLCLK toggles maximise on HTCAPTION, everything else 0.
    virtual LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

protected:
    // A mount has ended: its result waits for TakeMountedDisc (window thread only).
    void KeepMountedDisc(WPARAM ticket, const MountedDisc& result) { mountedDiscs_[ticket] = result; }

private:
    std::map<WPARAM, MountedDisc> mountedDiscs_;
};

// The part of default processing that is the same on every backend: closing,
// the system commands, the hit test and the caption double click. True when msg was
// one of those (result set); backends handle the rest themselves.
bool StandardDefWindowProc(Backend& backend, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                           LRESULT* result);

// Install the process's backend (takes ownership); returns the previous one.
std::unique_ptr<Backend> InstallBackend(std::unique_ptr<Backend> backend);
Backend& GetBackend();
bool HasBackend();

}  // namespace platform

// Win32-style free functions over the installed backend.
HWND CreateWindowEx(const platform::CreateParams& params);
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
HWND GetParent(HWND hwnd);
bool SetWindowText(HWND hwnd, const std::string& text);
bool GetWindowRect(HWND hwnd, RECT* rect);
bool GetClientRect(HWND hwnd, RECT* rect);
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint);
bool ShowWindow(HWND hwnd, int cmd);
bool IsWindowVisible(HWND hwnd);
bool IsZoomed(HWND hwnd);
bool IsIconic(HWND hwnd);
bool ClientToScreen(HWND hwnd, POINT* pt);
bool ScreenToClient(HWND hwnd, POINT* pt);
void InvalidateRect(HWND hwnd, const RECT* rect, bool erase = false);
void UpdateWindow(HWND hwnd);
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
void PostQuitMessage(int exitCode);
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
bool KillTimer(HWND hwnd, UINT_PTR id);
uint64_t GetTickCount64();
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();
bool GetCursorPos(POINT* pt);
short GetKeyState(int vk);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
