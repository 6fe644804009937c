#include "playlist/Playlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvella {
namespace {

// Records what the view is told, one line per call.
class Recorder : public PlaylistObserver {
public:
    std::vector<std::string> calls;
    void OnRowsAppended(size_t first, size_t count) override {
        Add("appended " + std::to_string(first) + " " + std::to_string(count));
    }
    void OnRowRemoved(size_t index) override { Add("removed " + std::to_string(index)); }
    void OnRowsReset() override { Add("reset"); }
    void OnRowChanged(size_t index) override { Add("changed " + std::to_string(index)); }
    void OnCurrentChanged(size_t index) override { Add("current " + std::to_string(index)); }

    // Compares and forgets the calls so far; prints both sequences when they differ.
    void Expect(const std::vector<std::string>& expected, const char* where) {
        if (calls != expected)
            ADD_FAILURE() << where << "\n  expected: " << Join(expected) << "\n  actual:   " << Join(calls);
        calls.clear();
    }

private:
    void Add(std::string call) { calls.push_back(std::move(call)); }
    static std::string Join(const std::vector<std::string>& lines) {
        std::string out = "(none)";
        for (size_t i = 0; i < lines.size(); ++i) out = (i ? out + " | " : "") + lines[i];
        return out;
    }
};

std::vector<std::string> Rows(const Playlist& list) {
    std::vector<std::string> rows;
    for (size_t i = 0; i < list.Count(); ++i) rows.push_back(Playlist::RowText(*list.At(i)));
    return rows;
}

PlaylistItem Item(const std::string& filename, const std::string& shortname = "") {
    PlaylistItem item;
    item.filename = filename;
    item.shortname = shortname.empty() ? filename.substr(filename.rfind('/') + 1) : shortname;
    return item;
}

class PlaylistTest : public testing::Test {
protected:
    PlaylistTest() { list.SetObserver(&view); }
    void Pend(std::initializer_list<const char*> paths) {
        for (const char* path : paths) list.AddPending(path);
    }
    Playlist list;
    Recorder view;
};

TEST_F(PlaylistTest, PendingFilesFollowTheDuplicateRuleExactlyAndCaseSensitively) {
    EXPECT_FALSE(list.AddPendingFiles());
    view.Expect({}, "nothing pending");

    Pend({"/v/b.avi", "/v/a.avi", "/v/b.avi", "/v/A.avi", "/v/say \"hi\".avi"});
    EXPECT_TRUE(list.AddPendingFiles());
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"b.avi", "a.avi", "A.avi", "say \"hi\".avi"}));
    EXPECT_EQ(list.CurrentIndex(), 0u);  // the first pending path
    EXPECT_TRUE(list.Pending().empty());
    view.Expect({"appended 0 4", "current 0"}, "first batch");

    Pend({"/v/a.avi"});  // listed already: only becomes current
    EXPECT_TRUE(list.AddPendingFiles());
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.CurrentIndex(), 1u);
    view.Expect({"current 1"}, "same path again");

    Pend({"/v/new.mkv", "/v/A.avi"});
    list.AddPendingFiles();
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(list.CurrentIndex(), 4u);
    view.Expect({"appended 4 1", "current 4"}, "one new, one listed");
    EXPECT_EQ(list.FindByFilename("/v/A.avi"), 2);
    EXPECT_EQ(list.FindByFilename("/V/a.avi"), -1);
}

TEST_F(PlaylistTest, SourcesAndDiscAddresses) {
    Playlist::SourceResult r = list.AddSource("/films/a.mkv", "DISC");
    EXPECT_EQ(r.index, 0u);
    EXPECT_FALSE(r.discMode);
    r = list.AddSource("sr0", "FIRST LABEL");
    EXPECT_EQ(r.index, 1u);
    EXPECT_TRUE(r.discMode);
    view.Expect({"appended 0 1", "current 0", "appended 1 1", "current 1"}, "two new sources");

    r = list.AddSource("sr0", "SECOND LABEL");  // the label follows the disc in the drive
    EXPECT_EQ(r.index, 1u);
    r = list.AddSource("/films/a.mkv", "DISC");
    EXPECT_EQ(r.index, 0u);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"a.mkv", "SECOND LABEL"}));
    view.Expect({"changed 1", "current 1", "current 0"}, "listed sources");
}

TEST_F(PlaylistTest, AppendAllKeepsOrDropsDuplicatesAndTellsTheViewOnce) {
    list.Append(Item("/v/a.avi"));
    view.Expect({"appended 0 1", "current 0"}, "append");
    list.AppendAll({Item("/v/a.avi"), Item("/v/b.avi"), Item("/v/b.avi"), Item("/v/c.avi")}, true);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"a.avi", "b.avi", "c.avi"}));
    EXPECT_EQ(list.CurrentIndex(), 2u);
    view.Expect({"appended 1 2", "current 2"}, "play memory");
    list.AppendAll({Item("/v/a.avi"), Item("/v/c.avi")}, true);
    view.Expect({}, "nothing new");

    list.AppendAll({Item("/v/a.avi"), Item("/v/a.avi")}, false);
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(list.FindByFilename("/v/a.avi"), 0);
    view.Expect({"appended 3 2", "current 4"}, "play-list file");
    list.At(0)->shortname.clear();
    EXPECT_EQ(Playlist::RowText(*list.At(0)), "/v/a.avi");  // no row text: the filename shows
}

