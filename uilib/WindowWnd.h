// The base class of every window: a native window with a message handler.
#pragma once

#include "uilib/Base.h"

namespace uilib {

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    HWND Create(HWND parent, const char* name, DWORD style, DWORD exStyle, int x = 0, int y = 0,
                int cx = 100, int cy = 100);
    HWND Create(HWND parent, const char* name, DWORD style, DWORD exStyle, const RECT& rc);
    void ShowWindow(bool show = true, bool takeFocus = true);
    void Close(UINT ret = 1);  // posts WM_CLOSE
    void CenterWindow();      // over the owner, or the work area
    void SetIcon(UINT resourceId);  // icon/<id>.png of the program folder, else the app icon
    void ResizeClient(int cx = -1, int cy = -1);
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual const char* GetWindowClassName() const = 0;
    virtual const char* GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);  // DefWindowProc
    virtual void OnFinalMessage(HWND hwnd);  // after WM_NCDESTROY; may delete this

    HWND m_hWnd = nullptr;

public:
    // The procedure of every window made through this class (tests tell them apart by it).
    static LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

}  // namespace uilib
