// A text row: its own text, or per column the text the list's callback gives.
#pragma once

#include "uilib/controls/ListElement.h"

namespace uilib {

class CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI();

    const char* GetClass() const override;          // "ListLabelElementUI"
    void* GetInterface(const char* name) override;  // "ListLabelElement"

    SIZE EstimateSize(SIZE available) override;  // height: fixed, else the list's row height
    void DrawItemText(cairo_t* cr, const RECT& rcItem) override;
};

}  // namespace uilib
