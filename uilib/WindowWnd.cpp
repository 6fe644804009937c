#include "uilib/WindowWnd.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>

namespace uilib {

namespace {

// Icon resources by id, as files below the program folder.
struct IconResource {
    UINT id;
    const char* file;
};
const IconResource kIcons[] = {
    {103, "icon/orvella.png"},
};
const char* const kAppIcon = "icon/orvella.png";

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    // The native window may outlive this object (it was never destroyed): make sure it
    // no longer calls into it.
    if (m_hWnd && platform::HasBackend() && ::IsWindow(m_hWnd))
        platform::GetBackend().SetWindowUserData(m_hWnd, nullptr);
}

const char* CWindowWnd::GetSuperClassName() const { return nullptr; }
UINT CWindowWnd::GetClassStyle() const { return 0; }

HWND CWindowWnd::Create(HWND parent, const char* name, DWORD style, DWORD exStyle, int x, int y,
                        int cx, int cy) {
    platform::CreateParams params;
    params.exStyle = exStyle;
    const char* className = GetWindowClassName();
    params.className = className ? className : "";
    params.title = name ? name : "";
    params.style = style;
    params.x = x;
    params.y = y;
    params.width = cx;
    params.height = cy;
    params.parent = parent;
    params.proc = &CWindowWnd::WindowProc;
    params.userData = this;
    // On failure OnFinalMessage may already have deleted this: touch no member then.
    return ::CreateWindowEx(params);
}

HWND CWindowWnd::Create(HWND parent, const char* name, DWORD style, DWORD exStyle, const RECT& rc) {
    return Create(parent, name, style, exStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

LRESULT CWindowWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CWindowWnd*>(platform::GetBackend().GetWindowUserData(hwnd));
    if (!self) return ::DefWindowProc(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->m_hWnd = hwnd;
    if (msg != WM_NCDESTROY) return self->HandleMessage(msg, wParam, lParam);

    LRESULT result = self->HandleMessage(msg, wParam, lParam);
    platform::GetBackend().SetWindowUserData(hwnd, nullptr);
    self->m_hWnd = nullptr;
    self->OnFinalMessage(hwnd);  // may delete self
    return result;
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProc(m_hWnd, msg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOW : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::Close(UINT ret) {
    if (::IsWindow(m_hWnd)) ::PostMessage(m_hWnd, WM_CLOSE, static_cast<WPARAM>(ret), 0);
}

void CWindowWnd::CenterWindow() {
    if (!::IsWindow(m_hWnd)) return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    LONG width = rc.right - rc.left, height = rc.bottom - rc.top;
    HWND around = ::GetParent(m_hWnd);

    if (::GetWindowLong(m_hWnd, GWL_STYLE) & WS_CHILD) {
        // A child is placed in its parent's client coordinates.
        RECT parent;
        if (!::GetClientRect(around, &parent)) return;
        ::SetWindowPos(m_hWnd, nullptr, (parent.right - width) / 2, (parent.bottom - height) / 2,
                       -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }

    RECT area = platform::GetBackend().GetWorkArea(m_hWnd);
    RECT center = area;
    if (around && ::IsWindowVisible(around) && !::IsIconic(around)) ::GetWindowRect(around, &center);
    LONG x = center.left + ((center.right - center.left) - width) / 2;
    LONG y = center.top + ((center.bottom - center.top) - height) / 2;
    // Keep it on the work area; when it is larger, its top left corner stays visible.
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT resourceId) {
    if (!::IsWindow(m_hWnd)) return;
    std::string folder = GetAppPath();
    std::string file = kAppIcon;
    auto known = std::find_if(std::begin(kIcons), std::end(kIcons),
                              [resourceId](const IconResource& r) { return r.id == resourceId; });
    if (known != std::end(kIcons)) {
        file = known->file;
    } else if (FileExists(folder + "icon/" + std::to_string(resourceId) + ".png")) {
        file = "icon/" + std::to_string(resourceId) + ".png";
    }
    platform::GetBackend().SetWindowIcon(m_hWnd, folder + file);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (!::IsWindow(m_hWnd)) return;
    RECT client, window;
    if (!::GetClientRect(m_hWnd, &client) || !::GetWindowRect(m_hWnd, &window)) return;
    // The frame around the client area, if the platform has one, stays as it is.
    LONG frameX = (window.right - window.left) - client.right;
    LONG frameY = (window.bottom - window.top) - client.bottom;
    LONG width = cx < 0 ? client.right : cx;
    LONG height = cy < 0 ? client.bottom : cy;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width + frameX, height + frameY,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, msg, wParam, lParam);
}

bool CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, msg, wParam, lParam);
}

}  // namespace uilib
