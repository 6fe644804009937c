// The one reader of layout values: control attributes, window attributes, fonts and the
// keys of picture texts all go through here, so a value means the same wherever it is.
//
// Rules (bad text never throws; it gives the fallback named below):
// - Space (any isspace character) around a value or around a part of a list is ignored.
// - Boolean: "true" or "1", in any letter case, is true; everything else ("false", "0",
//   "yes", "", no value) is false.
// - Number: decimal, optional sign, read up to the first character that is not a digit
//   ("12px" is 12). No digits at all gives the caller's fallback. A number beyond
//   ±kMaxLayoutNumber is clamped to it, so sums of coordinates cannot overflow.
// - Colour: "#AARRGGBB", "#RRGGBB" (opaque), the same digits after "0x" or bare; letter
//   case free. Any other digit count or trailing text gives the fallback.
// - Rectangle "l,t,r,b" and size "cx,cy": each comma-separated part is a number as above;
//   a missing or unreadable part is 0 and does not disturb the others; extra parts are
//   ignored.
#pragma once

#include <string>

#include "uilib/Base.h"

namespace uilib {
namespace attr {

constexpr int kMaxLayoutNumber = 1000000;

bool ParseBool(const char* value);
int ParseInt(const char* value, int fallback = 0);
// True and the colour in *out when the text is a colour; *out untouched otherwise.
bool TryParseColor(const char* value, DWORD* out);
DWORD ParseColor(const char* value, DWORD fallback = 0);
RECT ParseRect(const char* value);
SIZE ParseSize(const char* value);
bool IsName(const char* name, const char* expected);  // exact match, null-safe
std::string Trim(const std::string& value);           // without the space around it

}  // namespace attr
}  // namespace uilib
