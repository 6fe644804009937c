#include "playlist/MediaFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

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
        {"/v/c.avi", "c.avi"}, {"c.avi", "c.avi"}, {"/v/", ""}, {"/v/say \"hi\".avi", "say "},
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

TEST(MediaFiles, DiscTypeFromTheFirstTellingFileAndItsLocator) {
    struct Case {
        const char* what;
        std::vector<std::string> files;  // relative paths; folders made on the way
        int kind;
    } cases[] = {
        {"a DVD folder", {"VIDEO_TS/VIDEO_TS.IFO", "VIDEO_TS/VTS_01_1.VOB"}, kDiscDvd},
        {"a DVD mounted with lower-case names", {"video_ts/vts_01_1.vob"}, kDiscDvd},
        {"a Blu-ray folder", {"BDMV/index.bdmv", "BDMV/STREAM/00000.m2ts"}, kDiscBluRay},
        {"an upper-case M2TS is no Blu-ray", {"BDMV/STREAM/00000.M2TS"}, kDiscNone},
        {"a video CD", {"MPEGAV/AVSEQ01.VCD"}, kDiscVideoCd},
        {"plain files", {"a.mkv", "sub/b.avi"}, kDiscNone},
        {"nothing", {}, kDiscNone},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        for (const std::string& file : c.files) {
            for (size_t slash = file.find('/'); slash != std::string::npos; slash = file.find('/', slash + 1))
                mkdir((temp.path() + "/" + file.substr(0, slash)).c_str(), 0700);
            WriteBytes(temp.path() + "/" + file, "");
        }
        EXPECT_EQ(DiscType(temp.path()), c.kind) << c.what;
    }
    // The first telling file in walk order wins: a video CD file in the only folder
    // listed first decides before a DVD file deeper in the next one.
    TempFolder temp;
    mkdir((temp.path() + "/MPEGAV").c_str(), 0700);
    WriteBytes(temp.path() + "/MPEGAV/AVSEQ01.VCD", "");
    EXPECT_EQ(DiscType(temp.path()), kDiscVideoCd);
    EXPECT_EQ(DiscType(temp.path() + "/no such folder"), kDiscNone);

    EXPECT_EQ(DiscLocator(kDiscDvd, "/media/MOVIE", true), "dvdnav:// -dvd-device /media/MOVIE ");
    EXPECT_EQ(DiscLocator(kDiscDvd, "/home/a/my dvd", false), "dvdnav:// -dvd-device /home/a/my dvd");
    EXPECT_EQ(DiscLocator(kDiscBluRay, "/bd", false), "br:// -bluray-device /bd ");
    EXPECT_EQ(DiscLocator(kDiscVideoCd, "/vcd", false), "");
}

}  // namespace
}  // namespace orvella
