#include "playlist/Playlist.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "playlist/MediaFiles.h"
#include "playlist/NaturalOrder.h"

namespace orvella {
namespace {

// One row's sort key, computed once: building it inside the comparison would cost a copy
// per comparison. The key's bytes live in one shared buffer; `head` holds eight of them
// (those after the prefix that every key shares) so that most comparisons touch no
// memory beyond the row itself.
struct SortRow {
    uint64_t head;
    size_t offset;
    size_t length;
    size_t position;  // in the list before sorting
};

class SortKeys {
public:
    // mode 0: the shortname; mode 1: its type (letter case ignored), then the whole
    // shortname, both in natural order. No level of a key holds a NUL, so the separator
    // orders a shorter type before every longer one it begins.
    SortKeys(const std::vector<std::unique_ptr<PlaylistItem>>& items, int mode) {
        rows_.reserve(items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            const std::string& name = items[i]->shortname;
            size_t offset = keys_.size();
            if (mode == 1) {
                keys_ += NaturalSortKey(TypeKeyOf(name), false);
                keys_.push_back('\0');
            }
            keys_ += NaturalSortKey(name);
            rows_.push_back({0, offset, keys_.size() - offset, i});
        }
        size_t shared = SharedPrefix();
        for (SortRow& row : rows_) {
            for (size_t k = 0; k < 8; ++k) {
                size_t at = shared + k;
                unsigned char c = at < row.length ? static_cast<unsigned char>(keys_[row.offset + at]) : 0;
                row.head = row.head << 8 | c;
            }
        }
    }

    std::vector<SortRow>& Rows() { return rows_; }

    // Byte order, unsigned, as std::string compares. Unequal heads decide alone: a key
    // that ends inside the head is a prefix of the other, whose byte there is not NUL.
    bool operator()(const SortRow& a, const SortRow& b) const {
        if (a.head != b.head) return a.head < b.head;
        size_t n = a.length < b.length ? a.length : b.length;
        int order = std::memcmp(keys_.data() + a.offset, keys_.data() + b.offset, n);
        return order != 0 ? order < 0 : a.length < b.length;
    }

private:
    size_t SharedPrefix() const {
        if (rows_.empty()) return 0;
        size_t shared = rows_[0].length;
        const char* first = keys_.data() + rows_[0].offset;
        for (const SortRow& row : rows_) {
            const char* key = keys_.data() + row.offset;
            size_t k = 0;
            while (k < shared && k < row.length && key[k] == first[k]) ++k;
            shared = k;
        }
        return shared;
    }

