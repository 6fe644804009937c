#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
std::unique_ptr<Backend>& Installed() {
    static std::unique_ptr<Backend> backend;
    return backend;
}
}  // namespace

std::unique_ptr<Backend> InstallBackend(std::unique_ptr<Backend> backend) {
    std::swap(Installed(), backend);
    return backend;
}

MountedDisc Backend::TakeMountedDisc(WPARAM ticket) {
    auto it = mountedDiscs_.find(ticket);
    if (it == mountedDiscs_.end()) return MountedDisc{std::string(), true};
    MountedDisc result = it->second;
    mountedDiscs_.erase(it);
    return result;
}

std::string Backend::PicturesFolder() {
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/Pictures";
}

Backend& GetBackend() {
    auto& b = Installed();
    if (!b) {
        std::fprintf(stderr, "orvella: no platform backend installed\n");
        std::abort();
    }
    return *b;
}

bool HasBackend() { return Installed() != nullptr; }

bool StandardDefWindowProc(Backend& backend, HWND hwnd, UINT msg, WPARAM wParam, LPARAM,
                           LRESULT* result) {
    *result = 0;
    switch (msg) {
    case WM_CLOSE:
        backend.DestroyWindow(hwnd);
        return true;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE: backend.SendMessage(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: backend.ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: backend.ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: backend.ShowWindow(hwnd, SW_RESTORE); break;
        default: break;
        }
        return true;
    case WM_NCHITTEST:
        *result = HTCLIENT;
        return true;
    case WM_NCLBUTTONDBLCLK:
        if (static_cast<LRESULT>(wParam) == HTCAPTION)
            backend.ShowWindow(hwnd, backend.IsZoomed(hwnd) ? SW_RESTORE : SW_MAXIMIZE);
        return true;
    default:
        return false;
    }
}

}  // namespace platform

using platform::GetBackend;

HWND CreateWindowEx(const platform::CreateParams& params) { return GetBackend().CreateWindowEx(params); }
bool DestroyWindow(HWND hwnd) { return GetBackend().DestroyWindow(hwnd); }
bool IsWindow(HWND hwnd) { return hwnd && GetBackend().IsWindow(hwnd); }
LONG GetWindowLong(HWND hwnd, int index) { return GetBackend().GetWindowLong(hwnd, index); }
LONG SetWindowLong(HWND hwnd, int index, LONG value) { return GetBackend().SetWindowLong(hwnd, index, value); }
HWND GetParent(HWND hwnd) { return GetBackend().GetParent(hwnd); }
bool SetWindowText(HWND hwnd, const std::string& text) { return GetBackend().SetWindowText(hwnd, text); }
bool GetWindowRect(HWND hwnd, RECT* rect) { return GetBackend().GetWindowRect(hwnd, rect); }
bool GetClientRect(HWND hwnd, RECT* rect) { return GetBackend().GetClientRect(hwnd, rect); }
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return GetBackend().SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}
bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint) {
    return GetBackend().SetWindowPos(hwnd, nullptr, x, y, cx, cy,
                                     SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : 0));
}
bool ShowWindow(HWND hwnd, int cmd) { return GetBackend().ShowWindow(hwnd, cmd); }
bool IsWindowVisible(HWND hwnd) { return GetBackend().IsWindowVisible(hwnd); }
bool IsZoomed(HWND hwnd) { return GetBackend().IsZoomed(hwnd); }
bool IsIconic(HWND hwnd) { return GetBackend().IsIconic(hwnd); }
bool ClientToScreen(HWND hwnd, POINT* pt) { return GetBackend().ClientToScreen(hwnd, pt); }
bool ScreenToClient(HWND hwnd, POINT* pt) { return GetBackend().ScreenToClient(hwnd, pt); }
void InvalidateRect(HWND hwnd, const RECT* rect, bool) { GetBackend().InvalidateRect(hwnd, rect); }
void UpdateWindow(HWND hwnd) { GetBackend().UpdateWindow(hwnd); }
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return GetBackend().SendMessage(hwnd, msg, wParam, lParam);
}
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return GetBackend().PostMessage(hwnd, msg, wParam, lParam);
}
void PostQuitMessage(int exitCode) { GetBackend().PostQuitMessage(exitCode); }
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) { return GetBackend().SetTimer(hwnd, id, elapseMs); }
bool KillTimer(HWND hwnd, UINT_PTR id) { return GetBackend().KillTimer(hwnd, id); }
uint64_t GetTickCount64() { return GetBackend().GetTickCount(); }
HWND SetFocus(HWND hwnd) { return GetBackend().SetFocus(hwnd); }
HWND GetFocus() { return GetBackend().GetFocus(); }
HWND SetCapture(HWND hwnd) { return GetBackend().SetCapture(hwnd); }
bool ReleaseCapture() { return GetBackend().ReleaseCapture(); }
HWND GetCapture() { return GetBackend().GetCapture(); }
bool GetCursorPos(POINT* pt) { return GetBackend().GetCursorPos(pt); }
short GetKeyState(int vk) { return GetBackend().GetKeyState(vk); }
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return GetBackend().DefWindowProc(hwnd, msg, wParam, lParam);
}
