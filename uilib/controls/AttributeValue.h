// Parsing of layout attribute values shared by the controls in this folder.
// Bad text gives the fallback, never an exception.
#pragma once

#include "uilib/Base.h"

namespace uilib {
namespace attr {

bool ParseBool(const char* value);                       // "true"/"1" → true
int ParseInt(const char* value, int fallback = 0);
// "#AARRGGBB", "#RRGGBB" (opaque) or "0xAARRGGBB"; fallback when unreadable.
DWORD ParseColor(const char* value, DWORD fallback = 0);
RECT ParseRect(const char* value);                       // "l,t,r,b"; missing parts 0
SIZE ParseSize(const char* value);                       // "cx,cy"
bool IsName(const char* name, const char* expected);     // exact match, null-safe

}  // namespace attr
}  // namespace uilib
