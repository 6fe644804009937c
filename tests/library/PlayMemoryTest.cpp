#include "library/PlayMemory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/XmlDocument.h"
#include "playlist/Playlist.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::ReadBytes;
using orvella_test::TempFolder;
using orvella_test::Utf16;
using orvella_test::Utf8FromUtf16;
using orvella_test::WriteBytes;

PlaylistItem Item(const std::string& filename, const std::string& shortname, int64_t starttime = 0,
                  const std::string& subtitle = "") {
    PlaylistItem item;
    item.filename = filename;
    item.shortname = shortname;
    item.starttime = starttime;
    item.subtitle = subtitle;
    return item;
}

// An ".orv" file as another installation might write it (UTF-8, any layout).
MediaRecord LoadText(const TempFolder& folder, const std::string& media) {
    WriteBytes(folder.File("t.orv"), "<?xml version='1.0'?>\n<root>" + media + "</root>");
    MediaRecord record;
    EXPECT_TRUE(LoadPlaylistFile(folder.File("t.orv"), &record)) << media;
    return record;
}

TEST(PlayMemory, WritesTheDocumentedLayoutAndMatchesThePathCalls) {
    Playlist list;
    list.AppendAll({Item("/v/a.avi", "a.avi"), Item("/v/b \"&<\n\xFF.mkv", "b", 754, "/v/b.srt")},
                   false);
    XmlDocument fast, slow, noLocation;
    for (XmlDocument* doc : {&fast, &slow, &noLocation}) {
        ASSERT_TRUE(doc->Create(""));
        doc->CreateRoot();
    }
    WriteMedia(fast, MediaSnapshots().Take(list, true));
    WriteMedia(noLocation, MediaSnapshots().Take(list, false));
    // The same through the path-addressed calls, as every other section is written.
    slow.AddElement("Media", "root");
    slow.SetAttribute("root/Media", "count", "2");
    slow.SetAttribute("root/Media", "current", "1");
    for (size_t i = 0; i < list.Count(); ++i) {
        const PlaylistItem& item = *list.At(i);
        slow.AddElement("Data", "root/Media");
        const std::pair<const char*, std::string> values[] = {
            {"id", std::to_string(i)}, {"filename", item.filename}, {"shortname", item.shortname},
            {"starttime", std::to_string(item.starttime)}, {"subtitle", item.subtitle}};
        for (const auto& v : values) slow.SetAttribute("root/Media/Data", v.first, v.second, i);
    }
    EXPECT_EQ(fast.Serialize(), slow.Serialize()) << Utf8FromUtf16(fast.Serialize());
    EXPECT_NE(Utf8FromUtf16(noLocation.Serialize()).find("shortname=\"b\" starttime=\"0\" subtitle"),
              std::string::npos);
}

TEST(PlayMemory, HostileNamesRoundTripExactly) {
    std::string longName(5000, 'n');
    for (size_t i = 0; i < longName.size(); i += 7) longName[i] = static_cast<char>(0x80 + i % 128);
    const std::vector<std::string> names = {
        "/v/plain.avi",
        "/v/\xC3\xA9t\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x8E\xB5.mkv",
        "/v/quote\"apos'amp&lt<gt>.avi",
        "/v/line\nfeed\r\ncr\rtab\t.avi",
        "  /v/edge spaces  ",
        "/v/\x01\x1F\x7F controls.avi",
        "/v/latin1 \xE9\xE8 \xED\xB2\x80 cut \xE2\x82",
        "/v/&#xDC80; &amp; as text",
        "-v.avi",
        "/v/$HOME $(id) `id`.avi",
        "/v/" + longName,
    };
    Playlist list;
    std::vector<PlaylistItem> items;
    for (size_t i = 0; i < names.size(); ++i)
        items.push_back(Item(names[i], names[(i + 1) % names.size()], static_cast<int64_t>(i) * 1000000007,
                             names[(i + 2) % names.size()]));
    list.AppendAll(items, false);
    TempFolder folder;
    ASSERT_TRUE(SavePlaylistFile(folder.File("h.orv"), list, true));
    EXPECT_TRUE(orvella_test::XmlLintAccepts(folder.File("h.orv")));
    MediaRecord record;
    ASSERT_TRUE(LoadPlaylistFile(folder.File("h.orv"), &record));
    ASSERT_EQ(record.entries.size(), items.size());
    for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(record.entries[i], items[i]) << names[i];
    EXPECT_EQ(record.current, static_cast<long long>(items.size() - 1));
}

