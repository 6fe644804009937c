#include "ui/HotKeyUI.h"

#include "hotkeys/HotkeyText.h"
#include "uilib/AttributeValue.h"

namespace orvella {

namespace {

// A modifier pressed on its own names no combination; the platform may report the
// left and right keys separately.
bool IsBareModifier(int virtualKey) {
    constexpr int kLeftShift = 0xA0, kRightAlt = 0xA5;
    return virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU ||
           (virtualKey >= kLeftShift && virtualKey <= kRightAlt);
}

bool Held(int virtualKey) { return platform::HasBackend() && (::GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

const char* CHotKeyUI::GetClass() const { return "HotKeyUI"; }

void* CHotKeyUI::GetInterface(const char* name) {
    if (uilib::attr::IsName(name, "HotKey")) return this;
    return CEditUI::GetInterface(name);
}

UINT CHotKeyUI::GetControlFlags() const {
    UINT flags = CEditUI::GetControlFlags();
    if (m_recording && IsEnabled()) flags |= uilib::UIFLAG_WANTALLKEYS;
    return flags;
}

void CHotKeyUI::StartRecording() {
    if (m_recording) return;
    m_recording = true;
    // A steady caret shows the field is listening. Keys must reach us as keys: an input
    // method left on by a text field would compose them into text.
    m_bCaretOn = true;
    if (m_pManager && m_pManager->GetPaintWindow() && platform::HasBackend())
        platform::GetBackend().SetInputMethod(m_pManager->GetPaintWindow(), false, RECT{});
    Invalidate();
}

void CHotKeyUI::EndRecording() {
    m_recording = false;
    m_bCaretOn = false;
    Invalidate();
}

void CHotKeyUI::Capture(int virtualKey) {
    if (!m_table || IsBareModifier(virtualKey)) return;
    const HotkeyCapture capture =
        CaptureCode(*m_table, m_action, virtualKey, Held(VK_CONTROL), Held(VK_MENU), Held(VK_SHIFT));
    if (capture.code == 0) return;
    if (!capture.conflict.empty()) {
        if (m_pManager)
            m_pManager->SendNotify(this, "settings_hotkeywnd_conflict",
                                   reinterpret_cast<WPARAM>(&capture.conflict), 0);
        return;
    }
    m_code = capture.code;
    SetText(capture.text.c_str());
    Invalidate();
}

void CHotKeyUI::DoEvent(uilib::TEventUI& event) {
    using namespace uilib;
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled() && m_pManager && m_pManager->GetPaintWindow() && platform::HasBackend())
            platform::GetBackend().SetCursor(m_pManager->GetPaintWindow(), CursorShape::IBeam);
        return;
    case UIEVENT_SETFOCUS:
        if (!IsEnabled()) return;
        m_bFocused = true;
        StartRecording();
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        EndRecording();
        if (IsEnabled()) Notify("edit_kill_focus");
        return;
    case UIEVENT_WINDOWSIZE:
    case UIEVENT_SCROLLWHEEL:
        if (m_recording) {
            if (m_pManager) m_pManager->SetFocus(nullptr);
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && m_bFocused) StartRecording();
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_KEYDOWN:
    case UIEVENT_SYSKEY:
        if (m_recording && IsEnabled()) Capture(static_cast<int>(event.chKey));
        return;
    case UIEVENT_KEYUP:
    case UIEVENT_CHAR:
    case UIEVENT_IME:
        return;  // typing, pasting and composing never edit the field
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

}  // namespace orvella
