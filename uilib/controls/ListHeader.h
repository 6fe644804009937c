// The column header of a list: a row of header items whose widths set the columns.
#pragma once

#include "uilib/Container.h"

namespace uilib {

class CListHeaderUI : public CHorizontalLayoutUI {
public:
    CListHeaderUI();

    const char* GetClass() const override;          // "ListHeaderUI"
    void* GetInterface(const char* name) override;  // "ListHeader"

    // Height: the fixed height, else the tallest item's, else a line of text; 0 when
    // the header has no items (a list without columns shows no header).
    SIZE EstimateSize(SIZE available) override;
};

}  // namespace uilib
