// The paint manager: one per window. It owns the control tree, turns window messages
// into control events, paints, keeps focus, capture, hot control, timers and tooltips,
// holds fonts, images and default attributes, and delivers notifications.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "uilib/WindowWnd.h"

namespace uilib {

class CControlUI;
class CPaintManagerUI;
struct ImageData;  // a decoded picture (see UIRender.h)

// Control event types. The numbers are fixed: custom controls test them by number.
enum UIEVENT {
    UIEVENT__FIRST = 1,
    UIEVENT__KEYBEGIN = 2,
    UIEVENT_KEYDOWN = 3,
    UIEVENT_KEYUP = 4,
    UIEVENT_CHAR = 5,
    UIEVENT_SYSKEY = 6,
    UIEVENT__KEYEND = 7,
    UIEVENT__MOUSEBEGIN = 8,
    UIEVENT_MOUSEMOVE = 9,
    UIEVENT_MOUSELEAVE = 10,
    UIEVENT_MOUSEENTER = 11,
    UIEVENT_MOUSEHOVER = 12,
    UIEVENT_BUTTONDOWN = 13,
    UIEVENT_BUTTONUP = 14,
    UIEVENT_RBUTTONDOWN = 15,
    UIEVENT_DBLCLICK = 16,
    UIEVENT_CONTEXTMENU = 17,
    UIEVENT_SCROLLWHEEL = 18,
    UIEVENT__MOUSEEND = 19,
    UIEVENT_KILLFOCUS = 20,
    UIEVENT_SETFOCUS = 21,
    UIEVENT_WINDOWSIZE = 22,
    UIEVENT_SETCURSOR = 23,
    UIEVENT_TIMER = 24,
    UIEVENT_NOTIFY = 25,
    UIEVENT_COMMAND = 26,
    UIEVENT_IME = 27,   // input method pre-edit changed (lParam: const std::string*)
    UIEVENT__LAST = 28,
};

// Control flags answered by CControlUI::GetControlFlags.
constexpr UINT UIFLAG_TABSTOP = 0x00000001;
constexpr UINT UIFLAG_SETCURSOR = 0x00000002;
constexpr UINT UIFLAG_WANTRETURN = 0x00000004;
// While focused, the control takes every key, Tab included (a field that records key
// combinations); the window then moves no focus by keyboard.
constexpr UINT UIFLAG_WANTALLKEYS = 0x00000008;

// FindControl flags.
constexpr UINT UIFIND_ALL = 0x00000000;
constexpr UINT UIFIND_VISIBLE = 0x00000001;
constexpr UINT UIFIND_ENABLED = 0x00000002;
constexpr UINT UIFIND_HITTEST = 0x00000004;
constexpr UINT UIFIND_TOP_FIRST = 0x00000008;
constexpr UINT UIFIND_ME_FIRST = 0x80000000;

// Control states (bits of the state word of buttons, options, sliders, edits).
constexpr UINT UISTATE_FOCUSED = 0x00000001;
constexpr UINT UISTATE_SELECTED = 0x00000002;
constexpr UINT UISTATE_DISABLED = 0x00000004;
constexpr UINT UISTATE_HOT = 0x00000008;
constexpr UINT UISTATE_PUSHED = 0x00000010;
constexpr UINT UISTATE_READONLY = 0x00000020;
constexpr UINT UISTATE_CAPTURED = 0x00000040;

struct TEventUI {
    int Type = 0;
    CControlUI* pSender = nullptr;
    uint64_t dwTimestamp = 0;
    POINT ptMouse;        // client coordinates of the window
    uint32_t chKey = 0;   // virtual key (KEYDOWN/KEYUP) or code point (CHAR)
    WORD wKeyState = 0;   // MK_ flags
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// A notification. From a control: pSender is set. From a window: pSenderWnd is set.
struct TNotifyUI {
    CStdString sType;
    CControlUI* pSender = nullptr;
    CWindowWnd* pSenderWnd = nullptr;
    uint64_t dwTimestamp = 0;
    POINT ptMouse;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Receiver of notifications; every window implements it.
class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    // Sent by another window through SendNotify(CWindowWnd*, ...).
    virtual void NotifyFromWindow(TNotifyUI& msg) = 0;
    // Sent by a control of a paint manager this receiver is registered with.
    virtual void Notify(TNotifyUI& msg) = 0;
};

// A message filter that sees window messages before the paint manager handles them.
class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

struct TFontInfo {
    CStdString family;  // fontconfig family, e.g. "Sans"
    int size = 12;      // pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();

