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
    // and returns the root control. nullptr when the file cannot be read or parsed or
    // makes no control: GetLastError says why, and the caller, who knows what the layout
    // was for, tells the user. Unknown tags and attributes do not stop the build; they
    // are reported with file and element on the debug channel (G_MESSAGES_DEBUG=Orvella).
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
