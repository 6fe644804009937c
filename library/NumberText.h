// Numbers as the settings files store them: decimal integers and hexadecimal colours.
#pragma once

#include <cstdint>
#include <string>

namespace orvella {

// Leading white space, an optional sign, then digits up to the first other character;
// "12abc" is 12, text without digits is 0, values beyond the int range are clamped.
int DecimalValue(const std::string& text);

// Hexadecimal text of one to eight digits, optionally "0x"-prefixed and surrounded by white
// space. False, with *value untouched, for anything else (empty text included).
bool HexValue(const std::string& text, uint32_t* value);

std::string DecimalText(int value);      // "%d"
std::string HexText(uint32_t value);     // "%x": lower case, no prefix
// "%.*f" with a point for the decimals whatever the C locale says; NaN and infinities are
// shown as 0.
std::string FixedText(double value, int decimals);

}  // namespace orvella
