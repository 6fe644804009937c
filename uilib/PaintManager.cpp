#include "uilib/PaintManager.h"

#include <glib.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <string>
#include <unordered_map>

#include "uilib/Control.h"
#include "uilib/ControlSearch.h"
#include "uilib/ControlTimers.h"
#include "uilib/InputRouter.h"
#include "uilib/NotifyDispatcher.h"
#include "uilib/PaintManagerToolTips.h"
#include "uilib/ResourceCache.h"
#include "uilib/WindowAttributes.h"

namespace uilib {

void* CPaintManagerUI::s_resourceInstance = nullptr;

namespace {

// Private messages the manager posts to its own window.
constexpr UINT kMsgAsyncNotify = 0x8000 + 0x3A1;
constexpr UINT kMsgWindowInit = 0x8000 + 0x3A2;
constexpr UINT kMsgCleanup = 0x8000 + 0x3A3;
constexpr UINT kMsgFitLeastSize = 0x8000 + 0x3A4;

bool Alive(HWND hwnd) { return hwnd && platform::HasBackend() && ::IsWindow(hwnd); }

}  // namespace

struct CPaintManagerUI::Impl {
    explicit Impl(CPaintManagerUI& manager)
        : timers(manager), toolTips(manager), input(manager, toolTips) {}

    CNotifyDispatcher notify;
    std::unordered_map<std::string, CControlUI*> names;
    CControlTimers timers;
    bool asyncPosted = false;
    CResourceCache cache;
    std::thread prefetch;               // decodes the layout's pictures ahead of painting
    std::atomic<bool> stopPrefetch{false};
    bool ownDefaultFont = false;
    std::unordered_map<std::string, std::string> defaultAttributes;
    bool windowInitSent = false;
    bool windowInitWaiting = false;  // posted before the window had a size
    std::vector<std::unique_ptr<CControlUI>> delayedCleanup;
    bool cleanupPosted = false;
    SIZE least{};  // what the laid-out tree needed last
    CPaintManagerToolTips toolTips;
    CInputRouter input;  // after toolTips: it uses them

    void RunCleanup() {
        cleanupPosted = false;
        // Swapped out first: deleting a control may queue more.
        std::vector<std::unique_ptr<CControlUI>> doomed;
        doomed.swap(delayedCleanup);
    }
};

CPaintManagerUI::CPaintManagerUI() : m_impl(std::make_unique<Impl>(*this)) {}

CPaintManagerUI::~CPaintManagerUI() {
    // Windows still open on our fonts and pictures fall back to their own and the defaults.
    HandResourceUsersTo(nullptr);
    UseParentResource(nullptr);
    m_impl->stopPrefetch = true;
    if (m_impl->prefetch.joinable()) m_impl->prefetch.join();
    RemoveAllTimers();
    HideToolTip();
    // No root while the tree goes: its controls' reaping must not find it.
    std::unique_ptr<CControlUI> root = std::move(m_root);
    root.reset();
    m_impl->RunCleanup();
    m_impl->toolTips.DestroyWindow();
}

void CPaintManagerUI::Init(HWND hwnd) {
    m_hWndPaint = hwnd;
}

// ---------------------------------------------------------------- tree

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    HideToolTip();
    if (GetFocus()) SetFocus(nullptr);
    if (m_root.get() != root) {
        std::unique_ptr<CControlUI> old = std::move(m_root);
        old.reset();
        m_root.reset(root);
    }
    m_impl->input.ForgetAll();
    m_bUpdateNeeded = true;
    m_impl->windowInitSent = false;
    if (!root) return false;
    bool ok = InitControls(root);
    // "windowinit" follows the first layout, once the window exists with its size.
    if (Alive(m_hWndPaint)) ::PostMessage(m_hWndPaint, kMsgWindowInit, 0, 0);
    Invalidate();
    return ok;
}

