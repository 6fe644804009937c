#include <cstring>

#include "uilib/Container.h"

namespace uilib {

const char* CHorizontalLayoutUI::GetClass() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    LayOutInLine(false, needInvalidate);
}

}  // namespace uilib
