// The file information window: what is known about the media that plays (name, size,
// picture size, length, aspect) on one page and its tracks on the other.
#pragma once

#include <vector>

#include "ui/FileInfoTexts.h"
#include "ui/SkinWindow.h"
#include "uilib/controls/List.h"

namespace orvella {

class CFileInfoWnd : public CSkinWindow, public uilib::IListCallbackUI {
public:
    CFileInfoWnd() : CSkinWindow("fileinfo.xml", false) {}

    const char* GetWindowClassName() const override { return "UIFileInformationWnd"; }
    const char* GetWindowTitle() const override { return "File information Wnd"; }

    // Right after creation: keeps the record, fills the general page and builds one row
    // per track.
    void SetUp(const FileInfoRecord& record);
    const FileInfoRecord& Record() const { return m_record; }

    // Row index, kind and description of the track rows; other columns are empty.
    uilib::CStdString GetItemText(uilib::CControlUI* control, int index, int subItem) override;

    // "windowinit" fills the general page, the tabs switch pages, the close button
    // sends "fileinfo_close" (0, 0).
    void Notify(uilib::TNotifyUI& msg) override;
    bool AnswerEscape() override;

private:
    void FillGeneralPage();
    void BuildTrackRows();

    FileInfoRecord m_record;
    std::vector<TrackRow> m_rows;
};

}  // namespace orvella
