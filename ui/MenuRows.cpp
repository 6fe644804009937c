#include "ui/MenuRows.h"

#include <cstring>

#include "ui/ListContainerElementUIEx.h"
#include "uilib/controls/ListContainerElement.h"
#include "uilib/controls/ListElement.h"

namespace orvella {

using uilib::CControlUI;

namespace {

template <typename Base>
class MenuRow : public Base, public IMenuRow {
public:
    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "MenuRow") == 0) return static_cast<IMenuRow*>(this);
        return Base::GetInterface(name);
    }
    void SetHot(bool hot) override {
        const UINT before = this->m_uButtonState;
        if (hot && this->IsEnabled()) this->m_uButtonState |= uilib::UISTATE_HOT;
        else this->m_uButtonState &= ~uilib::UISTATE_HOT;
        if (before != this->m_uButtonState) this->Invalidate();
    }
    void SetKeepHot(bool keep) override {
        m_keepHot = keep;
        SetHot(keep);
    }
    void DoEvent(uilib::TEventUI& event) override {
        Base::DoEvent(event);
        if (m_keepHot && event.Type == uilib::UIEVENT_MOUSELEAVE) SetHot(true);
    }
    // A disabled row greys its label too.
    void SetEnabled(bool enable = true) override {
        Base::SetEnabled(enable);
        for (int i = 0; i < this->GetCount(); ++i) this->GetItemAt(i)->SetEnabled(enable);
    }
    void DrawItemBk(cairo_t* cr, const RECT& rc) override {
        uilib::IListOwnerUI* owner = this->GetOwner();
        uilib::TListInfoUI* info = owner ? owner->GetListInfo() : nullptr;
        if (!info || !this->IsSelected() || !(this->m_uButtonState & uilib::UISTATE_HOT)) {
            Base::DrawItemBk(cr, rc);
            return;
        }
        uilib::TListRowLook look;
        look.index = this->GetIndex();
        look.hot = true;
        look.enabled = this->IsEnabled();
        auto draw = [cr, this](const char* image) { this->DrawImage(cr, image); };
        uilib::CListElementUI::PaintRowBackground(cr, this->GetManager(), *info, look, rc, draw);
        if (!info->sSelectedImage.empty()) draw(info->sSelectedImage.c_str());
    }

private:
    bool m_keepHot = false;
};

}  // namespace

IMenuRow* MenuRowOf(CControlUI* control) {
    return control ? static_cast<IMenuRow*>(control->GetInterface("MenuRow")) : nullptr;
}

void SetRowHot(CControlUI* row, bool hot) {
    if (!row) return;
    if (IMenuRow* menuRow = MenuRowOf(row)) {
        menuRow->SetHot(hot);
        return;
    }
    uilib::TEventUI event;
    event.Type = hot ? uilib::UIEVENT_MOUSEENTER : uilib::UIEVENT_MOUSELEAVE;
    event.pSender = row;
    row->DoEvent(event);
}

bool Choosable(CControlUI* row) {
    return row && row->IsVisible() && row->IsEnabled() && row->GetInterface("ListItem");
}

uilib::CListContainerElementUI* NewMenuRow() { return new MenuRow<uilib::CListContainerElementUI>(); }

RECT ScreenRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

uilib::CControlUI* MenuLayoutFactory::CreateControl(const char* tag) {
    if (std::strcmp(tag, "MenuItem") == 0) return new MenuRow<uilib::CListContainerElementUI>();
    if (std::strcmp(tag, "ListContainerElementEx") == 0) return new MenuRow<CListContainerElementUIEx>();
    return m_program.CreateControl(tag);
}

}  // namespace orvella