TEST_F(PlaylistTest, RemovingKeepsTheSameEntryCurrent) {
    // x twice: only the entry itself, not the first with its filename, may stay current.
    list.AppendAll({Item("/x"), Item("/y"), Item("/x"), Item("/z"), Item("/w")}, false);
    ASSERT_TRUE(list.SetCurrent(2));
    const PlaylistItem* current = list.Current();
    view.calls.clear();

    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.CurrentIndex(), 1u);
    EXPECT_EQ(list.Current(), current);
    EXPECT_EQ(list.FindByFilename("/x"), 1);  // the index follows the rows
    EXPECT_TRUE(list.Remove(2));              // after the current row
    EXPECT_EQ(list.Current(), current);
    view.Expect({"removed 0", "current 1", "removed 2", "current 1"}, "other rows");
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"y", "x", "w"}));

    EXPECT_FALSE(list.Remove(3));
    EXPECT_FALSE(list.SetCurrent(3));
    EXPECT_EQ(list.At(3), nullptr);
    view.Expect({}, "outside the list");

    EXPECT_TRUE(list.Remove(1));  // the current row steps back
    EXPECT_EQ(list.CurrentIndex(), 0u);
    EXPECT_TRUE(list.RemoveCurrent());  // at 0 it stays at 0
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"w"}));
    EXPECT_TRUE(list.RemoveCurrent());
    EXPECT_FALSE(list.RemoveCurrent());
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_FALSE(list.SetCurrent(0));
    view.Expect({"removed 1", "current 0", "removed 0", "current 0", "removed 0"}, "current rows");

    list.Append(Item("/a"));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.CurrentIndex(), 0u);
    EXPECT_EQ(list.FindByFilename("/a"), -1);
    view.Expect({"appended 0 1", "current 0", "reset"}, "clear");
}

TEST_F(PlaylistTest, SortsByNameAndTypeKeepingTheCurrentEntry) {
    list.SortByType();
    EXPECT_EQ(list.SortMode(), Playlist::kUnsorted);
    view.Expect({}, "empty list");

    list.AppendAll({Item("/1/film.part2.avi"), Item("/1/clip.mkv"), Item("/1/clip.avi"),
                    Item("/1/b.AVI"), Item("/1/Z.mp4"), Item("/1/a.mp4"), Item("/2/clip.avi")},
                   false);
    list.SetCurrent(1);
    view.calls.clear();
    list.SortByType();
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"b.AVI", "clip.avi", "clip.avi", "clip.mkv",
                                                    "a.mp4", "Z.mp4", "film.part2.avi"}));
    EXPECT_EQ(list.SortMode(), 1);
    EXPECT_EQ(list.Current()->filename, "/1/clip.mkv");
    view.Expect({"reset", "current 3"}, "by type");

    list.SortByName();
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"a.mp4", "b.AVI", "clip.avi", "clip.avi",
                                                    "clip.mkv", "film.part2.avi", "Z.mp4"}));
    EXPECT_EQ(list.SortMode(), 0);
    EXPECT_EQ(list.CurrentIndex(), 4u);
    view.Expect({"reset", "current 4"}, "by name");
    EXPECT_EQ(list.FindByFilename("/1/clip.mkv"), 4);

    // One filename under two row texts: the index follows whichever comes first now.
    Playlist twice;
    twice.AppendAll({Item("/d", "zz"), Item("/e", "m"), Item("/d", "aa")}, false);
    twice.SortByName();
    EXPECT_EQ(twice.FindByFilename("/d"), 0);
    EXPECT_EQ(twice.FindByFilename("/e"), 1);
}

TEST(PlaylistAdvance, EverySequenceAtEveryPlace) {
    constexpr long kFinish = -1;
    struct Case {
        int sequence;
        size_t current, count;
        uint32_t random;
        long next;
    } cases[] = {
        {kPlaySingle, 0, 3, 0, kFinish},        {kPlaySingleLoop, 1, 3, 0, kFinish},
        {kPlaySequence, 0, 3, 0, 1},            {kPlaySequence, 2, 3, 0, kFinish},
        {kPlaySequence, 7, 3, 0, kFinish},      {kPlayRandom, 0, 3, 7, 1},
        {kPlayRandom, 2, 3, 0xFFFFFFFF, 0},     {kPlayRandom, 0, 1, 12345, 0},
        {kPlaySequenceLoop, 1, 3, 0, 2},        {kPlaySequenceLoop, 2, 3, 0, 0},
        {kPlaySequenceLoop, 9, 3, 0, 0},        {kPlaySequenceLoop, 0, 1, 0, 0},
        {5, 0, 3, 0, kFinish},                  {-1, 0, 3, 0, kFinish},
    };  // an index outside the list counts as the last; one entry plays again
    for (const Case& c : cases) {
        AdvanceDecision d = DecideAdvance(c.sequence, c.current, c.count, c.random);
        long next = d.finish ? kFinish : static_cast<long>(d.next);
        EXPECT_EQ(next, c.next) << c.sequence << " at " << c.current << " of " << c.count;
    }
    for (int sequence = 0; sequence <= 4; ++sequence)
        EXPECT_TRUE(DecideAdvance(sequence, 0, 0, 3).finish) << sequence << " on an empty list";
}

}  // namespace
}  // namespace orvella
