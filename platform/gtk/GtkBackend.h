// The real platform backend: GTK 3 windows on X11, one GLib main loop, posted messages
// through a locked queue, GDK events turned into Windows messages.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/Platform.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GdkCursor GdkCursor;
typedef struct _GtkWindow GtkWindow;
typedef struct _GdkDragContext GdkDragContext;
typedef struct _GtkSelectionData GtkSelectionData;
typedef struct _GVolumeMonitor GVolumeMonitor;
typedef struct _GMount GMount;
typedef struct _GVolume GVolume;
typedef struct _GObject GObject;
typedef struct _GAsyncResult GAsyncResult;

namespace platform {
namespace gtk {
class PostedMessageQueue;
struct PostedMessage;
class GtkInput;
class VideoOutputProbe;
class TrayIcons;
class MprisService;
class ScreenSaverInhibitor;
}  // namespace gtk
}  // namespace platform

// Forces the X11 GDK backend (the engine draws into X11 windows) and initialises GTK.
// False when there is no display.
bool InitGtkPlatform(int* argc, char*** argv);
std::unique_ptr<platform::Backend> CreateGtkBackend();

namespace platform {
namespace gtk {

class GtkBackend : public Backend {
public:
    GtkBackend();
    ~GtkBackend() override;

    HWND CreateWindowEx(const CreateParams& params) override;
    bool DestroyWindow(HWND hwnd) override;
    bool IsWindow(HWND hwnd) override;
    void* GetWindowUserData(HWND hwnd) override;
    void SetWindowUserData(HWND hwnd, void* data) override;
    LONG GetWindowLong(HWND hwnd, int index) override;
    LONG SetWindowLong(HWND hwnd, int index, LONG value) override;
    HWND GetParent(HWND hwnd) override;
    bool SetWindowText(HWND hwnd, const std::string& text) override;
    std::string GetWindowText(HWND hwnd) override;
    bool SetWindowIcon(HWND hwnd, const std::string& pngPath) override;
    std::string GetClassName(HWND hwnd) override;

    bool GetWindowRect(HWND hwnd, RECT* rect) override;
    bool GetClientRect(HWND hwnd, RECT* rect) override;
    bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) override;
    bool ShowWindow(HWND hwnd, int cmd) override;
    bool IsWindowVisible(HWND hwnd) override;
    bool IsZoomed(HWND hwnd) override;
    bool IsIconic(HWND hwnd) override;
    bool IsTopmost(HWND hwnd) override;
    bool SetFullScreen(HWND hwnd, bool on) override;
    bool IsFullScreen(HWND hwnd) override;
    bool ClientToScreen(HWND hwnd, POINT* pt) override;
    bool ScreenToClient(HWND hwnd, POINT* pt) override;
    bool SetWindowRegion(HWND hwnd, const WindowRegion& region) override;
    void UpdateSizeLimits(HWND hwnd) override;
    WindowRegion GetWindowRegion(HWND hwnd) override;
    RECT GetWorkArea(HWND hwnd) override;
    SIZE GetScreenSize() override;
    int GetScaleFactor(HWND hwnd) override;
    unsigned long GetNativeWindowId(HWND hwnd) override;

    void InvalidateRect(HWND hwnd, const RECT* rect) override;
    void UpdateWindow(HWND hwnd) override;
    bool BeginPaint(HWND hwnd, PAINTSTRUCT* ps) override;
    void EndPaint(HWND hwnd, PAINTSTRUCT* ps) override;

    LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    int RunMessageLoop() override;
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) override;
    bool KillTimer(HWND hwnd, UINT_PTR id) override;
    uint64_t GetTickCount() override;

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
    LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool ShellOpen(const std::string& uriOrPath) override;
    std::string PreferredVideoOutput() override;
    std::string PicturesFolder() override;
    MimeDefaults* FileTypeDefaults() override;
    MediaControls* DesktopMediaControls() override;  // made when first asked for
    std::vector<std::string> RunFileDialog(HWND owner, const FileDialogRequest& request) override;
    bool ShowInFileManager(const std::string& path) override;
    bool AskYesNo(HWND owner, const std::string& title, const std::string& text) override;
    TrayKind AddTrayIcon(HWND hwnd, UINT id, UINT callbackMessage, const std::string& iconPath,
                         const std::string& tip) override;
    void RemoveTrayIcon(HWND hwnd, UINT id) override;
    void InhibitScreenSaver(const std::string& application, const std::string& reason) override;
    void UninhibitScreenSaver() override;
    void DragAcceptFiles(HWND hwnd, bool accept) override;
    std::vector<std::string> DragQueryFiles(WPARAM drop) override;
    void DragFinish(WPARAM drop) override;
    std::vector<OpticalDrive> ListOpticalDrives() override;
    WPARAM MountOpticalDisc(const std::string& device, HWND hwnd, UINT message) override;

