#include "playlist/MediaFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/DiscRules.h"
#include "playlist/Playlist.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::TempFolder;
using orvella_test::WriteBytes;

TEST(MediaFiles, ExtensionsMatchWholeEntriesIgnoringCase) {
    EXPECT_NE(std::string(kMediaFilterText).find("*.mpeg;\t;*.mpeg2;"), std::string::npos);
    for (const char* ext : {".avi", ".AVI", ".mKv", ".dvr-ms", ".mpeg2", ".3g2", ".wv"})
        EXPECT_TRUE(IsMediaExtension(ext)) << ext;
    for (const char* ext : {".mp", ".", "", "avi", "\t", ".\t", "*.avi", ".avi ", ".mpeg;", ".mp4.part"})
        EXPECT_FALSE(IsMediaExtension(ext)) << "'" << ext << "'";
}

TEST(MediaFiles, ShortNamesTypeKeysAndOrders) {
    const std::pair<const char*, const char*> shortNames[] = {
        {"/v/c.avi", "c.avi"}, {"c.avi", "c.avi"}, {"/v/", ""}, {"/v/say \"hi\".avi", "say \"hi\".avi"},
        {"/v\"x/y.avi", "y.avi"}, {"http://host/a?b=1", "a?b=1"}};
    for (const auto& c : shortNames) EXPECT_EQ(ShortNameOf(c.first), c.second) << c.first;
    const std::pair<const char*, const char*> types[] = {
        {"a.b.mkv", "b.mkv"}, {"film.part2.avi", "part2.avi"}, {"README", "README"}, {"x.", ""}};
    for (const auto& c : types) EXPECT_EQ(TypeKeyOf(c.first), c.second) << c.first;
    // Natural order: numbers by value, case folded in every script (Greek, ß), accents second.
    struct Case {
        const char *a, *b;
        bool byName, byType;
    } orders[] = {
        {"a.AVI", "B.avi", true, true},        {"x.AVI", "X.avi", false, false},
        {"z.avi", "a.mkv", false, true},       {"clip.avi", "film.part2.avi", true, true},
        {"a.zzz", "film.part2.avi", true, false}, {"README", "a.avi", false, false},
        {"ep2.mkv", "ep10.mkv", true, true},   {"ep10.mkv", "ep2.mkv", false, false},
        {"Ep 9", "ep 10", true, true},         {"file 007", "file 7", true, true},
        {"\xC3\x89pisode 3", "\xC3\xA9pisode 10", true, true}, {"\xC3\xA9pisode 2", "Episode 3", true, true},
        {"\xC3\xA9" "clair", "Zebra", true, true}, {"Stra\xC3\x9F" "e 1", "STRASSE 2", true, true},
        {"\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x99\xCE\x91 2", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xB9\xCE\xB1 10", true, true},
        {"track \xD9\xA2", "track 10", true, true},  // Arabic-Indic two
    };
    for (const Case& c : orders) {
        EXPECT_EQ(LessByName(c.a, c.b), c.byName) << c.a << " < " << c.b;
        EXPECT_EQ(LessByType(c.a, c.b), c.byType) << c.a << " < " << c.b;
    }
}

TEST(MediaFiles, ScanListsEachFolderNaturallySkipsFilesWithoutExtensionAndKeepsNamesExact) {
    TempFolder temp;
    const std::string root = temp.path();
    for (const char* name : {"c.avi", "README", "b.avi", "notes.mp", "a.AVI", "LICENSE", "x", "y"})
        WriteBytes(root + "/" + name, "");
    const std::vector<std::string> hostile = {"-v.avi", "quote\"d.avi", "new\nline.mkv",
                                              "\xFF\xFE raw.mp4", "$(touch x);.avi", "tab\t.ogg"};
    ASSERT_EQ(mkdir((root + "/sub").c_str(), 0700), 0);
    for (const std::string& name : hostile) WriteBytes(root + "/sub/" + name, "");
    ASSERT_EQ(symlink("..", (root + "/sub/up").c_str()), 0);  // must not go round in circles
    ASSERT_EQ(mkdir((root + "/show").c_str(), 0700), 0);
    for (const char* name : {"ep10.mkv", "\xC3\x89pisode 3.mkv", "ep2.mkv", "Episode 12.mkv",
                             "Ep1.mkv", "\xC3\xA9pisode 2.mkv", "episode 1.mkv"})
        WriteBytes(root + "/show/" + name, "");

    std::vector<std::string> pending = {"/kept/first.avi"};
    ScanFolder(root, pending);
    std::vector<std::string> expected = {"/kept/first.avi", root + "/a.AVI", root + "/b.avi", root + "/c.avi"};
    for (const char* name : {"Ep1.mkv", "ep2.mkv", "ep10.mkv", "episode 1.mkv", "\xC3\xA9pisode 2.mkv",
                             "\xC3\x89pisode 3.mkv", "Episode 12.mkv"})
        expected.push_back(root + "/show/" + name);
    for (const char* name : {"$(touch x);.avi", "-v.avi", "new\nline.mkv", "quote\"d.avi", "tab\t.ogg",
                             "\xFF\xFE raw.mp4"})
        expected.push_back(root + "/sub/" + name);
    EXPECT_EQ(pending, expected);

    ScanFolder(root + "/no such folder", pending);
    EXPECT_EQ(pending, expected);
}

// What a dropped path plays as, from real folders and files: the play list's entries and
// whether they are a disc.
TEST(MediaFiles, DroppedPathsPlayAsDiscsOrFiles) {
    struct Case {
        const char* what;
        std::vector<std::string> files;  // made below the temporary folder, folders on the way
        std::string dropped;             // relative; "" is the folder itself
        std::vector<std::string> plays;  // the entries; "@" stands for the temporary folder
        bool disc;
    } cases[] = {
        {"VIDEO_TS with its files", {"VIDEO_TS/VIDEO_TS.IFO", "VIDEO_TS/VTS_01_1.VOB"}, "",
         {"dvdnav:// -dvd-device @"}, true},
        {"video_ts in lower case", {"video_ts/vts_01_1.vob"}, "", {"dvdnav:// -dvd-device @"}, true},
        {"Video_TS with its index only", {"Video_TS/VIDEO_TS.IFO"}, "", {"dvdnav:// -dvd-device @"}, true},
        {"the VIDEO_TS folder itself", {"VIDEO_TS/VTS_01_1.VOB"}, "VIDEO_TS",
         {"dvdnav:// -dvd-device @/VIDEO_TS"}, true},
        {"a VIDEO_TS without video", {"VIDEO_TS/notes.txt", "a.mkv"}, "", {"@/a.mkv"}, false},
        {"a loose clip.vob among videos", {"b.mp4", "clip.vob", "a.mkv"}, "",
         {"@/a.mkv", "@/b.mp4", "@/clip.vob"}, false},
        {"a camcorder's VOB files", {"MOV002.VOB", "MOV001.VOB"}, "", {"@/MOV001.VOB", "@/MOV002.VOB"}, false},
        {"a video CD with a VOB deeper", {"MPEGAV/AVSEQ01.DAT", "z/extra/x.VOB"}, "",
         {"@/MPEGAV/AVSEQ01.DAT", "@/z/extra/x.VOB"}, false},
        {"a Blu-ray", {"BDMV/index.bdmv", "BDMV/STREAM/00000.m2ts"}, "", {"br:// -bluray-device @ "}, true},
        {"Blu-ray streams without an index", {"BDMV/STREAM/00000.m2ts"}, "", {"br:// -bluray-device @ "}, true},
        {"upper-case M2TS files", {"BDMV/STREAM/00000.M2TS"}, "", {"@/BDMV/STREAM/00000.M2TS"}, false},
        {"a DVD image", {"film.iso"}, "film.iso", {"dvdnav:// -dvd-device @/film.iso"}, true},
        {"a DVD image in upper case", {"FILM.ISO"}, "FILM.ISO", {"dvdnav:// -dvd-device @/FILM.ISO"}, true},
        {"an empty folder", {}, "", {}, false},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        for (const std::string& file : c.files) {
            for (size_t slash = file.find('/'); slash != std::string::npos; slash = file.find('/', slash + 1))
                mkdir((temp.path() + "/" + file.substr(0, slash)).c_str(), 0700);
            WriteBytes(temp.path() + "/" + file, "x");
        }
        const std::string dropped = c.dropped.empty() ? temp.path() : temp.path() + "/" + c.dropped;
        struct stat st {};
        WalkedFolders walked(1);
        if (stat(dropped.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) walked[0] = ExamineFolder(dropped);
        const DropPlan plan = PlanDrop({dropped}, walked);
        Playlist list;
        for (const std::string& path : plan.pending) list.AddPending(path);
        std::vector<std::string> expected;
        for (std::string path : c.plays) expected.push_back(path.replace(path.find('@'), 1, temp.path()));
        EXPECT_EQ(list.Pending(), expected) << c.what;
        EXPECT_EQ(plan.discMode, c.disc) << c.what;
    }
    EXPECT_EQ(ExamineFolder("/no such folder").kind, kDiscNone);
    EXPECT_EQ(PlayablePath("http://host/film.iso"), "http://host/film.iso");
    EXPECT_EQ(DiscLocator(kDiscDvd, "/media/MOVIE", true), "dvdnav:// -dvd-device /media/MOVIE ");
    EXPECT_EQ(DiscLocator(kDiscBluRay, "/bd", false), "br:// -bluray-device /bd ");
}

}  // namespace
}  // namespace orvella