    void Init(HWND hwnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }

    // Control tree
    bool AttachDialog(CControlUI* root);   // takes ownership; replaces and deletes the old root
    CControlUI* GetRoot() const { return m_root.get(); }
    bool InitControls(CControlUI* control, CControlUI* parent = nullptr);
    void ReapObjects(CControlUI* control);  // forget a control about to be deleted
    // Deletes a control removed from the tree once the current message is handled (it
    // may be the one whose event or notification is running).
    void AddDelayedCleanup(CControlUI* control);
    bool AddName(CControlUI* control);
    bool RemoveName(CControlUI* control);
    CControlUI* FindControl(const char* name) const;  // nullptr when absent
    CControlUI* FindControl(POINT pt) const;           // topmost visible, enabled, hit-testable
    CControlUI* FindSubControlByName(CControlUI* parent, const char* name) const;
    CControlUI* FindSubControlByClass(CControlUI* parent, const char* className, int index = 0);
    std::vector<CControlUI*> FindSubControlsByClass(CControlUI* parent, const char* className);

    // Notifications
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* control, const char* type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false);
    // A window notification to every notifier of this manager (INotifyUI::NotifyFromWindow).
    void SendNotify(CWindowWnd* sender, const char* type, WPARAM wParam = 0, LPARAM lParam = 0);
    // Delivers the queued asynchronous notifications now, in order (the window does this
    // from a posted message; tests without a window call it themselves).
    void DispatchAsyncNotify();
    size_t PendingAsyncNotifyCount() const;
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);

    // Window messages: offered every message first; true when consumed.
    bool MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static int MessageLoop();  // runs until WM_QUIT; returns its exit code

