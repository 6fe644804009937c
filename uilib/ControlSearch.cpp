#include "uilib/ControlSearch.h"

#include <cstring>

#include "uilib/Control.h"

namespace uilib {

CControlUI* FindControlAt(CControlUI* root, POINT pt) {
    if (!root) return nullptr;
    return root->FindControl([](CControlUI* control, void*) { return control; }, &pt,
                             UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_HITTEST |
                                 UIFIND_TOP_FIRST);
}

CControlUI* FindDescendantByName(CControlUI* parent, const char* name) {
    if (!parent || !name) return nullptr;
    return parent->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            return c->GetName() == static_cast<const char*>(data) ? c : nullptr;
        },
        const_cast<char*>(name), UIFIND_ALL);
}

std::vector<CControlUI*> FindDescendantsByClass(CControlUI* parent, const char* className) {
    struct Search {
        const char* cls;
        std::vector<CControlUI*> found;
    } search{className ? className : "", {}};
    if (!parent) return {};
    parent->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            auto* s = static_cast<Search*>(data);
            if (std::strcmp(c->GetClass(), s->cls) == 0) s->found.push_back(c);
            return nullptr;
        },
        &search, UIFIND_ALL);
    return search.found;
}

}  // namespace uilib
