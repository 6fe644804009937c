// Work on a whole pugixml tree that never recurses over the document's depth (pugixml's own
// node removal does, and a hand-made file can nest elements hundreds of thousands deep),
// and the trimming of a file that could not be read whole down to what was read whole.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <string>

namespace orvella {

// No file of ours nests deeper than a few levels; deeper ones are damage, not data.
constexpr size_t kMaxElementDepth = 64;

// Removes node with everything below it, one leaf at a time.
void RemoveTree(pugi::xml_node node);

// What a loaded (or partly loaded) tree had to lose to be kept.
struct TreeDamage {
    std::string what;       // empty: the tree was whole
    pugi::xml_node cut;     // the element whose start tag the damage cut (kept with the
                            // attributes read whole), null when none
};

// Trims a tree that pugixml left after `result` (a partial tree when parsing failed) to
// what was read whole before the first damage: the attribute the damage cut goes, nothing
// deeper than kMaxElementDepth nor after such a node stays, and of the top level only the
// first element does.
TreeDamage TrimToWhole(pugi::xml_document& document, const pugi::xml_parse_result& result);

// Whether the file's bytes hold a NUL character, where pugixml stops reading without a word.
bool HoldsNulCharacter(const std::string& bytes);

}  // namespace orvella