    // Window attributes from the layout
    SIZE GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(int cx, int cy);
    RECT& GetSizeBox() { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rc) { m_rcSizeBox = rc; }
    RECT& GetCaptionRect() { return m_rcCaption; }
    void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner.cx = cx; m_szRoundCorner.cy = cy; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow.cx = cx; m_szMinWindow.cy = cy; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow.cx = cx; m_szMaxWindow.cy = cy; }
    // The least size the window may have: "mininfo", or more where the visible controls
    // of fixed size need more (LeastSize of the root).
    SIZE GetLeastWindowSize() const;
    // Grows a window the user sizes (its layout has a "sizebox"; top-level, in its normal
    // state) to its least size.
    void FitLeastSize();
    void GetMinMaxInfo(MINMAXINFO* info) const;  // min and max track sizes (0 = none)
    void SetWindowAttribute(const char* name, const char* value);  // the <Window> attributes

    // The scheme colour: tints every area the layout marks for it.
    void SetColor(DWORD argb);
    DWORD GetMainBKColor() const { return m_dwMainBkColor; }

    // Resources
    // Fonts, pictures and defaults missing here come from parent. A manager never points
    // at one that is gone: when the parent goes, its users lose it (or are handed on).
    void UseParentResource(CPaintManagerUI* parent);
    CPaintManagerUI* GetParentResource() const { return m_pParentResourcePM; }
    // Every manager using this one's resources uses heir's from now on (null: none).
    void HandResourceUsersTo(CPaintManagerUI* heir);
    static void SetResourceInstance(void* instance) { s_resourceInstance = instance; }
    static void* GetResourceInstance() { return s_resourceInstance; }
    static CStdString GetResourcePath();          // default: GetAppPath()
    static void SetResourcePath(const char* path);  // ends with "/"
    // Pictures by file name relative to the resource path (either separator) or absolute.
    const ImageData* GetImage(const char* file);
    const ImageData* GetImageEx(const char* file, DWORD mask = 0);
    void RemoveAllImages();
    // Decodes these pictures on a background thread (the layout builder names the ones
    // its layout uses), so that the first paint finds them ready.
    void PrefetchImages(std::vector<CStdString> files);

    // Fonts (id from the layout; -1 or unknown id: the default font)
    void AddFont(int id, const TFontInfo& font);
    const TFontInfo& GetFont(int id) const;
    void SetDefaultFont(const TFontInfo& font);
    const TFontInfo& GetDefaultFontInfo() const;

    // Default colours
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD c) { m_dwDefaultFontColor = c; }
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD c) { m_dwDefaultDisabledColor = c; }
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD c) { m_dwDefaultSelectedBkColor = c; }

    // Default attribute lists by control class (layout tag such as "Button")
    void AddDefaultAttributeList(const char* controlName, const char* attrList);
    const char* GetDefaultAttributeList(const char* controlName) const;  // nullptr when none
    void RemoveAllDefaultAttributeList();

    // Focus, capture, hot control
    CControlUI* GetFocus() const;
    void SetFocus(CControlUI* control);
    void SetFocusNeeded(CControlUI* control);
    bool SetNextTabControl(bool forward = true);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;
    CControlUI* GetEventClick() const;
    // Whether the focus last moved by keyboard (Tab): focus rings show only then.
    bool IsFocusFromKeyboard() const;
    CControlUI* GetEventHover() const;

    // Control timers: UIEVENT_TIMER with wParam = id to the control
    bool SetTimer(CControlUI* control, UINT timerId, UINT elapseMs);
    bool KillTimer(CControlUI* control, UINT timerId);
    void KillTimer(CControlUI* control);
    void RemoveAllTimers();

    // Layout and painting
    void NeedUpdate() { m_bUpdateNeeded = true; }
    void Invalidate(const RECT& rc);
    void Invalidate();
    // Paints the whole client area into cr (used by WM_PAINT and by tests off screen).
    void PaintTo(cairo_t* cr, const RECT& rcPaint);
    void UpdateLayout();  // lays out now if needed
    POINT GetMousePos() const;
    SIZE GetClientSize() const;
    int GetScale() const;  // device pixels per logical pixel

    // Tooltips
    void ShowToolTip(CControlUI* control, POINT pt);
    void HideToolTip();
    CStdString GetToolTipText() const;  // the one showing, if any

    // The layout file the tree came from (for error messages).
    void SetLayoutFile(const char* file) { m_sLayoutFile = file; }
    const CStdString& GetLayoutFile() const { return m_sLayoutFile; }

private:
    struct Impl;
    using MessageHandlerFn = bool (CPaintManagerUI::*)(WPARAM, LPARAM, LRESULT&);
    struct MessageRoute {
        UINT message;
        MessageHandlerFn handler;
    };
    static const MessageRoute kMessageRoutes[];

    void SendWindowInit();
    bool OnAsyncNotify(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCleanup(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnWindowInit(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnFitLeastSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnEraseBackground(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnPaint(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnTimer(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND m_hWndPaint = nullptr;
    std::unique_ptr<CControlUI> m_root;
    SIZE m_szInitWindowSize{};
    SIZE m_szMinWindow{};
    SIZE m_szMaxWindow{};
    SIZE m_szRoundCorner{};
    RECT m_rcSizeBox{};
    RECT m_rcCaption{};
    DWORD m_dwMainBkColor = 0;
    DWORD m_dwDefaultFontColor = 0;
    DWORD m_dwDefaultDisabledColor = 0;
    DWORD m_dwDefaultSelectedBkColor = 0;
    bool m_bUpdateNeeded = false;
    CPaintManagerUI* m_pParentResourcePM = nullptr;
    std::vector<CPaintManagerUI*> m_resourceUsers;  // the managers whose parent this is
    CStdString m_sLayoutFile;
    // Notifiers, names, timers, fonts, images, defaults, tooltips and input routing.
    std::unique_ptr<Impl> m_impl;
    static void* s_resourceInstance;
};

}  // namespace uilib
