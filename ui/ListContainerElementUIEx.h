// A list row for menus (layout tag "ListContainerElementEx"): it reports the pointer
// entering ("itemmouseenter", wParam 3) and leaving ("itemmouseleave", wParam 0) and
// is never selected or clicked; its child controls do the work.
#pragma once

#include "uilib/controls/ListContainerElement.h"

namespace orvella {

class CListContainerElementUIEx : public uilib::CListContainerElementUI {
public:
    void DoEvent(uilib::TEventUI& event) override;
};

}  // namespace orvella
