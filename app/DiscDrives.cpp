#include "app/DiscDrives.h"

#include <string>
#include <vector>

#include "app/DiscMenus.h"
#include "app/DiscRules.h"
#include "library/LocalStrings.h"
#include "platform/Platform.h"

namespace orvella {

void FillOpenDiscRows(uilib::CListUI& list) {
    std::vector<DiscMenuRow> rows;
    for (const platform::OpticalDrive& drive : platform::GetBackend().ListOpticalDrives())
        rows.push_back(DiscMenuRow{DiscRowName(drive), DiscRowText(drive), false});
    // Without a name the row is shown disabled: it says why nothing can be chosen.
    if (rows.empty()) rows.push_back(DiscMenuRow{std::string(), LocalString(46, "No optical drive"), false});
    AddDiscMenuRows(rows, list);
}

}  // namespace orvella
