// Builds a control tree from a layout file.
#pragma once

#include "uilib/Control.h"

namespace uilib {

// Asked for every tag the library does not know; nullptr means no control.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(const char* className) = 0;
};

// Built-in controls by layout tag. Registered by RegisterBuiltinControls (explicitly,
// not by static initialisers, which a static library would drop).
using ControlFactoryFn = CControlUI* (*)();
void RegisterControlClass(const char* tag, ControlFactoryFn create);
CControlUI* CreateBuiltinControl(const char* tag);  // nullptr when unknown
void RegisterBuiltinControls();

class CDialogBuilder {
public:
    // Reads the file, applies the <Window> attributes, fonts and defaults to manager,
    // and returns the root control (nullptr when the file cannot be read or parsed).
    // Unknown tags and attributes are reported on standard error with file and element.
    CControlUI* Create(const char* xmlFile, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // The same from text in memory.
    CControlUI* CreateFromString(const char* xml, IDialogBuilderCallback* callback = nullptr,
                                 CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    const CStdString& GetLastError() const { return m_error; }

private:
    CStdString m_error;
};

}  // namespace uilib
