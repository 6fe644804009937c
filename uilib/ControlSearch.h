// Searches of a control subtree that need nothing from the paint manager.
#pragma once

#include <vector>

#include "uilib/WindowWnd.h"

namespace uilib {

class CControlUI;

// The topmost visible, enabled, hit-testable control of the subtree at pt.
CControlUI* FindControlAt(CControlUI* root, POINT pt);
// The first control of the subtree with this name (parent included); nullptr when none.
CControlUI* FindDescendantByName(CControlUI* parent, const char* name);
// Every control of the subtree whose class is className, in tree order.
std::vector<CControlUI*> FindDescendantsByClass(CControlUI* parent, const char* className);

}  // namespace uilib
