// What the main window's collaborators (playback, play list) may do to the window: named
// controls, timers, the video window and the window's size. The main window implements
// it over its paint manager; tests implement it with a recorder. A control that the
// layout does not have is skipped by every call.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace orvella {

class PlayerView {
public:
    virtual ~PlayerView() = default;

    virtual HWND Handle() const = 0;

    // Named controls
    virtual bool HasControl(const char* name) const = 0;
    virtual void ShowControl(const char* name, bool visible) = 0;
    virtual void EnableControl(const char* name, bool enabled) = 0;
    virtual void SetControlText(const char* name, const std::string& text) = 0;
    // colour 0: the control's own colour handling (it follows the scheme); else that colour.
    virtual void SetControlTextColor(const char* name, uint32_t argb) = 0;
    virtual void SetSliderValue(const char* name, int value) = 0;
    virtual bool IsMouseOverControl(const char* name) const = 0;
    // The width the layout gives the control (0 when it has none or is missing).
    virtual int ControlWidth(const char* name) const = 0;
    // The size the control has on screen now (0 x 0 when it is missing).
    virtual SIZE ControlSize(const char* name) const = 0;
    // The inner margins of a container (all 0 when it is missing or none).
    virtual RECT ControlInset(const char* name) const = 0;
    virtual void SetControlInset(const char* name, const RECT& inset) = 0;

    // Timers of the main window (Windows semantics: one per id, repeating until killed).
    virtual void StartTimer(UINT_PTR id, UINT milliseconds) = 0;
    virtual void StopTimer(UINT_PTR id) = 0;

    // The video window inside "media": made when missing; its native id for the engine,
    // 0 when there is no video area or it could not be made.
    virtual bool HasVideoArea() const = 0;
    virtual uint64_t EnsureVideoWindow() = 0;
    // relayout: ask the area and its parent to lay out again afterwards.
    virtual void DestroyVideoWindow(bool relayout) = 0;
    // The video window paints itself black once more (a new video starts in it).
    virtual void RepaintVideoBlack() = 0;

    // The window
    virtual bool IsFullScreen() const = 0;
    virtual void LeaveFullScreen() = 0;
    virtual void ResizeKeepingPosition(int width, int height) = 0;
    virtual SIZE WindowSize() const = 0;
    virtual RECT WorkArea() const = 0;
    virtual SIZE MinimumSize() const = 0;  // what the layout needs with the controls shown now
    virtual int SkinIndex() const = 0;
};

}  // namespace orvella
