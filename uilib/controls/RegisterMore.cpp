#include "uilib/controls/RegisterMore.h"

#include "uilib/DialogBuilder.h"
#include "uilib/controls/Combo.h"
#include "uilib/controls/Edit.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListContainerElement.h"
#include "uilib/controls/ListExpandElement.h"
#include "uilib/controls/ListHeader.h"
#include "uilib/controls/ListHeaderItem.h"
#include "uilib/controls/ListLabelElement.h"
#include "uilib/controls/Progress.h"
#include "uilib/controls/ScrollBar.h"
#include "uilib/controls/Slider.h"

namespace uilib {

namespace {
template <typename T>
CControlUI* Make() { return new T; }

struct Entry {
    const char* tag;
    ControlFactoryFn create;
};

const Entry kControls[] = {
    {"Edit", &Make<CEditUI>},
    {"Combo", &Make<CComboUI>},
    {"Slider", &Make<CSliderUI>},
    {"Progress", &Make<CProgressUI>},
    {"ScrollBar", &Make<CScrollBarUI>},
    {"List", &Make<CListUI>},
    {"ListHeader", &Make<CListHeaderUI>},
    {"ListHeaderItem", &Make<CListHeaderItemUI>},
    {"ListLabelElement", &Make<CListLabelElementUI>},
    {"ListContainerElement", &Make<CListContainerElementUI>},
    {"ListExpandElement", &Make<CListExpandElementUI>},
};
}  // namespace

void RegisterListAndInputControls() {
    for (const Entry& e : kControls) RegisterControlClass(e.tag, e.create);
}

}  // namespace uilib