bool CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
    if (!control) return false;
    control->SetManager(this, parent ? parent : control->GetParent(), true);
    control->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            static_cast<CPaintManagerUI*>(data)->AddName(c);
            return nullptr;
        },
        this, UIFIND_ALL);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
    if (!control) return;
    m_impl->input.Forget(control);
    // The root is being deleted by someone else: stop owning it, do not delete it twice.
    if (control == m_root.get()) (void)m_root.release();
    if (control == m_impl->toolTips.GetControl()) HideToolTip();
    KillTimer(control);
    RemoveName(control);
    m_impl->notify.DropQueuedFrom(control);
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* control) {
    if (!control) return;
    m_impl->delayedCleanup.emplace_back(control);
    if (!m_impl->cleanupPosted && Alive(m_hWndPaint))
        m_impl->cleanupPosted = ::PostMessage(m_hWndPaint, kMsgCleanup, 0, 0);
}

bool CPaintManagerUI::AddName(CControlUI* control) {
    if (!control) return false;
    CStdString name = control->GetName();
    if (name.empty()) return false;
    return m_impl->names.emplace(name, control).second;
}

bool CPaintManagerUI::RemoveName(CControlUI* control) {
    if (!control) return false;
    auto it = m_impl->names.find(control->GetName());
    if (it == m_impl->names.end() || it->second != control) return false;
    m_impl->names.erase(it);
    return true;
}

CControlUI* CPaintManagerUI::FindControl(const char* name) const {
    if (!name) return nullptr;
    auto it = m_impl->names.find(name);
    return it == m_impl->names.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const { return FindControlAt(m_root.get(), pt); }

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const char* name) const {
    return FindDescendantByName(parent, name);
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* parent,
                                                                 const char* className) {
    return FindDescendantsByClass(parent, className);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, const char* className,
                                                   int index) {
    std::vector<CControlUI*> all = FindSubControlsByClass(parent, className);
    return index >= 0 && index < static_cast<int>(all.size()) ? all[index] : nullptr;
}

// ---------------------------------------------------------------- notifications

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    return m_impl->notify.AddNotifier(notifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    return m_impl->notify.RemoveNotifier(notifier);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    msg.ptMouse = GetMousePos();
    msg.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
    if (async) {
        m_impl->notify.Queue(msg);
        if (!m_impl->asyncPosted && Alive(m_hWndPaint)) {
            m_impl->asyncPosted = ::PostMessage(m_hWndPaint, kMsgAsyncNotify, 0, 0);
        }
        return;
    }
    m_impl->notify.Deliver(msg);
}

