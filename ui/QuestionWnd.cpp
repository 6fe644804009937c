#include "ui/QuestionWnd.h"

#include "uilib/Control.h"

namespace orvella {

void CQuestionWnd::SetUp(int kind, const std::string& title, const std::string& text,
                         bool withCancel, const std::string& okText, const std::string& cancelText) {
    m_kind = kind;
    if (!okText.empty()) SetControlText("ID_OK_BUTTON", okText);
    if (!cancelText.empty()) SetControlText("ID_CANCEL_BUTTON", cancelText);
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

}  // namespace orvella