    std::string keys_;
    std::vector<SortRow> rows_;
};

constexpr size_t kUnseen = static_cast<size_t>(-1);

}  // namespace

AdvanceDecision DecideAdvance(int sequence, size_t current, size_t count, uint32_t randomValue) {
    AdvanceDecision decision;
    if (count == 0) return decision;
    // A current index outside the list counts as the last entry.
    bool last = current >= count - 1;
    switch (sequence) {
        case kPlaySequence:
            if (!last) {
                decision.finish = false;
                decision.next = current + 1;
            }
            break;
        case kPlayRandom:
            decision.finish = false;
            decision.next = randomValue % count;
            break;
        case kPlaySequenceLoop:
            decision.finish = false;
            decision.next = last ? 0 : current + 1;
            break;
        default:  // single, single loop (the engine repeats it) and unknown values
            break;
    }
    return decision;
}

Playlist::Playlist() = default;
Playlist::~Playlist() = default;

const PlaylistItem* Playlist::At(size_t index) const {
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

PlaylistItem* Playlist::At(size_t index) {
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

bool Playlist::SetCurrent(size_t index) {
    if (index >= m_items.size()) return false;
    m_current = index;
    NotifyCurrent();
    return true;
}

long Playlist::FindByFilename(const std::string& path) const {
    auto found = m_firstIndex.find(path);
    return found == m_firstIndex.end() ? -1 : static_cast<long>(found->second);
}

void Playlist::AddPending(const std::string& path) { m_pending.push_back(PlayablePath(path)); }

bool Playlist::AddPendingFiles() {
    if (m_pending.empty()) return false;
    std::vector<std::string> pending;
    pending.swap(m_pending);
    const size_t first = m_items.size();
    m_items.reserve(first + pending.size());
    m_firstIndex.reserve(first + pending.size());
    size_t current = kUnseen;
    for (std::string& path : pending) {
        // A path listed already only becomes current; the first pending one ends current.
        auto [entry, added] = m_firstIndex.try_emplace(path, m_items.size());
        if (current == kUnseen) current = entry->second;
        if (!added) continue;
        auto item = std::make_unique<PlaylistItem>();
        item->shortname = ShortNameOf(path);
        item->filename = std::move(path);
        m_items.push_back(std::move(item));
    }
    m_current = current;
    if (m_items.size() > first) RowsAppended(first, m_items.size() - first);
    NotifyCurrent();
    return true;
}

Playlist::SourceResult Playlist::AddSource(const std::string& given, const std::string& discLabel) {
    const std::string path = PlayablePath(given);
    SourceResult result;
    size_t slash = path.rfind('/');
    result.discMode = slash == std::string::npos;
    long existing = FindByFilename(path);
    if (existing >= 0) {
        result.index = static_cast<size_t>(existing);
        if (result.discMode) {
            m_items[result.index]->shortname = discLabel;
            if (PlaylistObserver* o = RowsChanged()) o->OnRowChanged(result.index);
        }
    } else {
        auto item = std::make_unique<PlaylistItem>();
        item->filename = path;
        item->shortname = result.discMode ? discLabel : ShortNameOf(path);
        m_items.push_back(std::move(item));
        result.index = m_items.size() - 1;
        IndexAppended(result.index);
        RowsAppended(result.index, 1);
    }
    m_current = result.index;
    NotifyCurrent();
    return result;
}

bool Playlist::SetShortName(size_t index, const std::string& text) {
    if (index >= m_items.size()) return false;
    m_items[index]->shortname = text;
    if (PlaylistObserver* o = RowsChanged()) o->OnRowChanged(index);
    return true;
}

void Playlist::Append(PlaylistItem item) {
    m_items.push_back(std::make_unique<PlaylistItem>(std::move(item)));
    m_current = m_items.size() - 1;
    IndexAppended(m_current);
    RowsAppended(m_current, 1);
    NotifyCurrent();
}

void Playlist::AppendAll(std::vector<PlaylistItem> items, bool skipDuplicates) {
    const size_t first = m_items.size();
    m_items.reserve(first + items.size());
    m_firstIndex.reserve(first + items.size());
    for (PlaylistItem& item : items) {
        bool added = m_firstIndex.try_emplace(item.filename, m_items.size()).second;
        if (skipDuplicates && !added) continue;
        m_items.push_back(std::make_unique<PlaylistItem>(std::move(item)));
    }
    if (m_items.size() == first) return;
    m_current = m_items.size() - 1;
    RowsAppended(first, m_items.size() - first);
    NotifyCurrent();
}

bool Playlist::PlaceBefore(std::vector<PlaylistItem> restored, long long current) {
    std::vector<std::unique_ptr<PlaylistItem>> listed;
    listed.swap(m_items);
    const size_t listedCurrent = m_current;
    m_firstIndex.clear();
    m_items.reserve(restored.size() + listed.size());
    for (PlaylistItem& item : restored) {
        if (m_firstIndex.try_emplace(item.filename, m_items.size()).second)
            m_items.push_back(std::make_unique<PlaylistItem>(std::move(item)));
    }
    const size_t restoredCount = m_items.size();
    const long long last = static_cast<long long>(restoredCount) - 1;
    m_current = restoredCount == 0 || current < 0 ? 0 : static_cast<size_t>(current > last ? last : current);
    bool currentRestored = restoredCount > 0 && listed.empty();
    for (size_t i = 0; i < listed.size(); ++i) {
        auto [entry, added] = m_firstIndex.try_emplace(listed[i]->filename, m_items.size());
        const bool restoredAlready = !added && entry->second < restoredCount;
        if (i == listedCurrent) {
            m_current = restoredAlready ? entry->second : m_items.size();
            currentRestored = restoredAlready;
        }
        if (!restoredAlready) m_items.push_back(std::move(listed[i]));
    }
    if (m_observer) m_observer->OnRowsReset();
    if (!m_items.empty()) NotifyCurrent();
    return currentRestored;
}

bool Playlist::Remove(size_t index) {
    if (index >= m_items.size()) return false;
    if (index == m_current) return RemoveCurrent();
    // Only one other row goes, so the current entry itself moves up by one or stays:
    // equal filenames elsewhere in the list cannot make another entry current.
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    if (m_current > index) --m_current;
    RebuildIndex();
    if (PlaylistObserver* o = RowsChanged()) o->OnRowRemoved(index);
    NotifyCurrent();
    return true;
}

bool Playlist::RemoveCurrent() {
    if (m_items.empty()) return false;
    if (m_current >= m_items.size()) m_current = m_items.size() - 1;
    const size_t removed = m_current;
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(removed));
    m_current = removed > 0 ? removed - 1 : 0;
    RebuildIndex();
    if (PlaylistObserver* o = RowsChanged()) o->OnRowRemoved(removed);
    if (!m_items.empty()) NotifyCurrent();
    return true;
}

void Playlist::Clear() {
    m_items.clear();
    m_firstIndex.clear();
    m_current = 0;
    m_sortMode = kUnsorted;
    if (PlaylistObserver* o = RowsChanged()) o->OnRowsReset();
}

void Playlist::RowsAppended(size_t first, size_t count) {
    // New rows go to the end, whatever order the list was sorted in.
    m_sortMode = kUnsorted;
    if (PlaylistObserver* o = RowsChanged()) o->OnRowsAppended(first, count);
}

void Playlist::SortByName() { Sort(0); }
void Playlist::SortByType() { Sort(1); }

void Playlist::Sort(int mode) {
    if (m_items.empty()) return;
    SortKeys keys(m_items, mode);
    std::vector<SortRow>& rows = keys.Rows();
    std::sort(rows.begin(), rows.end(), std::cref(keys));
    // The entry itself stays current, wherever it lands: names may repeat or be empty.
    const PlaylistItem* current = Current();
    std::vector<std::unique_ptr<PlaylistItem>> sorted;
    sorted.reserve(m_items.size());
    m_current = 0;
    for (const SortRow& row : rows) {
        sorted.push_back(std::move(m_items[row.position]));
        if (sorted.back().get() == current) m_current = sorted.size() - 1;
    }
    m_items.swap(sorted);
    m_sortMode = mode;
    RebuildIndex();
    if (PlaylistObserver* o = RowsChanged()) o->OnRowsReset();
    NotifyCurrent();
}

const std::string& Playlist::RowText(const PlaylistItem& item) {
    return item.shortname.empty() ? item.filename : item.shortname;
}

void Playlist::RebuildIndex() {
    // After a removal the filenames mostly stay: their keys are kept and only the indexes
    // written anew, which spares a copy and an allocation per entry.
    for (auto& entry : m_firstIndex) entry.second = kUnseen;
    for (size_t i = 0; i < m_items.size(); ++i) {
        auto entry = m_firstIndex.try_emplace(m_items[i]->filename, i).first;
        if (entry->second == kUnseen) entry->second = i;
    }
    for (auto entry = m_firstIndex.begin(); entry != m_firstIndex.end();) {
        if (entry->second == kUnseen) entry = m_firstIndex.erase(entry);
        else ++entry;
    }
}

void Playlist::IndexAppended(size_t index) {
    m_firstIndex.emplace(m_items[index]->filename, index);  // an earlier entry keeps its place
}

PlaylistObserver* Playlist::RowsChanged() {
    ++m_revision;
    return m_observer;
}

void Playlist::NotifyCurrent() {
    if (m_observer) m_observer->OnCurrentChanged(m_current);
}

}  // namespace orvella
