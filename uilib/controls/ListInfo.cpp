#include "uilib/controls/ListInfo.h"

#include <algorithm>
#include <string>

#include "uilib/AttributeValue.h"

namespace uilib {

bool TListInfoUI::SetAttribute(const char* name, const char* value) {
    struct ColorAttr { const char* name; DWORD TListInfoUI::*field; };
    static const ColorAttr kColors[] = {
        {"itemtextcolor", &TListInfoUI::dwTextColor},
        {"itembkcolor", &TListInfoUI::dwBkColor},
        {"itemselectedtextcolor", &TListInfoUI::dwSelectedTextColor},
        {"itemselectedbkcolor", &TListInfoUI::dwSelectedBkColor},
        {"itemhottextcolor", &TListInfoUI::dwHotTextColor},
        {"itemhotbkcolor", &TListInfoUI::dwHotBkColor},
        {"itemdisabledtextcolor", &TListInfoUI::dwDisabledTextColor},
        {"itemlinecolor", &TListInfoUI::dwLineColor},
    };
    struct ImageAttr { const char* name; CStdString TListInfoUI::*field; };
    static const ImageAttr kImages[] = {
        {"itembkimage", &TListInfoUI::sBkImage},
        {"itemselectedimage", &TListInfoUI::sSelectedImage},
        {"itemhotimage", &TListInfoUI::sHotImage},
    };
    // Row text that picks itself the readable colour on whatever the rows lie on.
    if (attr::IsName(name, "itemtextcolor") && value && std::string(value) == "auto") {
        bAutoTextColor = true;
        return true;
    }
    for (const auto& a : kColors) {
        if (attr::IsName(name, a.name)) { this->*a.field = attr::ParseColor(value); return true; }
    }
    for (const auto& a : kImages) {
        if (attr::IsName(name, a.name)) { this->*a.field = value ? value : ""; return true; }
    }
    if (attr::IsName(name, "itemfont")) {
        nFont = attr::ParseInt(value, -1);
    } else if (attr::IsName(name, "itemheight")) {
        nItemHeight = std::max(0, attr::ParseInt(value, 0));
    } else if (attr::IsName(name, "itemtextpadding")) {
        rcTextPadding = attr::ParseRect(value);
    } else if (attr::IsName(name, "itemaltbk")) {
        // "true"/"false", or the stripe colour itself.
        if (attr::TryParseColor(value, &dwAltBkColor))
            bAlternateBk = true;
        else
            bAlternateBk = attr::ParseBool(value);
    } else if (attr::IsName(name, "itemalign")) {
        std::string v = value ? value : "";
        uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        if (v.find("center") != std::string::npos) uTextStyle |= DT_CENTER;
        if (v.find("right") != std::string::npos) uTextStyle |= DT_RIGHT;
    } else if (attr::IsName(name, "multiexpanding")) {
        bMultiExpandable = attr::ParseBool(value);
    } else {
        return false;
    }
    return true;
}

}  // namespace uilib