void CPaintManagerUI::SendNotify(CControlUI* control, const char* type, WPARAM wParam,
                                 LPARAM lParam, bool async) {
    TNotifyUI msg;
    msg.pSender = control;
    msg.sType = type;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::SendNotify(CWindowWnd* sender, const char* type, WPARAM wParam,
                                 LPARAM lParam) {
    TNotifyUI msg;
    msg.pSenderWnd = sender;
    msg.sType = type;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.ptMouse = GetMousePos();
    msg.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
    m_impl->notify.DeliverFromWindow(msg);
}

void CPaintManagerUI::DispatchAsyncNotify() {
    m_impl->asyncPosted = false;
    m_impl->notify.DeliverQueued();
}

size_t CPaintManagerUI::PendingAsyncNotifyCount() const { return m_impl->notify.QueuedCount(); }

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
    return m_impl->notify.AddFilter(filter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    return m_impl->notify.RemoveFilter(filter);
}

int CPaintManagerUI::MessageLoop() { return platform::GetBackend().RunMessageLoop(); }

// ---------------------------------------------------------------- window attributes

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    if (!m_root && Alive(m_hWndPaint) && cx > 0 && cy > 0)
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPaintManagerUI::SetWindowAttribute(const char* name, const char* value) {
    if (!name || ApplyWindowAttribute(*this, name, value ? value : "")) return;
    g_debug("%s: <Window>: unknown attribute %s=\"%s\"",
            m_sLayoutFile.empty() ? "(layout)" : m_sLayoutFile.c_str(), name, value ? value : "");
}

void CPaintManagerUI::SetColor(DWORD argb) {
    m_dwMainBkColor = argb;
    Invalidate();
}

// ---------------------------------------------------------------- resources

CStdString CPaintManagerUI::GetResourcePath() { return CResourceCache::GetResourceFolder(); }

void CPaintManagerUI::SetResourcePath(const char* path) {
    CResourceCache::SetResourceFolder(path);
}

const ImageData* CPaintManagerUI::GetImage(const char* file) { return GetImageEx(file, 0); }

const ImageData* CPaintManagerUI::GetImageEx(const char* file, DWORD mask) {
    if (!file || !*file) return nullptr;
    const ImageData* image = m_impl->cache.GetImage(file, mask);
    if (!image && m_pParentResourcePM) image = m_pParentResourcePM->GetImageEx(file, mask);
    return image;
}

void CPaintManagerUI::PrefetchImages(std::vector<CStdString> files) {
    if (files.empty()) return;
    m_impl->stopPrefetch = true;
    if (m_impl->prefetch.joinable()) m_impl->prefetch.join();
    m_impl->stopPrefetch = false;
    Impl* impl = m_impl.get();
    m_impl->prefetch = std::thread([impl, files = std::move(files)] {
        for (const CStdString& file : files) {
            if (impl->stopPrefetch) return;
            impl->cache.GetImage(file.c_str(), 0);
        }
    });
}

void CPaintManagerUI::RemoveAllImages() { m_impl->cache.RemoveAllImages(); }

void CPaintManagerUI::AddFont(int id, const TFontInfo& font) { m_impl->cache.AddFont(id, font); }

const TFontInfo& CPaintManagerUI::GetFont(int id) const {
    if (id >= 0 && m_impl->cache.HasFont(id)) return m_impl->cache.GetFont(id);
    if (m_pParentResourcePM) return m_pParentResourcePM->GetFont(id);
    return GetDefaultFontInfo();
}

void CPaintManagerUI::SetDefaultFont(const TFontInfo& font) {
    m_impl->cache.SetDefaultFont(font);
    m_impl->ownDefaultFont = true;
}

const TFontInfo& CPaintManagerUI::GetDefaultFontInfo() const {
    if (m_impl->ownDefaultFont) return m_impl->cache.GetDefaultFontInfo();
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultFontInfo();
    return CResourceCache::Default().GetDefaultFontInfo();
}

void CPaintManagerUI::AddDefaultAttributeList(const char* controlName, const char* attrList) {
    if (!controlName) return;
    m_impl->defaultAttributes[controlName] = attrList ? attrList : "";
}

const char* CPaintManagerUI::GetDefaultAttributeList(const char* controlName) const {
    if (!controlName) return nullptr;
    auto it = m_impl->defaultAttributes.find(controlName);
    if (it != m_impl->defaultAttributes.end()) return it->second.c_str();
    return m_pParentResourcePM ? m_pParentResourcePM->GetDefaultAttributeList(controlName)
                               : nullptr;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList() { m_impl->defaultAttributes.clear(); }

// ---------------------------------------------------------------- focus and capture

CControlUI* CPaintManagerUI::GetFocus() const { return m_impl->input.GetFocus(); }

void CPaintManagerUI::SetFocus(CControlUI* control) { m_impl->input.SetFocus(control); }

bool CPaintManagerUI::IsFocusFromKeyboard() const { return m_impl->input.IsFocusFromKeyboard(); }

void CPaintManagerUI::SetFocusNeeded(CControlUI* control) {
    if (Alive(m_hWndPaint)) ::SetFocus(m_hWndPaint);
    SetFocus(control);
}

bool CPaintManagerUI::SetNextTabControl(bool forward) {
    return m_impl->input.SetNextTabControl(forward);
}

void CPaintManagerUI::SetCapture() { m_impl->input.SetCapture(); }

void CPaintManagerUI::ReleaseCapture() { m_impl->input.ReleaseCapture(); }

bool CPaintManagerUI::IsCaptured() const { return m_impl->input.IsCaptured(); }

CControlUI* CPaintManagerUI::GetEventClick() const { return m_impl->input.GetEventClick(); }

CControlUI* CPaintManagerUI::GetEventHover() const { return m_impl->input.GetEventHover(); }

POINT CPaintManagerUI::GetMousePos() const { return m_impl->input.GetMousePos(); }

// ---------------------------------------------------------------- timers

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT timerId, UINT elapseMs) {
    return m_impl->timers.Set(control, timerId, elapseMs);
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT timerId) {
    return m_impl->timers.Kill(control, timerId);
}

void CPaintManagerUI::KillTimer(CControlUI* control) { m_impl->timers.KillAll(control); }

void CPaintManagerUI::RemoveAllTimers() {
    m_impl->timers.RemoveAll();
    m_impl->toolTips.CancelDelay();
}

// ---------------------------------------------------------------- layout and paint

void CPaintManagerUI::Invalidate(const RECT& rc) {
    if (Alive(m_hWndPaint)) ::InvalidateRect(m_hWndPaint, &rc);
}

void CPaintManagerUI::Invalidate() {
    if (Alive(m_hWndPaint)) ::InvalidateRect(m_hWndPaint, nullptr);
}

SIZE CPaintManagerUI::GetClientSize() const {
    SIZE size{};
    RECT rc;
    if (Alive(m_hWndPaint) && ::GetClientRect(m_hWndPaint, &rc)) {
        size.cx = rc.right - rc.left;
        size.cy = rc.bottom - rc.top;
    }
    return size;
}

int CPaintManagerUI::GetScale() const {
    if (!Alive(m_hWndPaint)) return 1;
    return std::max(1, platform::GetBackend().GetScaleFactor(m_hWndPaint));
}

void CPaintManagerUI::UpdateLayout() {
    if (!m_root) return;
    RECT rc{};
    SIZE client = GetClientSize();
    if (client.cx > 0 && client.cy > 0) {
        rc.right = client.cx;
        rc.bottom = client.cy;
    } else if (!CRect(m_root->GetPos()).IsEmpty()) {
        rc = m_root->GetPos();  // off screen: keep where the caller put the root
    } else {
        rc.right = m_szInitWindowSize.cx;
        rc.bottom = m_szInitWindowSize.cy;
    }
    if (!m_bUpdateNeeded && !m_root->IsUpdateNeeded() && CRect(m_root->GetPos()) == rc)
        return;
    m_bUpdateNeeded = false;
    // Inside a paint the whole area is painted anyway: no invalidation from layout.
    m_root->SetPos(rc, false);
    // A control shown or hidden changes what the window needs; it is fitted once the
    // paint is over.
    const SIZE least = GetLeastWindowSize();
    if (least.cx != m_impl->least.cx || least.cy != m_impl->least.cy) {
        m_impl->least = least;
        if (Alive(m_hWndPaint)) ::PostMessage(m_hWndPaint, kMsgFitLeastSize, 0, 0);
    }
}

void CPaintManagerUI::FitLeastSize() {
    if (!Alive(m_hWndPaint) || !m_root) return;
    // Only a window the user sizes by its borders; the others are sized by their owner.
    if (CRect(m_rcSizeBox).IsNull()) return;
    if (::GetWindowLong(m_hWndPaint, GWL_STYLE) & (WS_CHILD | WS_POPUP)) return;
    platform::Backend& backend = platform::GetBackend();
    // The user's own state of the window wins: minimised, maximised or full screen.
    if (::IsIconic(m_hWndPaint) || ::IsZoomed(m_hWndPaint) || backend.IsFullScreen(m_hWndPaint)) return;
    backend.UpdateSizeLimits(m_hWndPaint);
    const SIZE least = GetLeastWindowSize(), client = GetClientSize();
    if (client.cx >= least.cx && client.cy >= least.cy) return;
    ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, std::max(client.cx, least.cx),
                   std::max(client.cy, least.cy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPaintManagerUI::PaintTo(cairo_t* cr, const RECT& rcPaint) {
    if (!cr || !m_root) return;
    UpdateLayout();
    m_root->DoPaint(cr, rcPaint);
}

void CPaintManagerUI::SendWindowInit() {
    if (m_impl->windowInitSent || !m_root) return;
    m_impl->windowInitSent = true;
    m_impl->windowInitWaiting = false;
    SendNotify(m_root.get(), "windowinit");
}

// ---------------------------------------------------------------- tooltips

void CPaintManagerUI::ShowToolTip(CControlUI* control, POINT pt) {
    m_impl->toolTips.Show(control, pt);
}

void CPaintManagerUI::HideToolTip() { m_impl->toolTips.Hide(); }

CStdString CPaintManagerUI::GetToolTipText() const { return m_impl->toolTips.GetText(); }

// ---------------------------------------------------------------- window messages

// The manager's own messages; input goes to the router.
const CPaintManagerUI::MessageRoute CPaintManagerUI::kMessageRoutes[] = {
    {kMsgAsyncNotify, &CPaintManagerUI::OnAsyncNotify},
    {kMsgCleanup, &CPaintManagerUI::OnCleanup},
    {kMsgWindowInit, &CPaintManagerUI::OnWindowInit},
    {kMsgFitLeastSize, &CPaintManagerUI::OnFitLeastSize},
    {WM_ERASEBKGND, &CPaintManagerUI::OnEraseBackground},
    {WM_PAINT, &CPaintManagerUI::OnPaint},
    {WM_SIZE, &CPaintManagerUI::OnSize},
    {WM_GETMINMAXINFO, &CPaintManagerUI::OnGetMinMaxInfo},
    {WM_TIMER, &CPaintManagerUI::OnTimer},
    {WM_DESTROY, &CPaintManagerUI::OnDestroy},
};

bool CPaintManagerUI::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!m_hWndPaint) return false;
    if (m_impl->notify.Filter(msg, wParam, lParam, result)) return true;
    for (const MessageRoute& route : kMessageRoutes)
        if (route.message == msg) return (this->*route.handler)(wParam, lParam, result);
    return m_impl->input.Route(msg, wParam, lParam, result);
}

bool CPaintManagerUI::OnAsyncNotify(WPARAM, LPARAM, LRESULT& result) {
    DispatchAsyncNotify();
    result = 0;
    return true;
}

bool CPaintManagerUI::OnCleanup(WPARAM, LPARAM, LRESULT& result) {
    m_impl->RunCleanup();
    result = 0;
    return true;
}

bool CPaintManagerUI::OnFitLeastSize(WPARAM, LPARAM, LRESULT& result) {
    FitLeastSize();
    result = 0;
    return true;
}

bool CPaintManagerUI::OnWindowInit(WPARAM, LPARAM, LRESULT& result) {
    result = 0;
    if (m_impl->windowInitSent || !m_root) return true;
    SIZE client = GetClientSize();
    if (client.cx <= 0 || client.cy <= 0) {
        m_impl->windowInitWaiting = true;  // WM_SIZE posts it again
        return true;
    }
    UpdateLayout();
    SendWindowInit();
    return true;
}

bool CPaintManagerUI::OnEraseBackground(WPARAM, LPARAM, LRESULT& result) {
    result = 1;
    return true;
}

bool CPaintManagerUI::OnPaint(WPARAM, LPARAM, LRESULT& result) {
    PAINTSTRUCT ps;
    if (!platform::GetBackend().BeginPaint(m_hWndPaint, &ps)) return false;
    bool first = !m_impl->windowInitSent;
    if (ps.cr) PaintTo(ps.cr, ps.rcPaint);
    platform::GetBackend().EndPaint(m_hWndPaint, &ps);
    // The first paint has laid the tree out: the window is ready.
    if (first && m_root && !CRect(m_root->GetPos()).IsEmpty()) SendWindowInit();
    result = 0;
    return true;
}

bool CPaintManagerUI::OnSize(WPARAM, LPARAM, LRESULT&) {
    if (CControlUI* focus = GetFocus()) m_impl->input.SendEvent(focus, UIEVENT_WINDOWSIZE);
    if (m_root) m_root->NeedUpdate();
    m_bUpdateNeeded = true;
    if (!Alive(m_hWndPaint)) return false;
    SIZE client = GetClientSize();
    if (m_impl->windowInitWaiting && client.cx > 0 && client.cy > 0)
        ::PostMessage(m_hWndPaint, kMsgWindowInit, 0, 0);
    Invalidate();
    return false;
}

bool CPaintManagerUI::OnGetMinMaxInfo(WPARAM, LPARAM lParam, LRESULT&) {
    GetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    return false;
}

bool CPaintManagerUI::OnTimer(WPARAM wParam, LPARAM, LRESULT& result) {
    if (m_impl->toolTips.OnTimer(wParam)) {
        result = 0;
        return true;
    }
    CControlUI* control = nullptr;
    UINT localId = 0;
    if (!m_impl->timers.Find(wParam, control, localId)) return false;
    m_impl->input.SendEvent(control, UIEVENT_TIMER, localId, 0);
    result = 0;
    return true;
}

bool CPaintManagerUI::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    HideToolTip();
    RemoveAllTimers();
    return false;
}

}  // namespace uilib
