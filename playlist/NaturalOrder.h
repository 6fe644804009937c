// The order in which names are listed, as a file manager lists them: numbers by their
// value ("ep2" before "ep10"), letter case folded in every script, accents counting only
// between names that are otherwise equal. It does not depend on the user's locale, so the
// folder scan and the play list's sort give the same order everywhere.
#pragma once

#include <string>

namespace orvella {

// A key whose byte order (as std::string compares it) is the natural order of the names.
// Names that differ in any byte get different keys, so the order is total; without
// withBytes, names that differ only in letter case get the same key (for a first level
// that another key breaks ties of).
std::string NaturalSortKey(const std::string& name, bool withBytes = true);

bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace orvella
