#include "uilib/PaintManager.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <unordered_map>

#include "uilib/Control.h"
#include "uilib/ResourceCache.h"
#include "uilib/ToolTipWnd.h"
#include "uilib/controls/AttributeValue.h"

namespace uilib {

void* CPaintManagerUI::s_resourceInstance = nullptr;

namespace {

// Private messages the manager posts to its own window.
constexpr UINT kMsgAsyncNotify = 0x8000 + 0x3A1;
constexpr UINT kMsgWindowInit = 0x8000 + 0x3A2;
constexpr UINT kMsgCleanup = 0x8000 + 0x3A3;
// Window timer ids: the tooltip's, then one per control timer (far above the small ids
// windows use for their own timers).
constexpr UINT_PTR kToolTipTimerId = 0x7E000000;
constexpr UINT_PTR kFirstControlTimerId = 0x7E000001;
constexpr UINT kToolTipDelayMs = 500;

bool Alive(HWND hwnd) { return hwnd && platform::HasBackend() && ::IsWindow(hwnd); }

WORD KeyStateFlags() {
    if (!platform::HasBackend()) return 0;
    WORD flags = 0;
    if (::GetKeyState(VK_SHIFT) & 0x8000) flags |= MK_SHIFT;
    if (::GetKeyState(VK_CONTROL) & 0x8000) flags |= MK_CONTROL;
    return flags;
}

CControlUI* FindFromPoint(CControlUI* control, void* /*data*/) { return control; }

}  // namespace

struct CPaintManagerUI::TimerInfo {
    CControlUI* control = nullptr;
    UINT localId = 0;
    UINT_PTR windowId = 0;
};

struct CPaintManagerUI::Impl {
    std::vector<INotifyUI*> notifiers;
    std::vector<IMessageFilterUI*> filters;
    std::unordered_map<std::string, CControlUI*> names;
    std::vector<TimerInfo> timers;
    UINT_PTR nextTimerId = kFirstControlTimerId;
    std::deque<TNotifyUI> asyncQueue;
    bool asyncPosted = false;
    CResourceCache cache;
    std::thread prefetch;               // decodes the layout's pictures ahead of painting
    std::atomic<bool> stopPrefetch{false};
    bool ownDefaultFont = false;
    std::unordered_map<std::string, std::string> defaultAttributes;
    bool windowInitSent = false;
    bool windowInitWaiting = false;  // posted before the window had a size
    bool toolTipTimer = false;
    CControlUI* toolTipControl = nullptr;
    std::unique_ptr<CToolTipWnd> toolTip;
    std::vector<CControlUI*> delayedCleanup;
    bool cleanupPosted = false;
    bool focusFromKeyboard = false;

    void RunCleanup() {
        cleanupPosted = false;
        std::vector<CControlUI*> doomed;
        doomed.swap(delayedCleanup);
        for (CControlUI* c : doomed) delete c;
    }
};

CPaintManagerUI::CPaintManagerUI() : m_impl(std::make_unique<Impl>()) {
    m_ptLastMousePos.x = m_ptLastMousePos.y = -1;
}

CPaintManagerUI::~CPaintManagerUI() {
    m_impl->stopPrefetch = true;
    if (m_impl->prefetch.joinable()) m_impl->prefetch.join();
    RemoveAllTimers();
    HideToolTip();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    m_impl->RunCleanup();
    m_impl->toolTip.reset();
}

void CPaintManagerUI::Init(HWND hwnd) {
    m_hWndPaint = hwnd;
}

// ---------------------------------------------------------------- tree

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    HideToolTip();
    if (m_pFocus) SetFocus(nullptr);
    if (m_pRoot && m_pRoot != root) {
        CControlUI* old = m_pRoot;
        m_pRoot = nullptr;
        delete old;
    }
    m_pEventHover = m_pEventClick = m_pEventKey = m_pFocus = nullptr;
    m_pRoot = root;
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
    if (control == m_pEventKey) m_pEventKey = nullptr;
    if (control == m_pEventHover) m_pEventHover = nullptr;
    if (control == m_pEventClick) m_pEventClick = nullptr;
    if (control == m_pFocus) m_pFocus = nullptr;
    if (control == m_pRoot) m_pRoot = nullptr;
    if (control == m_impl->toolTipControl) HideToolTip();
    KillTimer(control);
    RemoveName(control);
    auto& q = m_impl->asyncQueue;
    q.erase(std::remove_if(q.begin(), q.end(),
                           [control](const TNotifyUI& m) { return m.pSender == control; }),
            q.end());
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* control) {
    if (!control) return;
    m_impl->delayedCleanup.push_back(control);
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

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (!m_pRoot) return nullptr;
    return m_pRoot->FindControl(FindFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_HITTEST |
                                    UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const char* name) const {
    if (!parent || !name) return nullptr;
    return parent->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            return c->GetName() == static_cast<const char*>(data) ? c : nullptr;
        },
        const_cast<char*>(name), UIFIND_ALL);
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* parent,
                                                                 const char* className) {
    struct Search {
        const char* cls;
        std::vector<CControlUI*> found;
    } search{className ? className : "", {}};
    if (!parent) return {};
    parent->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            auto* s = static_cast<Search*>(data);
            if (std::strcmp(c->GetClass(), s->cls) == 0) s->found.push_back(c);
            return nullptr;
        },
        &search, UIFIND_ALL);
    return search.found;
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, const char* className,
                                                   int index) {
    std::vector<CControlUI*> all = FindSubControlsByClass(parent, className);
    return index >= 0 && index < static_cast<int>(all.size()) ? all[index] : nullptr;
}

