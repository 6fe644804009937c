// The about window: the program's name, version and legal notice.
#pragma once

#include <string>

#include "ui/SkinWindow.h"

namespace orvella {

// "Orvella   1.2.3": the name, three blanks and the version of this build.
std::string AboutVersionText();
// The legal notice shown under the version.
extern const char* const kAboutLegalNotice;

class CAboutWnd : public CSkinWindow {
public:
    CAboutWnd() : CSkinWindow("about.xml", false) {}

    const char* GetWindowClassName() const override { return "UIAboutWnd"; }
    const char* GetWindowTitle() const override { return "About Wnd"; }

    // "windowinit" fills the texts; the close and OK buttons send "about_close" (0, 0).
    void Notify(uilib::TNotifyUI& msg) override;

    bool AnswerEscape() override;
};

}  // namespace orvella
