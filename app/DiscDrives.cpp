#include "app/DiscDrives.h"

#include <vector>

#include "app/DiscMenus.h"
#include "app/DiscRules.h"
#include "platform/Platform.h"

namespace orvella {

void FillOpenDiscRows(uilib::CListUI& list) {
    std::vector<DiscMenuRow> rows;
    for (const platform::OpticalDrive& drive : platform::GetBackend().ListOpticalDrives())
        rows.push_back(DiscMenuRow{DiscRowName(drive), DiscRowText(drive), false});
    AddDiscMenuRows(rows, list);
}

}  // namespace orvella
