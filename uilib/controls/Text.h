// A multi-line label: the text wraps at word boundaries inside the control.
#pragma once

#include "uilib/controls/Label.h"

namespace uilib {

class CTextUI : public CLabelUI {
public:
    CTextUI();

    const char* GetClass() const override;          // "TextUI"
    void* GetInterface(const char* name) override;  // "Text"
    UINT GetControlFlags() const override;

    void DoEvent(TEventUI& event) override;
};

}  // namespace uilib
