// Mirrors the play list model into the list control "playlist": one row per entry in
// the same order, the entry's shortname (or filename) as its text and its filename as
// tooltip, the selection always on the current entry. Rows are drawn on demand, so a
// list of 100,000 entries costs no controls.
#pragma once

#include <string>

#include "playlist/Playlist.h"
#include "uilib/controls/List.h"

namespace orvella {

class PlaylistView : public PlaylistObserver, public uilib::IListRowSource {
public:
    explicit PlaylistView(const Playlist& model) : m_model(model) {}
    ~PlaylistView() override;

    // The list control of the current layout (nullptr when the layout has none); binding
    // a new one (a rebuilt layout) shows every row again.
    void Bind(uilib::CListUI* list);
    uilib::CListUI* List() const { return m_list; }

    // The selected row (-1 when none): where the keys left the selection, which need not
    // be the current entry.
    int SelectedRow() const;
    // The row the context menu acted on (-1 when none).
    int RightClickedRow() const;

    // PlaylistObserver
    void OnRowsAppended(size_t first, size_t count) override;
    void OnRowRemoved(size_t index) override;
    void OnRowsReset() override;
    void OnRowChanged(size_t index) override;
    void OnCurrentChanged(size_t index) override;

    // IListRowSource
    size_t GetRowCount() const override { return m_model.Count(); }
    std::string GetRowText(size_t row) const override;
    std::string GetRowTooltip(size_t row) const override;

private:
    void Refresh();

    const Playlist& m_model;
    uilib::CListUI* m_list = nullptr;
};

}  // namespace orvella
