// The question window: a title, a text, OK and (for some questions) Cancel.
#pragma once

#include <string>

#include "ui/SkinWindow.h"

namespace orvella {

class CQuestionWnd : public CSkinWindow {
public:
    CQuestionWnd() : CSkinWindow("question.xml", false) {}

    const char* GetWindowClassName() const override { return "UIQuestionWnd"; }
    const char* GetWindowTitle() const override { return "Question Wnd"; }

    // Called right after creation: the kind comes back with the answer; without Cancel
    // only the OK button shows.
    // Empty button texts keep the layout's OK and Cancel.
    void SetUp(int kind, const std::string& title, const std::string& text, bool withCancel,
               const std::string& okText = std::string(), const std::string& cancelText = std::string());
    int GetKind() const { return m_kind; }

    // OK sends "question_close" (kind, 1); Cancel and the close button (kind, 0).
    void Notify(uilib::TNotifyUI& msg) override;

    // Cancel where the question has it, else OK.
    bool AnswerEscape() override;

private:
    bool m_withCancel = true;
    int m_kind = 0;
    std::string m_layoutButtonText[2];  // OK and Cancel as the layout words them
};

}  // namespace orvella
