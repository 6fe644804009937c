#include "app/DiscDrives.h"

#include "app/DiscRules.h"
#include "ui/MenuWnd.h"
#include "uilib/PaintManager.h"
#include "uilib/controls/Label.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListContainerElement.h"

namespace orvella {

namespace {

// The look comes from the menu layout's defaults for the kind of control.
void ApplyDefaults(uilib::CListUI& list, uilib::CControlUI& control, const char* kind) {
    uilib::CPaintManagerUI* pm = list.GetManager();
    if (const char* defaults = pm ? pm->GetDefaultAttributeList(kind) : nullptr)
        control.ApplyAttributeList(defaults);
}

}  // namespace

void FillOpenDiscRows(uilib::CListUI& list) {
    for (const platform::OpticalDrive& drive : platform::GetBackend().ListOpticalDrives()) {
        uilib::CListContainerElementUI* row = CMenuWnd::CreateRow();
        ApplyDefaults(list, *row, "ListContainerElement");
        row->SetName(DiscRowName(drive).c_str());
        auto* label = new uilib::CLabelUI();
        ApplyDefaults(list, *label, "Label");
        label->SetText(DiscRowText(drive).c_str());
        row->Add(label);
        list.Add(row);
    }
}

}  // namespace orvella
