// The rows of the open-disc submenu: one per optical drive.
#pragma once

namespace uilib {
class CListUI;
}

namespace orvella {

// Adds a row per optical drive, in the volume monitor's order; without optical drives
// one disabled row "No optical drive".
void FillOpenDiscRows(uilib::CListUI& list);

}  // namespace orvella
