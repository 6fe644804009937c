// The main window's look: the skin window it opens, the title bar's picture and the
// scheme colour it applies and remembers.
#include "app/PlayerWnd.h"

#include "library/Backgrounds.h"
#include "ui/MenuWnd.h"
#include "uilib/PaintManager.h"

namespace orvella {

using uilib::CControlUI;

void CPlayerWnd::OpenSkinWindow(CControlUI* button) {
    if (!button) return;
    const RECT& pos = button->GetPos();
    POINT below{pos.left, pos.bottom + 1};
    ClientToScreen(m_hWnd, &below);
    m_dialogs.ShowFacade(below, m_settings.background);
}

void CPlayerWnd::ApplyShading(int picture) {
    const BackgroundPicture* background = BackgroundAt(picture);
    if (!background) return;
    ApplyBackgroundImage(background->image);
    m_settings.background = background->name;
}

void CPlayerWnd::ApplyColor(uint32_t argb) {
    if (!m_pm) return;
    m_pm->SetColor(argb);
    m_settings.color = argb;
    // A menu open now takes it at once, not only the next one.
    CMenuWnd::RecolourOpenPopupMenu(argb);
}

void CPlayerWnd::ApplyBackgroundImage(const std::string& image) {
    if (CControlUI* c = m_pm ? m_pm->FindControl("shading") : nullptr) c->SetBkImage(image.c_str());
}

}  // namespace orvella
