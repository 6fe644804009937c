#include "uilib/controls/Text.h"

#include <cstring>

namespace uilib {

CTextUI::CTextUI() { m_uTextStyle = DT_LEFT | DT_TOP | DT_WORDBREAK; }

const char* CTextUI::GetClass() const { return "TextUI"; }

void* CTextUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "Text") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CTextUI::GetControlFlags() const { return 0; }

void CTextUI::DoEvent(TEventUI& event) { CLabelUI::DoEvent(event); }

}  // namespace uilib
