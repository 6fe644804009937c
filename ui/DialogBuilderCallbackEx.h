// The program's control factory: layout tags the UI library does not know.
#pragma once

#include "uilib/DialogBuilder.h"

namespace orvella {

class CDialogBuilderCallbackEx : public uilib::IDialogBuilderCallback {
public:
    uilib::CControlUI* CreateControl(const char* className) override;
};

}  // namespace orvella
