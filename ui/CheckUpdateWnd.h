// The answer of an update check: the program's version and the server's, and whether a
// newer one exists (with a link to fetch it), the program is up to date, or the check
// could not tell.
#pragma once

#include "app/StartupRules.h"
#include "app/UpdateCheck.h"
#include "ui/SkinWindow.h"

namespace orvella {

class CCheckUpdateWnd : public CSkinWindow {
public:
    CCheckUpdateWnd() : CSkinWindow("update.xml", false) {}

    const char* GetWindowClassName() const override { return "UIQuestionWnd"; }
    const char* GetWindowTitle() const override { return "Check for update Wnd"; }

    // Called right after creation; remote is not shown for a failed check.
    void ShowResult(UpdateOutcome outcome, const ProgramVersion& own, const ProgramVersion& remote);
    UpdateOutcome Outcome() const { return m_outcome; }
    const ProgramVersion& Remote() const { return m_remote; }

    // The close and OK buttons send "update_close"; the link "update_download".
    void Notify(uilib::TNotifyUI& msg) override;
    bool AnswerEscape() override;

private:
    UpdateOutcome m_outcome = UpdateOutcome::Current;
    ProgramVersion m_remote;
};

}  // namespace orvella
