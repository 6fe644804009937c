// One column of a list header: a caption; its width is the column's width. With
// "dragable" the right edge ("sepwidth" pixels) resizes the column.
#pragma once

#include "uilib/controls/Label.h"

namespace uilib {

class CListHeaderItemUI : public CLabelUI {
public:
    CListHeaderItemUI();

    const char* GetClass() const override;          // "ListHeaderItemUI"
    void* GetInterface(const char* name) override;  // "ListHeaderItem"

    bool IsDragable() const { return m_bDragable; }
    void SetDragable(bool dragable) { m_bDragable = dragable; }
    int GetSepWidth() const { return m_iSepWidth; }
    void SetSepWidth(int width) { m_iSepWidth = width; }
    UINT GetButtonState() const { return m_uButtonState; }

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(cairo_t* cr) override;

private:
    RECT SeparatorRect() const;

    bool m_bDragable = false;
    int m_iSepWidth = 4;
    UINT m_uButtonState = 0;
    POINT m_ptLastMouse{};
    DWORD m_dwSepColor = 0x30808080;
    CStdString m_sNormalImage, m_sHotImage, m_sPushedImage, m_sSepImage;
};

}  // namespace uilib
