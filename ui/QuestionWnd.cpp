#include "ui/QuestionWnd.h"

#include "uilib/Control.h"

namespace orvella {

void CQuestionWnd::SetUp(int kind, const std::string& title, const std::string& text,
                         bool withCancel, const std::string& okText, const std::string& cancelText) {
    m_kind = kind;
    m_withCancel = withCancel;
    // An open window asked again keeps no words of the previous question's buttons.
    const char* const buttons[2] = {"ID_OK_BUTTON", "ID_CANCEL_BUTTON"};
    const std::string* asked[2] = {&okText, &cancelText};
    for (int i = 0; i < 2; ++i) {
        uilib::CControlUI* button = FindControl(buttons[i]);
        if (!button) continue;
        if (m_layoutButtonText[i].empty()) m_layoutButtonText[i] = button->GetText().c_str();
        button->SetText((asked[i]->empty() ? m_layoutButtonText[i] : *asked[i]).c_str());
    }
    SetControlText("ID_TEXT", text);
    SetControlText("ID_TITLE", title);
    ShowControl("ID_OK_BUTTON", true);
    ShowControl("ID_CANCEL_BUTTON", withCancel);
    ShowControl("ID_SEPARATE", withCancel);
}

void CQuestionWnd::Notify(uilib::TNotifyUI& msg) {
    if (msg.sType != "click" || !IsOwnControl(msg.pSender)) return;
    const uilib::CStdString name = msg.pSender->GetName();
    const WPARAM kind = static_cast<WPARAM>(m_kind);
    if (name == "ID_OK_BUTTON") {
        SendWindowNotify("question_close", kind, 1);
    } else if (name == "ID_CANCEL_BUTTON" || name == "ID_CLOSE_BUTTON") {
        SendWindowNotify("question_close", kind, 0);
    }
}

bool CQuestionWnd::AnswerEscape() {
    SendWindowNotify("question_close", static_cast<WPARAM>(m_kind), m_withCancel ? 0 : 1);
    return true;
}

}  // namespace orvella
