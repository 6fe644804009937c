#include "uilib/controls/CheckBox.h"

#include <cstring>

namespace uilib {

const char* CCheckBoxUI::GetClass() const { return "CheckBoxUI"; }

void* CCheckBoxUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "CheckBox") == 0) return this;
    return COptionUI::GetInterface(name);
}

}  // namespace uilib
