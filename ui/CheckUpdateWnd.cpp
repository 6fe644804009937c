#include "ui/CheckUpdateWnd.h"

#include "library/LocalStrings.h"
#include "uilib/Control.h"

namespace orvella {

namespace {

std::string VersionText(const ProgramVersion& v) {
    return uilib::CStdString::Printf("%d.%d.%d", v.major, v.minor, v.build);
}

// Which of the state's controls show, per outcome.
const struct {
    UpdateOutcome outcome;
    bool newer, latest, failed;
} kStates[] = {
    {UpdateOutcome::Newer, true, false, false},
    {UpdateOutcome::Current, false, true, false},
    {UpdateOutcome::Failed, false, false, true},
};

}  // namespace

void CCheckUpdateWnd::ShowResult(UpdateOutcome outcome, const ProgramVersion& own,
                                 const ProgramVersion& remote) {
    m_outcome = outcome;
    m_remote = remote;
    for (const auto& state : kStates) {
        if (state.outcome != outcome) continue;
        ShowControl("ID_TEXT_VERSION_NEW", state.newer);
        ShowControl("ID_BUTTON_URL", state.newer);
        ShowControl("ID_TEXT_VERSION_LATEST", state.latest);
        ShowControl("ID_TEXT_VERSION_FAILED", state.failed);
    }
    SetControlText("ID_TEXT_APP_VERSION", VersionText(own));
    SetControlText("ID_TEXT_LATEST_VERSION", outcome == UpdateOutcome::Failed
                                                 ? LocalString(53, "unknown")
                                                 : VersionText(remote));
    if (outcome == UpdateOutcome::Failed)
        SetControlText("ID_TEXT_VERSION_FAILED",
                       LocalString(54, "Could not check for a newer version. Please try again later."));
}

void CCheckUpdateWnd::Notify(uilib::TNotifyUI& msg) {
    if (msg.sType != "click" || !IsOwnControl(msg.pSender)) return;
    const uilib::CStdString name = msg.pSender->GetName();
    if (name == "ID_CLOSE_BUTTON" || name == "ID_OK_BUTTON") SendWindowNotify("update_close");
    if (name == "ID_BUTTON_URL") SendWindowNotify("update_download");
}

bool CCheckUpdateWnd::AnswerEscape() {
    SendWindowNotify("update_close");
    return true;
}

}  // namespace orvella
