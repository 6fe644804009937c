#include "ui/FileInfoWnd.h"

#include "uilib/Container.h"
#include "uilib/controls/ListExpandElement.h"

namespace orvella {

namespace {

// Each tab and the page of "ID_INFORMATION_TAB" it shows.
const struct {
    const char* tab;
    const char* page;
} kPages[] = {
    {"ID_GENERAL", "ID_INFORMATION_GENERAL"},
    {"ID_TRACKS", "ID_INFORMATION_TRACKS"},
};

}  // namespace

void CFileInfoWnd::SetUp(const FileInfoRecord& record) {
    m_record = record;
    FillGeneralPage();
    BuildTrackRows();
}

void CFileInfoWnd::FillGeneralPage() {
    SetControlText("ID_FILEINFO_FILENAME", m_record.fileName);
    // A long path is cut short on the page; the whole of it shows on hovering.
    if (uilib::CControlUI* name = FindControl("ID_FILEINFO_FILENAME")) name->SetToolTip(m_record.fileName.c_str());
    SetControlText("ID_FILEINFO_FILESIZE", FileSizeText(m_record.fileSize));
    SetControlText("ID_FILEINFO_RESOLUTION", ResolutionText(m_record.videoWidth, m_record.videoHeight));
    SetControlText("ID_FILEINFO_DURATION", DurationText(m_record.length));
    SetControlText("ID_FILEINFO_ASPECT", AspectText(m_record.aspect));
}

void CFileInfoWnd::BuildTrackRows() {
    uilib::CControlUI* control = FindControl("ID_INFORMATION_TRACKS_LIST");
    auto* list = control ? static_cast<uilib::CListUI*>(control->GetInterface("List")) : nullptr;
    m_rows = TrackRowsOf(m_record);
    if (!list) return;
    list->SetTextCallback(this);
    list->RemoveAll();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        auto* row = new uilib::CListExpandElementUI();
        row->SetTag(i);
        list->Add(row);
    }
}

uilib::CStdString CFileInfoWnd::GetItemText(uilib::CControlUI*, int index, int subItem) {
    if (index < 0 || static_cast<size_t>(index) >= m_rows.size()) return "";
    switch (subItem) {
    case 0: return std::to_string(index).c_str();
    case 1: return m_rows[index].kind.c_str();
    case 2: return m_rows[index].description.c_str();
    default: return "";
    }
}

void CFileInfoWnd::Notify(uilib::TNotifyUI& msg) {
    if (!IsOwnControl(msg.pSender)) return;
    const uilib::CStdString name = msg.pSender->GetName();
    if (msg.sType == "windowinit") {
        FillGeneralPage();
    } else if (msg.sType == "selectchanged" && msg.wParam != 0) {  // not the tab let go
        uilib::CControlUI* control = FindControl("ID_INFORMATION_TAB");
        auto* tabs = control ? static_cast<uilib::CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
        for (const auto& row : kPages) {
            if (tabs && name == row.tab) tabs->SelectItem(row.page);
        }
    } else if (msg.sType == "click" && name == "ID_CLOSE_BUTTON") {
        SendWindowNotify("fileinfo_close");
    }
}

bool CFileInfoWnd::AnswerEscape() {
    SendWindowNotify("fileinfo_close");
    return true;
}

}  // namespace orvella
