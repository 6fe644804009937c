#include "app/PlaylistView.h"

namespace orvella {

PlaylistView::~PlaylistView() { Bind(nullptr); }

void PlaylistView::Bind(uilib::CListUI* list) {
    if (m_list && m_list != list) m_list->SetRowSource(nullptr);
    m_list = list;
    if (!m_list) return;
    m_list->SetRowSource(this);
    Refresh();
    if (!m_model.Empty()) OnCurrentChanged(m_model.CurrentIndex());
}

void PlaylistView::Refresh() {
    if (m_list) m_list->RowsChanged();
}

int PlaylistView::SelectedRow() const { return m_list ? m_list->GetCurSel() : -1; }

int PlaylistView::RightClickedRow() const { return m_list ? m_list->GetRightClickedRow() : -1; }

void PlaylistView::OnRowsAppended(size_t, size_t) { Refresh(); }
void PlaylistView::OnRowRemoved(size_t) { Refresh(); }
void PlaylistView::OnRowsReset() {
    if (m_list) m_list->SelectItem(-1);
    Refresh();
}
void PlaylistView::OnRowChanged(size_t) { Refresh(); }

void PlaylistView::OnCurrentChanged(size_t index) {
    if (!m_list || index >= m_model.Count()) return;
    m_list->SelectItem(static_cast<int>(index));
    m_list->EnsureVisible(static_cast<int>(index));
}

std::string PlaylistView::GetRowText(size_t row) const {
    const PlaylistItem* item = m_model.At(row);
    return item ? Playlist::RowText(*item) : std::string();
}

std::string PlaylistView::GetRowTooltip(size_t row) const {
    const PlaylistItem* item = m_model.At(row);
    return item ? item->filename : std::string();
}

}  // namespace orvella
