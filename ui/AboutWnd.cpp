#include "ui/AboutWnd.h"

#include "library/LocalStrings.h"
#include "uilib/Control.h"

#ifndef ORVELLA_VERSION
#error "the build defines ORVELLA_VERSION"
#endif

namespace orvella {

const char* const kAboutLegalNotice =
    "Orvella is free to use and to pass on. It plays media through the MPlayer program, "
    "which is free software under the GNU General Public License; MPlayer's authors hold "
    "its copyright.\n\n"
    "Copyright (C) 2026 the Orvella developers.";

std::string AboutVersionText() {
    return uilib::CStdString::Printf("Orvella   %s", ORVELLA_VERSION);
}

void CAboutWnd::Notify(uilib::TNotifyUI& msg) {
    if (!IsOwnControl(msg.pSender)) return;
    if (msg.sType == "windowinit") {
        SetControlText("ID_ABOUT_VERSION", AboutVersionText());
        SetControlText("ID_ABOUT_COPYRIGHT", LocalString(52, kAboutLegalNotice));
        return;
    }
    if (msg.sType != "click") return;
    const uilib::CStdString name = msg.pSender->GetName();
    if (name == "ID_CLOSE_BUTTON" || name == "ID_ABOUT_OK_BUTTON") SendWindowNotify("about_close");
}

bool CAboutWnd::AnswerEscape() {
    SendWindowNotify("about_close");
    return true;
}

}  // namespace orvella
