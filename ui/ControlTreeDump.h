// Writes where the window's named controls are, for end-to-end tests that click them
// with real input, and what they show. Only done when ORVELLA_CONTROL_TREE_FILE names a file.
#pragma once

#include <optional>
#include <string>

#include "uilib/PaintManager.h"

namespace orvella {

// One line per named control: "name class left top right bottom visible text" (client
// coordinates; the text on one line), after a first line "window left top right bottom" (screen
// coordinates); then "marked name" for each marked list or menu row or chosen option,
// "disabled name" for each control that cannot be used, "image name picture" for each
// background picture, "shows name text" for a named container without a text of its own
// whose first label has one (a menu row), "cut name-or-class needWxH roomWxH text" for each
// shown text that does not fit its control (too wide on one line, too tall wrapped),
// "boxes name-or-class text" for each shown text with characters no font can draw,
// "scheme AARRGGBB", the window's scheme colour, and last "layout path", its layout file.
struct TextCut {
    SIZE need;  // what the text takes
    SIZE room;  // what its control gives it, inside the text padding
};
// Whether a control's text is cut off as it is laid out now.
std::optional<TextCut> FindTextCut(uilib::CControlUI* control);

std::string DescribeControlTree(uilib::CPaintManagerUI* pm, const RECT& windowRect);
// Writes the description to the file named by ORVELLA_CONTROL_TREE_FILE, if set; the
// program's other windows add a suffix of their own ("controls.txt.about").
void WriteControlTreeIfAsked(uilib::CPaintManagerUI* pm, HWND hwnd, const std::string& suffix = "");

}  // namespace orvella
