// Writes where the window's named controls are, for end-to-end tests that click them
// with real input, and what they show. Only done when ORVELLA_CONTROL_TREE_FILE names a file.
#pragma once

#include <string>

#include "uilib/PaintManager.h"

namespace orvella {

// One line per named control: "name class left top right bottom visible text" (client
// coordinates; the text on one line), after a first line "window left top right bottom" (screen
// coordinates); then "marked name" for each marked list or menu row and "disabled name" for
// each control that cannot be used; last "layout path" naming the layout file.
std::string DescribeControlTree(uilib::CPaintManagerUI* pm, const RECT& windowRect);
// Writes the description to the file named by ORVELLA_CONTROL_TREE_FILE, if set; the
// program's other windows add a suffix of their own ("controls.txt.about").
void WriteControlTreeIfAsked(uilib::CPaintManagerUI* pm, HWND hwnd, const std::string& suffix = "");

}  // namespace orvella