// ---------------------------------------------------------------- notifications

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    auto& v = m_impl->notifiers;
    if (!notifier || std::find(v.begin(), v.end(), notifier) != v.end()) return false;
    v.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto& v = m_impl->notifiers;
    auto it = std::find(v.begin(), v.end(), notifier);
    if (it == v.end()) return false;
    v.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    msg.ptMouse = m_ptLastMousePos;
    msg.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
    if (async) {
        m_impl->asyncQueue.push_back(msg);
        if (!m_impl->asyncPosted && Alive(m_hWndPaint)) {
            m_impl->asyncPosted = ::PostMessage(m_hWndPaint, kMsgAsyncNotify, 0, 0);
        }
        return;
    }
    // A notifier may remove itself (or another) while being told: walk a copy and skip
    // whoever is gone.
    std::vector<INotifyUI*> snapshot = m_impl->notifiers;
    for (INotifyUI* n : snapshot) {
        const auto& live = m_impl->notifiers;
        if (std::find(live.begin(), live.end(), n) == live.end()) continue;
        n->Notify(msg);
    }
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
    msg.ptMouse = m_ptLastMousePos;
    msg.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
    std::vector<INotifyUI*> snapshot = m_impl->notifiers;
    for (INotifyUI* n : snapshot) {
        const auto& live = m_impl->notifiers;
        if (std::find(live.begin(), live.end(), n) == live.end()) continue;
        n->NotifyFromWindow(msg);
    }
}

void CPaintManagerUI::DispatchAsyncNotify() {
    m_impl->asyncPosted = false;
    while (!m_impl->asyncQueue.empty()) {
        TNotifyUI msg = m_impl->asyncQueue.front();
        m_impl->asyncQueue.pop_front();
        std::vector<INotifyUI*> snapshot = m_impl->notifiers;
        for (INotifyUI* n : snapshot) {
            const auto& live = m_impl->notifiers;
            if (std::find(live.begin(), live.end(), n) == live.end()) continue;
            n->Notify(msg);
        }
    }
}

size_t CPaintManagerUI::PendingAsyncNotifyCount() const { return m_impl->asyncQueue.size(); }

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
    auto& v = m_impl->filters;
    if (!filter || std::find(v.begin(), v.end(), filter) != v.end()) return false;
    v.push_back(filter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    auto& v = m_impl->filters;
    auto it = std::find(v.begin(), v.end(), filter);
    if (it == v.end()) return false;
    v.erase(it);
    return true;
}

int CPaintManagerUI::MessageLoop() { return platform::GetBackend().RunMessageLoop(); }

// ---------------------------------------------------------------- window attributes

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    if (!m_pRoot && Alive(m_hWndPaint) && cx > 0 && cy > 0)
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPaintManagerUI::GetMinMaxInfo(MINMAXINFO* info) const {
    if (!info) return;
    if (m_szMinWindow.cx > 0) info->ptMinTrackSize.x = m_szMinWindow.cx;
    if (m_szMinWindow.cy > 0) info->ptMinTrackSize.y = m_szMinWindow.cy;
    if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = m_szMaxWindow.cx;
    if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = m_szMaxWindow.cy;
}

