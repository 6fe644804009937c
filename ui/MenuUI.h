// A menu button (layout tag "Menu"): a click opens its menu and switches the program
// into menu-bar mode, in which merely entering another menu button opens that one's
// menu, as in a desktop menu bar. Opening shows the button pushed and selected and sends
// "showmenu"; the window then pops the menu up.
#pragma once

#include <vector>

#include "uilib/controls/Option.h"

namespace orvella {

class CMenuUI : public uilib::COptionUI {
public:
    ~CMenuUI() override;  // forgets itself, so the list never holds a dead button

    const char* GetClass() const override { return "CMenuUI"; }
    void DoEvent(uilib::TEventUI& event) override;

    // Every button of the list back to normal, this one pushed and selected, "showmenu".
    void OpenMenu();

    // The buttons that have opened a menu, one per control name (a newer button of the
    // same name, from a rebuilt layout, replaces the older one).
    static void RememberOpened(CMenuUI* button);
    static void Forget(CMenuUI* button);
    static void ForgetAll();
    static const std::vector<CMenuUI*>& OpenedButtons();

    static bool IsMenuBarMode();
    static void SetMenuBarMode(bool on);
    // Ends the mode: a menu item was chosen, the menu closed, the top bar was shown.
    static void ResetMenuBarMode() { SetMenuBarMode(false); }

private:
    void ShowNormal();
};

}  // namespace orvella
