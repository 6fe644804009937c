// The looks shared by every row of one list or combo.
#pragma once

#include <vector>

#include "uilib/Control.h"
#include "uilib/RenderEngine.h"

namespace uilib {

// Looks shared by every row of one list (or combo); the owner fills it from its
// item attributes and the header's column positions.
struct TListInfoUI {
    std::vector<RECT> columns;  // x extents of the header's columns; empty: one column
    int nFont = -1;
    UINT uTextStyle = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    RECT rcTextPadding{4, 0, 4, 0};
    int nItemHeight = 0;            // rows without a fixed height; 0: from the font
    DWORD dwTextColor = 0;          // 0: the manager's default text colour
    bool bAutoTextColor = false;    // "auto": rows pick near-white or near-black by contrast
    DWORD dwBkColor = 0;
    bool bAlternateBk = false;
    DWORD dwAltBkColor = 0;         // 0 with bAlternateBk: a shade of the background
    DWORD dwSelectedTextColor = 0;
    DWORD dwSelectedBkColor = 0;    // 0: the manager's default selected colour
    DWORD dwHotTextColor = 0;
    DWORD dwHotBkColor = 0x20808080;
    DWORD dwDisabledTextColor = 0;
    DWORD dwLineColor = 0;
    CStdString sBkImage, sSelectedImage, sHotImage;
    bool bMultiExpandable = false;

    // Parses one of the item attributes above ("itemfont", "itemtextcolor", ...).
    bool SetAttribute(const char* name, const char* value);
};

}  // namespace uilib