void CPaintManagerUI::SetWindowAttribute(const char* name, const char* value) {
    using Setter = void (*)(CPaintManagerUI*, const char*);
    static const std::unordered_map<std::string, Setter> table = {
        {"size",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetInitSize(s.cx, s.cy);
         }},
        {"mininfo",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetMinInfo(s.cx, s.cy);
         }},
        {"maxinfo",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetMaxInfo(s.cx, s.cy);
         }},
        {"caption", [](CPaintManagerUI* m, const char* v) { m->SetCaptionRect(attr::ParseRect(v)); }},
        {"sizebox", [](CPaintManagerUI* m, const char* v) { m->SetSizeBox(attr::ParseRect(v)); }},
        {"roundcorner",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetRoundCorner(s.cx, s.cy);
         }},
        {"bkcolor", [](CPaintManagerUI* m, const char* v) { m->SetColor(attr::ParseColor(v)); }},
        {"defaultfontcolor",
         [](CPaintManagerUI* m, const char* v) { m->SetDefaultFontColor(attr::ParseColor(v)); }},
        {"disabledfontcolor",
         [](CPaintManagerUI* m, const char* v) {
             m->SetDefaultDisabledColor(attr::ParseColor(v));
         }},
        {"selectedcolor",
         [](CPaintManagerUI* m, const char* v) {
             m->SetDefaultSelectedBkColor(attr::ParseColor(v));
         }},
    };
    if (!name) return;
    auto it = table.find(name);
    if (it != table.end()) {
        it->second(this, value ? value : "");
        return;
    }
    std::fprintf(stderr, "%s: <Window>: unknown attribute %s=\"%s\"\n",
                 m_sLayoutFile.empty() ? "(layout)" : m_sLayoutFile.c_str(), name,
                 value ? value : "");
}

void CPaintManagerUI::SetColor(DWORD argb) {
    m_dwMainBkColor = argb;
    Invalidate();
}

// ---------------------------------------------------------------- resources

void CPaintManagerUI::UseParentResource(CPaintManagerUI* parent) {
    // A chain must end: refuse a parent that leads back here.
    for (CPaintManagerUI* p = parent; p; p = p->GetParentResource())
        if (p == this) return;
    m_pParentResourcePM = parent;
}

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

