// The attributes of a layout's <Window> element, applied to its paint manager.
#pragma once

namespace uilib {

class CPaintManagerUI;

// Sets the named attribute from its text; false when no such attribute exists.
bool ApplyWindowAttribute(CPaintManagerUI& manager, const char* name, const char* value);

}  // namespace uilib
