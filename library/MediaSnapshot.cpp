#include "library/MediaSnapshot.h"

#include <algorithm>

#include "playlist/Playlist.h"

namespace orvella {

size_t MediaSnapshot::Count() const { return m_rows ? m_rows->rows.size() : 0; }

PlaylistItem MediaSnapshot::At(size_t index) const {
    PlaylistItem item;
    auto newer = std::lower_bound(m_newer.begin(), m_newer.end(), index,
                                  [](const auto& entry, size_t i) { return entry.first < i; });
    if (newer != m_newer.end() && newer->first == index) {
        item = newer->second;
    } else if (index < Count()) {
        const Rows::Row& row = m_rows->rows[index];
        const size_t start = index == 0 ? 0 : m_rows->rows[index - 1].subtitleEnd;
        item.filename.assign(m_rows->text, start, row.filenameEnd - start);
        item.shortname.assign(m_rows->text, row.filenameEnd, row.shortnameEnd - row.filenameEnd);
        item.subtitle.assign(m_rows->text, row.shortnameEnd, row.subtitleEnd - row.shortnameEnd);
        item.starttime = row.starttime;
    }
    if (!m_saveLocation) item.starttime = 0;
    return item;
}

MediaSnapshot MediaSnapshots::Take(const Playlist& list, bool saveLocation) {
    if (!m_rows || list.Revision() != m_revision) {
        auto rows = std::make_shared<MediaSnapshot::Rows>();
        size_t size = 0;
        for (size_t i = 0; i < list.Count(); ++i) {
            const PlaylistItem& item = *list.At(i);
            size += item.filename.size() + item.shortname.size() + item.subtitle.size();
        }
        rows->text.reserve(size);
        rows->rows.reserve(list.Count());
        for (size_t i = 0; i < list.Count(); ++i) {
            const PlaylistItem& item = *list.At(i);
            MediaSnapshot::Rows::Row row{};
            row.filenameEnd = (rows->text += item.filename).size();
            row.shortnameEnd = (rows->text += item.shortname).size();
            row.subtitleEnd = (rows->text += item.subtitle).size();
            row.starttime = item.starttime;
            rows->rows.push_back(row);
        }
        m_rows = std::move(rows);
        m_revision = list.Revision();
        m_current.clear();
    }
    const size_t current = list.CurrentIndex();
    if (current < list.Count() && std::find(m_current.begin(), m_current.end(), current) == m_current.end())
        m_current.insert(std::upper_bound(m_current.begin(), m_current.end(), current), current);

    MediaSnapshot snapshot;
    snapshot.m_rows = m_rows;
    snapshot.m_current = current;
    snapshot.m_saveLocation = saveLocation;
    snapshot.m_newer.reserve(m_current.size());
    for (size_t index : m_current) snapshot.m_newer.emplace_back(index, *list.At(index));
    return snapshot;
}

}  // namespace orvella
