// The layouts and pictures of the source tree, for tests that build the program's windows.
#pragma once

#include <string>

#include "uilib/Base.h"
#include "uilib/DialogBuilder.h"
#include "uilib/PaintManager.h"

namespace orvella_test {

inline void UseSourceSkins() {
    const std::string data = std::string(ORVELLA_SOURCE_DIR) + "/data/";
    uilib::SetAppPathForTesting(data);
    uilib::CPaintManagerUI::SetResourcePath(data.c_str());
    uilib::RegisterBuiltinControls();
}

}  // namespace orvella_test
