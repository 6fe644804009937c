// The main window as its collaborators see it: PlayerView over the window's paint
// manager and native window.
#pragma once

#include <map>
#include <string>

#include "app/PlayerView.h"

namespace uilib {
class CControlUI;
class CPaintManagerUI;
}  // namespace uilib

namespace orvella {

class CMediaUI;
class CMediaWnd;
class DisplayModes;

class MainWindowView : public PlayerView {
public:
    // The paint manager may change (a rebuilt layout) or go (released): set it each time.
    void Attach(HWND window, uilib::CPaintManagerUI* pm, int skinIndex) {
        m_window = window;
        m_pm = pm;
        m_skinIndex = skinIndex;
        m_originalColours.clear();
    }

    // Full screen is the display modes' to enter and leave.
    void SetDisplayModes(DisplayModes* modes) { m_modes = modes; }

    HWND Handle() const override { return m_window; }
    bool HasControl(const char* name) const override { return Find(name) != nullptr; }
    void ShowControl(const char* name, bool visible) override;
    void EnableControl(const char* name, bool enabled) override;
    void SetControlText(const char* name, const std::string& text) override;
    void SetControlTextColor(const char* name, uint32_t argb) override;
    void SetSliderValue(const char* name, int value) override;
    bool IsMouseOverControl(const char* name) const override;
    int ControlWidth(const char* name) const override;
    SIZE ControlSize(const char* name) const override;
    RECT ControlInset(const char* name) const override;
    void SetControlInset(const char* name, const RECT& inset) override;
    void StartTimer(UINT_PTR id, UINT milliseconds) override;
    void StopTimer(UINT_PTR id) override;
    bool HasVideoArea() const override { return Media() != nullptr; }
    uint64_t EnsureVideoWindow() override;
    void DestroyVideoWindow(bool relayout) override;
    // The video window taken out of the layout and put into another (a rebuild): the
    // native window, and the engine drawing into it, live on. Null when there is none.
    CMediaWnd* DetachVideoWindow();
    void AttachVideoWindow(CMediaWnd* video);
    void RepaintVideoBlack() override;
    bool IsFullScreen() const override;
    void LeaveFullScreen() override;
    void ResizeKeepingPosition(int width, int height) override;
    SIZE WindowSize() const override;
    RECT WorkArea() const override;
    SIZE MinimumSize() const override;
    int SkinIndex() const override { return m_skinIndex; }

    // Reading named controls, for the main window's own notifications.
    std::string ControlText(const char* name) const;
    int ComboSelection(const char* name) const;  // -1: nothing chosen, or no such combo
    std::string ComboItemText(const char* name, int item) const;
    void ClearComboSelection(const char* name);

private:
    uilib::CControlUI* Find(const char* name) const;
    CMediaUI* Media() const;

    HWND m_window = nullptr;
    uilib::CPaintManagerUI* m_pm = nullptr;
    int m_skinIndex = 0;
    DisplayModes* m_modes = nullptr;
    std::map<std::string, uint32_t> m_originalColours;  // text colours before a preview
};

}  // namespace orvella
