// Registers the list, input and range controls of this folder with the layout builder.
#pragma once

namespace uilib {

// Edit, Combo, Slider, Progress, ScrollBar, List, ListHeader, ListHeaderItem,
// ListLabelElement, ListContainerElement, ListExpandElement. Safe to call again.
void RegisterListAndInputControls();

}  // namespace uilib
