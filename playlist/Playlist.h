// The play list model: the ordered entries, the current one, the files waiting to be
// added, the duplicate index, sorting and the play-sequence rule. No windows or controls
// here: a view (the "playlist" list control) mirrors the rows through PlaylistObserver.
//
//   Playlist list;
//   list.SetObserver(&view);
//   list.AddPending("/films/a.mkv");
//   list.AddPendingFiles();                 // entries appended, the first pending current
//   const PlaylistItem* item = list.Current();
//
// Every index is checked: an index outside the list never reaches an entry (At and
// Current give nullptr, the operations do nothing and say so).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "playlist/PlaylistItem.h"

namespace orvella {

// What a view needs to know to mirror the rows. Every call happens after the model has
// changed; indexes are those of the new sequence.
class PlaylistObserver {
public:
    virtual ~PlaylistObserver() = default;
    virtual void OnRowsAppended(size_t first, size_t count) {}  // rows [first, first + count)
    virtual void OnRowRemoved(size_t index) {}
    virtual void OnRowsReset() {}                 // every row anew (sort, clear)
    virtual void OnRowChanged(size_t index) {}    // its text (shortname) changed
    virtual void OnCurrentChanged(size_t index) {}  // select that row (also when unchanged)
};

enum PlaySequence : int {
    kPlaySingle = 0,
    kPlaySequence = 1,
    kPlayRandom = 2,
    kPlaySingleLoop = 3,
    kPlaySequenceLoop = 4,
};

// What follows the natural end of the current entry.
struct AdvanceDecision {
    bool finish = true;  // stop: the start view again
    size_t next = 0;     // otherwise the entry to play
};
// sequence: "playsequence"; randomValue: any value from the random source (random play
// takes it modulo count). An empty list always finishes; unknown sequences finish too.
AdvanceDecision DecideAdvance(int sequence, size_t current, size_t count, uint32_t randomValue);

class Playlist {
public:
    Playlist();
    ~Playlist();
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    void SetObserver(PlaylistObserver* observer) { m_observer = observer; }

    size_t Count() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    const PlaylistItem* At(size_t index) const;  // nullptr outside the list
    PlaylistItem* At(size_t index);
    // The current index (0 at start; meaningless while the list is empty) and its entry.
    size_t CurrentIndex() const { return m_current; }
    const PlaylistItem* Current() const { return At(m_current); }
    PlaylistItem* Current() { return At(m_current); }
    // Makes index current and tells the view; false (nothing changes) outside the list.
    bool SetCurrent(size_t index);
    // The first entry whose filename equals path exactly (case-sensitive); -1 when none.
    long FindByFilename(const std::string& path) const;

    // Files waiting to be added (open dialog, folder scan, dropped files). A DVD image
    // waits as the disc it holds (PlayablePath).
    const std::vector<std::string>& Pending() const { return m_pending; }
    void AddPending(const std::string& path);
    void ClearPending() { m_pending.clear(); }

    // Moves the pending files into the list: a path already listed only becomes
    // current; a new one is appended and becomes current. Afterwards the entry of the
    // first pending path is current and the pending list is empty. False when nothing
    // was pending.
    bool AddPendingFiles();

    // One source without pending files (command line, disc, URL): the entry for path
    // becomes current, appended unless it is listed already. A path without "/" is a disc
    // address: its shortname is discLabel (also on an existing entry), and discMode comes
    // back true. A DVD image is taken as the disc it holds, as AddPending does.
    struct SourceResult {
        size_t index = 0;
        bool discMode = false;
    };
    SourceResult AddSource(const std::string& path, const std::string& discLabel);

    // Appends an entry as it is (play memory, play-list files) and makes it current.
    void Append(PlaylistItem item);
    // Appends many at once (one view call); the last becomes current. skipDuplicates drops
    // entries whose filename is already listed (also among those appended before them).
    void AppendAll(std::vector<PlaylistItem> items, bool skipDuplicates);
    // The play memory, read after other entries were listed: the list becomes what it
    // would be had the memory been read first (duplicates dropped, `current` clamped) and
    // the others added after it (each already restored only becomes current). True when
    // the current entry is now a restored one, with the memory's resume point.
    bool PlaceBefore(std::vector<PlaylistItem> restored, long long current);

    // Removes a row that may or may not be current. A current row goes as RemoveCurrent
    // does; any other keeps the same entry current at its new index. False outside the list.
    bool Remove(size_t index);
    // Removes the current entry; the index steps back by one (not below 0). False when empty.
    bool RemoveCurrent();
    void Clear();  // no entries, current index 0
    // A disc's entry shows the disc's title rather than a part of its address.
    bool SetShortName(size_t index, const std::string& text);

    // Sorting in natural order (nothing on an empty list); the current entry stays current.
    void SortByName();
    void SortByType();
    // 0 sorted by name, 1 by type, kUnsorted until sorted and again once rows are added.
    int SortMode() const { return m_sortMode; }
    static constexpr int kUnsorted = -1;

    // Counts the changes to the rows themselves: entries added, removed, reordered or
    // renamed. A new current entry or resume point does not count.
    uint64_t Revision() const { return m_revision; }

    // The row text: shortname, or filename when shortname is empty.
    static const std::string& RowText(const PlaylistItem& item);

private:
    void RebuildIndex();
    void IndexAppended(size_t index);
    void RowsAppended(size_t first, size_t count);
    void Sort(int mode);
    void NotifyCurrent();
    // The rows changed: a new revision; the view to tell, if any.
    PlaylistObserver* RowsChanged();

    std::vector<std::unique_ptr<PlaylistItem>> m_items;
    // filename → index of its first entry, beside the list so that adding stays linear.
    std::unordered_map<std::string, size_t> m_firstIndex;
    std::vector<std::string> m_pending;
    size_t m_current = 0;
    int m_sortMode = kUnsorted;
    uint64_t m_revision = 0;
    PlaylistObserver* m_observer = nullptr;
};

}  // namespace orvella