DWORD CPaintManagerUI::GetDefaultFontColor() const {
    if (m_dwDefaultFontColor) return m_dwDefaultFontColor;
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultFontColor();
    return CResourceCache::Default().GetDefaultFontColor();
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const {
    if (m_dwDefaultDisabledColor) return m_dwDefaultDisabledColor;
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultDisabledColor();
    return CResourceCache::Default().GetDefaultDisabledColor();
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const {
    if (m_dwDefaultSelectedBkColor) return m_dwDefaultSelectedBkColor;
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultSelectedBkColor();
    return CResourceCache::Default().GetDefaultSelectedBkColor();
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

void CPaintManagerUI::SetFocus(CControlUI* control) {
    // Keyboard input must reach this window before a control can have it.
    if (control && Alive(m_hWndPaint) && ::GetFocus() != m_hWndPaint) ::SetFocus(m_hWndPaint);
    if (control == m_pFocus) return;
    if (m_pFocus) {
        CControlUI* old = m_pFocus;
        m_pFocus = nullptr;
        TEventUI event;
        event.Type = UIEVENT_KILLFOCUS;
        event.pSender = control;
        event.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
        old->Event(event);
    }
    if (control && control->GetManager() == this && control->IsVisible() &&
        control->IsEnabled()) {
        m_pFocus = control;
        TEventUI event;
        event.Type = UIEVENT_SETFOCUS;
        event.pSender = control;
        event.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
        control->Event(event);
    }
}

bool CPaintManagerUI::IsFocusFromKeyboard() const { return m_impl->focusFromKeyboard; }

void CPaintManagerUI::SetFocusNeeded(CControlUI* control) {
    if (Alive(m_hWndPaint)) ::SetFocus(m_hWndPaint);
    SetFocus(control);
}

bool CPaintManagerUI::SetNextTabControl(bool forward) {
    if (!m_pRoot) return false;
    std::vector<CControlUI*> stops;
    m_pRoot->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            if ((c->GetControlFlags() & UIFLAG_TABSTOP) && c->IsKeyboardEnabled())
                static_cast<std::vector<CControlUI*>*>(data)->push_back(c);
            return nullptr;
        },
        &stops, UIFIND_VISIBLE | UIFIND_ENABLED);
    if (stops.empty()) return false;
    auto it = std::find(stops.begin(), stops.end(), m_pFocus);
    size_t next;
    int n = static_cast<int>(stops.size());
    if (it == stops.end()) {
        next = forward ? 0 : n - 1;
    } else {
        int i = static_cast<int>(it - stops.begin());
        next = static_cast<size_t>((i + (forward ? 1 : n - 1)) % n);
    }
    m_impl->focusFromKeyboard = true;
    SetFocus(stops[next]);
    return true;
}

void CPaintManagerUI::SetCapture() {
    if (Alive(m_hWndPaint)) ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
    if (m_bMouseCapture && platform::HasBackend()) ::ReleaseCapture();
    m_bMouseCapture = false;
}

// ---------------------------------------------------------------- timers

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT timerId, UINT elapseMs) {
    if (!control) return false;
    auto& timers = m_impl->timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const TimerInfo& t) {
        return t.control == control && t.localId == timerId;
    });
    UINT_PTR windowId;
    if (it != timers.end()) {
        windowId = it->windowId;
    } else {
        windowId = m_impl->nextTimerId++;
        timers.push_back(TimerInfo{control, timerId, windowId});
    }
    if (!Alive(m_hWndPaint)) return false;
    return ::SetTimer(m_hWndPaint, windowId, elapseMs) != 0;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT timerId) {
    auto& timers = m_impl->timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const TimerInfo& t) {
        return t.control == control && t.localId == timerId;
    });
    if (it == timers.end()) return false;
    if (Alive(m_hWndPaint)) ::KillTimer(m_hWndPaint, it->windowId);
    timers.erase(it);
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
    auto& timers = m_impl->timers;
    for (auto it = timers.begin(); it != timers.end();) {
        if (it->control == control) {
            if (Alive(m_hWndPaint)) ::KillTimer(m_hWndPaint, it->windowId);
            it = timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers() {
    for (const TimerInfo& t : m_impl->timers)
        if (Alive(m_hWndPaint)) ::KillTimer(m_hWndPaint, t.windowId);
    m_impl->timers.clear();
    if (m_impl->toolTipTimer && Alive(m_hWndPaint)) ::KillTimer(m_hWndPaint, kToolTipTimerId);
    m_impl->toolTipTimer = false;
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
    if (!m_pRoot) return;
    RECT rc{};
    SIZE client = GetClientSize();
    if (client.cx > 0 && client.cy > 0) {
        rc.right = client.cx;
        rc.bottom = client.cy;
    } else if (!CRect(m_pRoot->GetPos()).IsEmpty()) {
        rc = m_pRoot->GetPos();  // off screen: keep where the caller put the root
    } else {
        rc.right = m_szInitWindowSize.cx;
        rc.bottom = m_szInitWindowSize.cy;
    }
    if (!m_bUpdateNeeded && !m_pRoot->IsUpdateNeeded() && CRect(m_pRoot->GetPos()) == rc)
        return;
    m_bUpdateNeeded = false;
    // Inside a paint the whole area is painted anyway: no invalidation from layout.
    m_pRoot->SetPos(rc, false);
}

void CPaintManagerUI::PaintTo(cairo_t* cr, const RECT& rcPaint) {
    if (!cr || !m_pRoot) return;
    UpdateLayout();
    m_pRoot->DoPaint(cr, rcPaint);
}

void CPaintManagerUI::SendWindowInit() {
    if (m_impl->windowInitSent || !m_pRoot) return;
    m_impl->windowInitSent = true;
    m_impl->windowInitWaiting = false;
    SendNotify(m_pRoot, "windowinit");
}

// ---------------------------------------------------------------- tooltips

void CPaintManagerUI::ShowToolTip(CControlUI* control, POINT pt) {
    if (!control) return;
    CStdString text = control->GetToolTip();
    if (text.empty()) return;
    m_sToolTipText = text;
    m_impl->toolTipControl = control;
    if (!Alive(m_hWndPaint)) return;
    POINT screen = pt;
    ::ClientToScreen(m_hWndPaint, &screen);
    screen.y += 20;  // below the pointer's arrow
    if (!m_impl->toolTip) m_impl->toolTip = std::make_unique<CToolTipWnd>(this);
    m_impl->toolTip->ShowAt(m_hWndPaint, text, screen);
}

void CPaintManagerUI::HideToolTip() {
    if (m_impl->toolTipTimer && Alive(m_hWndPaint)) ::KillTimer(m_hWndPaint, kToolTipTimerId);
    m_impl->toolTipTimer = false;
    m_impl->toolTipControl = nullptr;
    m_sToolTipText.clear();
    if (m_impl->toolTip) m_impl->toolTip->Hide();
}

void CPaintManagerUI::StartToolTipTimer(CControlUI* control) {
    if (!control || control->GetToolTip().empty() || !Alive(m_hWndPaint)) return;
    m_impl->toolTipTimer = ::SetTimer(m_hWndPaint, kToolTipTimerId, kToolTipDelayMs) != 0;
}

// ---------------------------------------------------------------- window messages

void CPaintManagerUI::SendEvent(CControlUI* control, int type, WPARAM wParam, LPARAM lParam,
                                uint32_t key) {
    if (!control) return;
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
    event.ptMouse = m_ptLastMousePos;
    event.chKey = key;
    event.wKeyState = KeyStateFlags();
    event.wParam = wParam;
    event.lParam = lParam;
    control->Event(event);
}

void CPaintManagerUI::OnMouseMove(LPARAM lParam) {
    if (!m_bMouseTracking && Alive(m_hWndPaint)) {
        platform::GetBackend().TrackMouseLeave(m_hWndPaint);
        m_bMouseTracking = true;
    }
    POINT pt;
    pt.x = GET_X_LPARAM(lParam);
    pt.y = GET_Y_LPARAM(lParam);
    m_ptLastMousePos = pt;
    CControlUI* control = FindControl(pt);
    if (control && control->GetManager() != this) control = nullptr;
    if (control != m_pEventHover) {
        HideToolTip();
        if (m_pEventHover) {
            CControlUI* old = m_pEventHover;
            m_pEventHover = nullptr;
            SendEvent(old, UIEVENT_MOUSELEAVE, 0, lParam);
        }
        m_pEventHover = control;
        if (control) {
            SendEvent(control, UIEVENT_MOUSEENTER, 0, lParam);
            StartToolTipTimer(m_pEventHover);
        }
    }
    if (m_pEventClick) {
        SendEvent(m_pEventClick, UIEVENT_MOUSEMOVE, 0, lParam);
    } else if (m_pEventHover) {
        SendEvent(m_pEventHover, UIEVENT_MOUSEMOVE, 0, lParam);
    }
    // The pointer shape follows the control under it.
    CControlUI* shape = m_pEventClick ? m_pEventClick : m_pEventHover;
    if (shape && (shape->GetControlFlags() & UIFLAG_SETCURSOR))
        SendEvent(shape, UIEVENT_SETCURSOR, 0, lParam);
    else if (Alive(m_hWndPaint))
        platform::GetBackend().SetCursor(m_hWndPaint, CursorShape::Arrow);
}

void CPaintManagerUI::OnMouseLeave() {
    m_bMouseTracking = false;
    HideToolTip();
    if (m_bMouseCapture) return;  // the pressed control still owns the pointer
    if (m_pEventHover) {
        CControlUI* old = m_pEventHover;
        m_pEventHover = nullptr;
        SendEvent(old, UIEVENT_MOUSELEAVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
    }
    m_ptLastMousePos.x = m_ptLastMousePos.y = -1;
}

void CPaintManagerUI::DispatchMouse(int type, WPARAM wParam, LPARAM lParam) {
    POINT pt;
    pt.x = GET_X_LPARAM(lParam);
    pt.y = GET_Y_LPARAM(lParam);
    m_ptLastMousePos = pt;
    HideToolTip();
    if (Alive(m_hWndPaint) && ::GetFocus() != m_hWndPaint) ::SetFocus(m_hWndPaint);
    CControlUI* control = FindControl(pt);
    if (!control || control->GetManager() != this) return;
    m_impl->focusFromKeyboard = false;
    if (type != UIEVENT_RBUTTONDOWN) {
        control->SetFocus();
        // The focus change may have removed it.
        control = FindControl(pt);
        if (!control || control->GetManager() != this) return;
    }
    if (type == UIEVENT_RBUTTONDOWN) {
        m_pEventClick = nullptr;
        SendEvent(control, type, wParam, lParam);
        return;
    }
    m_pEventClick = control;
    SetCapture();
    SendEvent(control, type, wParam, lParam);
}

bool CPaintManagerUI::OnKey(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            bool backward = platform::HasBackend() && (::GetKeyState(VK_SHIFT) & 0x8000);
            if (SetNextTabControl(!backward)) return true;
        }
        if (!m_pFocus) return false;
        m_pEventKey = m_pFocus;
        SendEvent(m_pFocus, UIEVENT_KEYDOWN, wParam, lParam, static_cast<uint32_t>(wParam));
        return false;
    case WM_KEYUP: {
        CControlUI* target = m_pEventKey ? m_pEventKey : m_pFocus;
        m_pEventKey = nullptr;
        if (target) SendEvent(target, UIEVENT_KEYUP, wParam, lParam, static_cast<uint32_t>(wParam));
        return false;
    }
    case WM_CHAR:
        if (m_pFocus) SendEvent(m_pFocus, UIEVENT_CHAR, wParam, lParam, static_cast<uint32_t>(wParam));
        return false;
    case WM_SYSKEYDOWN:
        if (m_pFocus) SendEvent(m_pFocus, UIEVENT_SYSKEY, wParam, lParam, static_cast<uint32_t>(wParam));
        return false;
    case WM_IME_COMPOSITION:
        if (m_pFocus) SendEvent(m_pFocus, UIEVENT_IME, wParam, lParam);
        return false;
    default:
        return false;
    }
}

void CPaintManagerUI::OnSize() {
    if (m_pFocus) SendEvent(m_pFocus, UIEVENT_WINDOWSIZE);
    if (m_pRoot) m_pRoot->NeedUpdate();
    m_bUpdateNeeded = true;
    if (!Alive(m_hWndPaint)) return;
    SIZE client = GetClientSize();
    if (m_impl->windowInitWaiting && client.cx > 0 && client.cy > 0)
        ::PostMessage(m_hWndPaint, kMsgWindowInit, 0, 0);
    Invalidate();
}

bool CPaintManagerUI::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!m_hWndPaint) return false;
    {
        std::vector<IMessageFilterUI*> filters = m_impl->filters;
        for (IMessageFilterUI* f : filters) {
            const auto& live = m_impl->filters;
            if (std::find(live.begin(), live.end(), f) == live.end()) continue;
            bool handled = false;
            LRESULT lr = f->MessageHandler(msg, wParam, lParam, handled);
            if (handled) {
                result = lr;
                return true;
            }
        }
    }
    switch (msg) {
    case kMsgAsyncNotify:
        DispatchAsyncNotify();
        result = 0;
        return true;
    case kMsgCleanup:
        m_impl->RunCleanup();
        result = 0;
        return true;
    case kMsgWindowInit: {
        result = 0;
        if (m_impl->windowInitSent || !m_pRoot) return true;
        SIZE client = GetClientSize();
        if (client.cx <= 0 || client.cy <= 0) {
            m_impl->windowInitWaiting = true;  // WM_SIZE posts it again
            return true;
        }
        UpdateLayout();
        SendWindowInit();
        return true;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (!platform::GetBackend().BeginPaint(m_hWndPaint, &ps)) return false;
        bool first = !m_impl->windowInitSent;
        if (ps.cr) PaintTo(ps.cr, ps.rcPaint);
        platform::GetBackend().EndPaint(m_hWndPaint, &ps);
        // The first paint has laid the tree out: the window is ready.
        if (first && m_pRoot && !CRect(m_pRoot->GetPos()).IsEmpty()) SendWindowInit();
        result = 0;
        return true;
    }
    case WM_SIZE:
        OnSize();
        return false;
    case WM_GETMINMAXINFO:
        GetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return false;
    case WM_TIMER: {
        if (wParam == kToolTipTimerId) {
            ::KillTimer(m_hWndPaint, kToolTipTimerId);
            m_impl->toolTipTimer = false;
            if (m_pEventHover && !m_pEventClick) ShowToolTip(m_pEventHover, m_ptLastMousePos);
            result = 0;
            return true;
        }
        auto& timers = m_impl->timers;
        auto it = std::find_if(timers.begin(), timers.end(),
                               [&](const TimerInfo& t) { return t.windowId == wParam; });
        if (it == timers.end()) return false;
        CControlUI* control = it->control;
        UINT localId = it->localId;
        SendEvent(control, UIEVENT_TIMER, localId, 0);
        result = 0;
        return true;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return false;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_LBUTTONDOWN:
        DispatchMouse(UIEVENT_BUTTONDOWN, wParam, lParam);
        return false;
    case WM_LBUTTONDBLCLK:
        DispatchMouse(UIEVENT_DBLCLICK, wParam, lParam);
        return false;
    case WM_LBUTTONUP: {
        m_ptLastMousePos.x = GET_X_LPARAM(lParam);
        m_ptLastMousePos.y = GET_Y_LPARAM(lParam);
        ReleaseCapture();
        CControlUI* click = m_pEventClick;
        m_pEventClick = nullptr;
        if (click) SendEvent(click, UIEVENT_BUTTONUP, wParam, lParam);
        return false;
    }
    case WM_RBUTTONDOWN:
        DispatchMouse(UIEVENT_RBUTTONDOWN, wParam, lParam);
        return false;
    case WM_RBUTTONUP: {
        // The context menu belongs to the control the release happens over.
        POINT pt;
        pt.x = GET_X_LPARAM(lParam);
        pt.y = GET_Y_LPARAM(lParam);
        m_ptLastMousePos = pt;
        CControlUI* control = FindControl(pt);
        if (control && control->GetManager() == this)
            SendEvent(control, UIEVENT_CONTEXTMENU, wParam, lParam);
        return false;
    }
    case WM_CONTEXTMENU:
        // From the keyboard (menu key): the focused control's menu.
        if (lParam == -1 && m_pFocus) SendEvent(m_pFocus, UIEVENT_CONTEXTMENU, wParam, lParam);
        return false;
    case WM_MOUSEWHEEL: {
        POINT pt;
        pt.x = GET_X_LPARAM(lParam);
        pt.y = GET_Y_LPARAM(lParam);
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        HideToolTip();
        CControlUI* control = FindControl(pt);
        if (!control || control->GetManager() != this) return false;
        int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        // LOWORD: SB_LINEUP (0) / SB_LINEDOWN (1); HIWORD: the raw delta.
        WPARAM w = static_cast<WPARAM>(MAKELPARAM(delta < 0 ? 1 : 0, delta));
        SendEvent(control, UIEVENT_SCROLLWHEEL, w, MAKELPARAM(pt.x, pt.y));
        return false;
    }
    case WM_SETCURSOR: {
        CControlUI* control = m_pEventClick ? m_pEventClick : m_pEventHover;
        if (control && (control->GetControlFlags() & UIFLAG_SETCURSOR)) {
            SendEvent(control, UIEVENT_SETCURSOR, wParam, lParam);
            result = 1;
            return true;
        }
        return false;
    }
    case WM_KILLFOCUS:
        // The window lost the keyboard: a press in progress ends, and the focused
        // control shows it no longer has the keyboard.
        if (m_bMouseCapture) ReleaseCapture();
        m_pEventClick = nullptr;
        HideToolTip();
        if (m_pFocus) SendEvent(m_pFocus, UIEVENT_KILLFOCUS);
        return false;
    case WM_SETFOCUS:
        if (m_pFocus && !m_pFocus->IsFocused()) SendEvent(m_pFocus, UIEVENT_SETFOCUS);
        return false;
    case WM_CAPTURECHANGED:
        m_bMouseCapture = false;
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_IME_COMPOSITION:
        if (OnKey(msg, wParam, lParam)) {
            result = 0;
            return true;
        }
        return false;
    case WM_DESTROY:
        HideToolTip();
        RemoveAllTimers();
        return false;
    default:
        return false;
    }
}

}  // namespace uilib