TEST(PlayMemory, PlayListFilesKeepDuplicatesThePlayMemoryDoesNot) {
    TempFolder folder;
    Playlist list;
    list.AppendAll({Item("/v/a.avi", "a.avi"), Item("/v/a.avi", "a.avi"), Item("/v/b.avi", "b.avi")},
                   false);
    list.SetCurrent(2);
    ASSERT_TRUE(SavePlaylistFile(folder.File("d.orv"), list, true));
    MediaRecord record;
    ASSERT_TRUE(LoadPlaylistFile(folder.File("d.orv"), &record));
    Playlist fromFile, memory;
    ApplyMedia(record, fromFile, false);
    ApplyMedia(record, memory, true);
    EXPECT_EQ(fromFile.Count(), 3u);
    EXPECT_EQ(fromFile.CurrentIndex(), 2u);
    EXPECT_EQ(memory.Count(), 2u);
    EXPECT_EQ(memory.CurrentIndex(), 1u);  // "current" 2 clamped into the shorter list
}

TEST(PlayMemory, EmptyListsAndReplacedFiles) {
    TempFolder folder;
    WriteBytes(folder.File("e.orv"), "<root><Player volume='3'/><Media count='1'><Data/></Media></root>");
    Playlist empty;
    ASSERT_TRUE(SavePlaylistFile(folder.File("e.orv"), empty, true));
    EXPECT_EQ(ReadBytes(folder.File("e.orv")),
              Utf16("<?xml version='1.0' encoding='UTF-16'?>\n"
                    "<root>\n\t<Media count=\"0\" current=\"0\"/>\n</root>\n"));
    MediaRecord record;
    record.current = 5;
    ASSERT_TRUE(LoadPlaylistFile(folder.File("e.orv"), &record));
    EXPECT_TRUE(record.entries.empty());
    EXPECT_EQ(record.current, 0);
    Playlist list;
    ApplyMedia(record, list, true);
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(SavePlaylistFile(folder.File("no/folder/x.orv"), empty, true));
}

TEST(PlayMemory, ReadsDamagedValuesSafely) {
    TempFolder folder;
    const std::pair<const char*, int64_t> times[] = {
        {"754.9", 754}, {"-3.7", -3},           {" 12 ", 12},          {"1.5e2", 150},
        {"abc", 0},     {"", 0},                {"1e300", INT64_MAX},  {"-1e300", INT64_MIN},
        {"inf", INT64_MAX}, {"nan", 0},         {"754,9", 754},  // not the user's locale
    };
    for (const auto& t : times) {
        MediaRecord r = LoadText(folder, std::string("<Media count='1' current='0'><Data starttime='") +
                                             t.first + "'/></Media>");
        ASSERT_EQ(r.entries.size(), 1u) << t.first;
        EXPECT_EQ(r.entries[0].starttime, t.second) << "'" << t.first << "'";
    }

    MediaRecord r = LoadText(folder, "<Media count='2' current='-4'><Data filename='/a'/><Data filename='/b'/></Media>");
    Playlist low;
    ApplyMedia(r, low, true);
    EXPECT_EQ(low.CurrentIndex(), 0u);
    EXPECT_EQ(LoadText(folder, "<Media count='1' current='zz'><Data/></Media>").current, 0);
}

TEST(PlayMemory, TheEntriesAreTheDataElementsWhateverCountSays) {
    TempFolder folder;
    for (const char* count : {"count='1'", "count='9'", "count='-1'", "count='x'", ""}) {
        const std::string media = std::string("<Media ") + count + "><Data/><Data/><Data filename='/c'/></Media>";
        EXPECT_EQ(LoadText(folder, media).entries.size(), 3u) << media;
    }
    EXPECT_TRUE(LoadText(folder, "<Media count='2147483647'/>").entries.empty());
    // A file without "Media" holds no play list: it does not load.
    WriteBytes(folder.File("other.orv"), "<root><Player volume='3'/></root>");
    MediaRecord record;
    EXPECT_FALSE(LoadPlaylistFile(folder.File("other.orv"), &record));
}

TEST(PlayMemory, MissingOrMalformedFilesLeaveTheRecordAlone) {
    TempFolder folder;
    MediaRecord record;
    record.current = 7;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadPlaylistFile(folder.File("missing.orv"), &record));
    WriteBytes(folder.File("bad.orv"), "<root><Media count='1'><Data filename='/a'/></root>");
    EXPECT_FALSE(LoadPlaylistFile(folder.File("bad.orv"), &record));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(record.current, 7);
    EXPECT_TRUE(record.entries.empty());
}

}  // namespace
}  // namespace orvella
