// A check box: an option without a group that draws a box and tick by default
// (layout tag "CheckBox").
#pragma once

#include "uilib/controls/Option.h"

namespace uilib {

class CCheckBoxUI : public COptionUI {
public:
    CCheckBoxUI() { m_bCheckBoxLook = true; }
    const char* GetClass() const override;          // "CheckBoxUI"
    void* GetInterface(const char* name) override;  // "CheckBox", then Option's
    bool IsChecked() const { return IsSelected(); }
    void SetCheck(bool check) { Selected(check); }
};

}  // namespace uilib