    // For the event handlers.
    GtkInput& Input() { return *input_; }
    HWND TopLevelOf(HWND hwnd);
    // The top-level GTK window a dialog is modal to (nullptr when owner has none).
    GtkWindow* DialogOwner(HWND owner);
    void SizeChanged(HWND hwnd, int width, int height, WPARAM state);
    // Asks the window for its size limits (WM_GETMINMAXINFO) and hands them to the
    // window manager, which does the resizing on this platform.
    void ApplySizeLimits(HWND hwnd);
    void Moved(HWND hwnd, int x, int y);
    void ApplyRegion(HWND hwnd);

private:
    struct TimerRecord;
    static int OnTimer(void* data);
    static int OnDraw(GtkWidget* widget, struct _cairo* cr, void* data);
    static int OnDeleteEvent(GtkWidget* widget, void* event, void* data);
    static int OnConfigure(GtkWidget* widget, void* event, void* data);
    static int OnWindowState(GtkWidget* widget, void* event, void* data);
    static int OnMapChanged(GtkWidget* widget, void* event, void* data);
    static int OnMapUnanswered(void* data);
    // Watches a top-level just shown until the window manager has put it on screen.
    void FollowMapRequest(HWND hwnd);
    void StopMapFollowUp(HWND hwnd);
    static int OnQuitSignal(void* data);
    static void OnDragDataReceived(GtkWidget* widget, GdkDragContext* context, int x, int y,
                                   GtkSelectionData* data, unsigned info, unsigned time,
                                   void* hwnd);
    static int WatchDiscRemoval(void* self);
    static void OnMountRemoved(GVolumeMonitor* monitor, GMount* mount, void* self);
    static void OnVolumeMounted(GObject* source, GAsyncResult* result, void* pending);
    // Keeps the result for TakeMountedDisc and tells hwnd.
    void FinishMount(WPARAM ticket, HWND hwnd, UINT message, const MountedDisc& result);
    static void OnVolumeRemoved(GVolumeMonitor* monitor, GVolume* volume, void* self);
    void SendDiscRemoved(const RemovedDisc& disc);

    bool DispatchPosted(const PostedMessage& message);
    void SetVisible(HWND hwnd, bool visible, bool activate);
    void KillAllTimers(HWND hwnd);
    void DestroyNative(HWND hwnd);
    GdkCursor* CursorFor(CursorShape shape);
    VideoOutputProbe& PreferredVideoOutputProbe();

    std::unique_ptr<PostedMessageQueue> queue_;
    std::unique_ptr<GtkInput> input_;

    std::mutex registryMutex_;  // PostMessage reads the registry from any thread
    std::unordered_map<HWND, uint64_t> live_;  // live windows and their serials
    uint64_t nextSerial_ = 1;

    std::atomic<int> quitRequests_{0};
    int quitCode_ = 0;
    int loopDepth_ = 0;
    HWND mainWindow_ = nullptr;
    unsigned signalSources_[3] = {0, 0, 0};
    std::unordered_map<int, GdkCursor*> cursors_;
    std::unique_ptr<TrayIcons> trayIcons_;  // made with the first icon
    std::unique_ptr<MprisService> mediaControls_;
    std::unique_ptr<ScreenSaverInhibitor> screenSaver_;  // made with the first inhibit
    std::map<WPARAM, std::vector<std::string>> drops_;  // until DragFinish
    WPARAM nextDrop_ = 1;
    WPARAM nextMount_ = 1;
    GVolumeMonitor* volumeMonitor_ = nullptr;  // watched once the main window is known
};

}  // namespace gtk
}  // namespace platform
