// A small translation file for the string-table tests.
#pragma once

#include <string>

namespace orvella_test {

// Messages 0 and 6 translated, 1 and 7 empty, 2 without a value, 9 with a stray "%n", "%d"
// and a second "%s"; "Un-Zoom" named, "Mute" empty.
inline const char* const kGermanStrings =
    "<root><string><data string='Falsches Format'/><data string=''/><data/><data/><data/><data/>"
    "<data string='Liste leeren'/><data string=''/><data/><data string='%n %d Taste &quot;%s&quot; %s'/>"
    "</string><hotkey><Un-Zoom string='Verkleinern'/><Mute string=''/></hotkey></root>";

// In UTF-16 with its byte-order mark, as translators' tools save it.
inline std::string Utf16WithMark(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

}  // namespace orvella_test
