#include "library/PlayerSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/HotkeyTable.h"
#include "library/XmlDocument.h"
#include "tests/library/SettingsRecorder.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::Join;
using orvella_test::ReadBytes;
using orvella_test::RecordingHost;
using orvella_test::RecordingHotkeys;
using orvella_test::TempFolder;
using orvella_test::Utf16;
using orvella_test::Utf8FromUtf16;
using orvella_test::WriteBytes;

using Attributes = std::vector<std::pair<std::string, std::string>>;

// A settings file with the given "Player" attributes (values need no escaping).
std::string SettingsText(const Attributes& attributes, const std::string& more = "") {
    std::string text = "<root>\n  <Player";
    for (const auto& [key, value] : attributes) text += " " + key + "=\"" + value + "\"";
    return text + "/>\n" + more + "</root>\n";
}

// Every key as the write would store it.
std::map<std::string, std::string> Values(const PlayerSettings& settings) {
    XmlDocument doc;
    doc.Create("unused");
    doc.CreateRoot();
    settings.WritePlayerKeys(doc);
    std::map<std::string, std::string> values;
    for (const std::string& key : PlayerSettings::KeyNames()) {
        doc.GetAttribute("root/Player", key, &values[key]);
    }
    return values;
}

// The early read followed by the full read, as at start-up.
struct ReadResult {
    int skin;
    bool read;
    std::vector<std::string> calls;
};
ReadResult ReadBoth(PlayerSettings& settings, const std::string& folder) {
    RecordingHost host;
    RecordingHotkeys hotkeys(&host.calls);
    ReadResult result;
    result.skin = settings.ReadEarly(folder);
    result.read = settings.ReadFull(folder, hotkeys, host);
    result.calls = host.calls;
    return result;
}

class PlayerSettingsFile : public testing::Test {
protected:
    void WriteSettings(const std::string& utf8) {
        WriteBytes(PlayerSettings::FilePath(folder_.path()), Utf16(utf8));
    }
    TempFolder folder_;
};

TEST_F(PlayerSettingsFile, FirstStartWritesTheGoldenFile) {
    // The values a first start has that depend on the machine: the screenshot folder, the
    // system language and the paint manager's colour.
    PlayerSettings settings("/tmp/orvella-golden/home/Pictures/Orvella", "eng");
    settings.color = 0;
    RecordingHost host;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    ReadResult start = ReadBoth(settings, folder_.path());
    EXPECT_EQ(start.skin, 0);
    EXPECT_FALSE(start.read);
    EXPECT_EQ(Join(start.calls), "Associate 1");

    ASSERT_TRUE(settings.Write(folder_.path(), hotkeys, host));
    std::string written = ReadBytes(PlayerSettings::FilePath(folder_.path()));
    std::string golden = ReadBytes(orvella_test::DataFile("settings-first-start.xml"));
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(written, golden) << "written:\n" << Utf8FromUtf16(written);
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"settings.xml"});
}

TEST_F(PlayerSettingsFile, TheGoldenFileReadsBackAsTheDefaults) {
    WriteBytes(PlayerSettings::FilePath(folder_.path()),
               ReadBytes(orvella_test::DataFile("settings-first-start.xml")));
    PlayerSettings defaults("/tmp/orvella-golden/home/Pictures/Orvella", "eng");
    PlayerSettings settings("/elsewhere", "de");
    settings.color = 0x12345678;
    ReadResult result = ReadBoth(settings, folder_.path());
    EXPECT_TRUE(result.read);
    EXPECT_EQ(Values(settings), Values(defaults));
    EXPECT_EQ(Join(result.calls),
              "ReadPlayMemory - | Volume 50 | Mute 0 | Color 0 | ReadHotkeys");
}

TEST_F(PlayerSettingsFile, ConstructorDefaultsTakeTheScreenshotFolderAndLanguage) {
    PlayerSettings settings("/home/u/Pictures/Orvella", "jpn");
    EXPECT_EQ(settings.snappath, "/home/u/Pictures/Orvella");
    EXPECT_EQ(settings.language, "jpn");
    EXPECT_EQ(settings.subtitleencode, "UTF-16");
    EXPECT_EQ(settings.playerpriority, 2);
    EXPECT_TRUE(settings.associate);
    EXPECT_EQ(settings.volume, 50);
    EXPECT_EQ(settings.videoformat, 5);
}

TEST_F(PlayerSettingsFile, ReadsAFileWrittenByAnotherInstallation) {
    // Made by hand: other spacing, single quotes, attributes in another order, CR LF,
    // unknown elements and attributes, a play memory and some hotkeys.
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
        "<root>\r\n"
        "    <Media name='last' count='1'><Data filename='/m/a.mkv' starttime='12'/></Media>\r\n"
        "    <Extra what='ignored'/>\r\n"
        "    <Player maxamplification='300' usesoftwarevolume='0' useshortname='1'\r\n"
        "        subtitleencode='CP1251' subtitlefuzziness='2' audiomode='1' decodethread='3'\r\n"
        "        playerpriority='4' associate='0' language='de' background='ocean'\r\n"
        "        snappath='/home/u/Bilder/Schn\xC3\xBC" "sse' deinterleave='2' color='ff2a6fbe'\r\n"
        "        skinindex='1' mute='1' volume='75' playsequence='4' checkforupgrades='0'\r\n"
        "        playerchannels='2' videoformat='1' showOSD='1' pausewhenminize='1'\r\n"
        "        minimizetosystemtray='0' savelocation='0' keepsize='0' unknown='x'/>\r\n"
        "    <Hotkey>\r\n"
        "        <Stop virtualkey='1107'/>\r\n"
        "        <Pause virtualkey='80'/>\r\n"
        "        <NoSuchAction virtualkey='1'/>\r\n"
        "    </Hotkey>\r\n"
        "</root>\r\n";
    const std::map<std::string, std::string> expected = {
        {"keepsize", "0"}, {"savelocation", "0"}, {"minimizetosystemtray", "0"},
        {"pausewhenminize", "1"}, {"showOSD", "1"}, {"videoformat", "1"},
        {"playerchannels", "2"}, {"checkforupgrades", "0"}, {"playsequence", "4"},
        {"volume", "75"}, {"mute", "1"}, {"skinindex", "1"}, {"color", "ff2a6fbe"},
        {"deinterleave", "2"}, {"snappath", "/home/u/Bilder/Schn\xC3\xBCsse"},
        {"background", "ocean"}, {"language", "de"}, {"associate", "0"},
        {"playerpriority", "4"}, {"decodethread", "3"}, {"audiomode", "1"},
        {"subtitlefuzziness", "2"}, {"subtitleencode", "CP1251"}, {"useshortname", "1"},
        {"usesoftwarevolume", "0"}, {"maxamplification", "300"}, {"speakerlayout", "0"},
    };
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16", Utf16(text)},
        {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + text.substr(text.find("\r\n"))},
    };
    for (const Case& c : cases) {
        WriteBytes(PlayerSettings::FilePath(folder_.path()), c.bytes);
        PlayerSettings settings("/data", "eng");
        RecordingHost host;
        RecordingHotkeys hotkeys(&host.calls);
        EXPECT_EQ(settings.ReadEarly(folder_.path()), 1) << c.what;
        EXPECT_TRUE(settings.ReadFull(folder_.path(), hotkeys, host)) << c.what;
        EXPECT_EQ(Values(settings), expected) << c.what;
        EXPECT_EQ(Join(host.calls),
                  "ReadPlayMemory last | Volume 75 | Mute 1 | Color ff2a6fbe | ReadHotkeys | "
                  "Background file='skin/ocean.PNG' align='right'")
            << c.what;
        EXPECT_EQ(hotkeys.Code("Stop"), 1107) << c.what;
        EXPECT_EQ(hotkeys.Code("Pause"), 80) << c.what;
        EXPECT_EQ(hotkeys.Code("Mute"), 77) << c.what;  // not in the file: the default
        EXPECT_FALSE(hotkeys.Contains("NoSuchAction")) << c.what;
    }
}

// Each key left out of the file (or present but empty), one at a time: 0 for most keys,
// the value in memory for those whose rule keeps it, "eng" for the language.
TEST_F(PlayerSettingsFile, EveryWhenMissingRule) {
    const char* const kKeeps = nullptr;
    struct Rule {
        const char* key;
        char type;  // b boolean, i integer, x hexadecimal, t text
        const char* missingGives;
    };
    const Rule rules[] = {
        {"keepsize", 'b', "0"}, {"savelocation", 'b', "0"}, {"minimizetosystemtray", 'b', "0"},
        {"pausewhenminize", 'b', "0"}, {"showOSD", 'b', "0"}, {"videoformat", 'i', "0"},
        {"playerchannels", 'i', "0"}, {"checkforupgrades", 'b', "0"}, {"playsequence", 'i', "0"},
        {"volume", 'i', "0"}, {"mute", 'b', "0"}, {"skinindex", 'i', "0"},
        {"color", 'x', kKeeps}, {"deinterleave", 'i', "0"}, {"snappath", 't', ""},
        {"background", 't', ""}, {"language", 't', "eng"}, {"associate", 'b', kKeeps},
        {"playerpriority", 'i', kKeeps}, {"decodethread", 'i', kKeeps},
        {"audiomode", 'i', kKeeps}, {"subtitlefuzziness", 'i', kKeeps},
        {"subtitleencode", 't', kKeeps}, {"useshortname", 'b', kKeeps},
        {"usesoftwarevolume", 'b', kKeeps}, {"maxamplification", 'i', kKeeps},
        {"speakerlayout", 'i', kKeeps},
    };
    std::vector<std::string> keys;
    for (const Rule& rule : rules) keys.push_back(rule.key);
    ASSERT_EQ(PlayerSettings::KeyNames(), keys);  // the whole key set, in table order

    // The values in memory before the read (none 0 or empty) and those of the file.
    Attributes before, inFile;
    for (const Rule& rule : rules) {
        switch (rule.type) {
            case 'b': before.push_back({rule.key, "1"}); inFile.push_back({rule.key, "1"}); break;
            case 'i': before.push_back({rule.key, "1"}); inFile.push_back({rule.key, "2"}); break;
            case 'x': before.push_back({rule.key, "123456"}); inFile.push_back({rule.key, "abcdef"}); break;
            default: before.push_back({rule.key, "before"}); inFile.push_back({rule.key, "file"}); break;
        }
    }
    WriteSettings(SettingsText(before));
    PlayerSettings start("/data", "jpn");
    ASSERT_TRUE(ReadBoth(start, folder_.path()).read);
    const std::map<std::string, std::string> old = Values(start);

    for (bool emptyValue : {false, true}) {
        for (const Rule& rule : rules) {
            Attributes attributes;
            for (const auto& attribute : inFile) {
                if (attribute.first != rule.key) attributes.push_back(attribute);
                else if (emptyValue) attributes.push_back({rule.key, ""});
            }
            WriteSettings(SettingsText(attributes));
            PlayerSettings settings = start;
            ASSERT_TRUE(ReadBoth(settings, folder_.path()).read);
            std::map<std::string, std::string> read = Values(settings);
            std::string expected = rule.missingGives ? rule.missingGives : old.at(rule.key);
            const char* how = emptyValue ? " empty" : " missing";
            EXPECT_EQ(read[rule.key], expected) << rule.key << how;
            for (const auto& [key, value] : attributes) {
                if (key != rule.key) {
                    EXPECT_EQ(read[key], value) << key << " with " << rule.key << how;
                }
            }
        }
    }
}

TEST_F(PlayerSettingsFile, ValuesAreConvertedByTheirType) {
    struct Case {
        const char* key;
        const char* text;
        const char* read;  // as written back
    } cases[] = {
        {"playerchannels", "5", "0"},   // only 0..2 are layouts
        {"playerchannels", "3", "0"},
        {"playerchannels", "2", "2"},
        {"speakerlayout", "8", "8"},     // the audio menu's own layouts (S/PDIF) are kept
        {"playerchannels", "-1", "-1"},  // stored as read
        {"volume", "abc", "0"},           // not a number
        {"volume", "12abc", "12"},
        {"volume", " +40", "40"},
        {"volume", "99999999999999999999", "2147483647"},
        {"volume", "-99999999999999999999", "-2147483648"},
        {"videoformat", "-", "0"},
        {"keepsize", "yes", "0"},
        {"keepsize", "2", "1"},
        {"keepsize", "-1", "1"},
        {"playerpriority", "high", "0"},  // present, so converted
        {"skinindex", "7", "7"},
        {"language", "", "eng"},
        {"language", "de", "de"},
        {"language", " chn ", " chn "},  // texts as they are
        {"color", "FF00aa11", "ff00aa11"},
        {"color", "0x1a", "1a"},
        {"color", "green", "c0ffee"},      // not hexadecimal: kept
        {"color", "123456789", "c0ffee"},  // more than 32 bits
        {"color", "12 34", "c0ffee"},
        {"color", "", "c0ffee"},
        {"subtitleencode", "", "UTF-16"},
    };
    for (const Case& c : cases) {
        WriteSettings(SettingsText({{c.key, c.text}}));
        PlayerSettings settings("/data", "de");
        settings.color = 0xc0ffee;
        ASSERT_TRUE(ReadBoth(settings, folder_.path()).read);
        EXPECT_EQ(Values(settings)[c.key], c.read) << c.key << "=\"" << c.text << "\"";
    }
}

TEST_F(PlayerSettingsFile, TheEarlyReadTakesOnlySkinAndLanguage) {
    WriteSettings(SettingsText({{"skinindex", "1"}, {"language", ""}, {"volume", "3"}}));
    PlayerSettings settings("/data", "de");
    EXPECT_EQ(settings.ReadEarly(folder_.path()), 1);
    EXPECT_EQ(settings.language, "eng");
    EXPECT_EQ(settings.volume, 50);
    EXPECT_TRUE(settings.keepsize);

    // The full read leaves both alone, whatever the file says by then.
    WriteSettings(SettingsText({{"skinindex", "0"}, {"language", "jpn"}}));
    RecordingHost host;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    ASSERT_TRUE(settings.ReadFull(folder_.path(), hotkeys, host));
    EXPECT_EQ(settings.skinindex, 1);
    EXPECT_EQ(settings.language, "eng");
}

TEST_F(PlayerSettingsFile, SideEffectsAndColourCalls) {
    struct Case {
        Attributes attributes;
        const char* calls;
    } cases[] = {
        {{{"volume", "80"}, {"mute", "1"}, {"color", "ff102030"}, {"background", "gear"}},
         "ReadPlayMemory - | Volume 80 | Mute 1 | Color ff102030 | ReadHotkeys | "
         "Background file='skin_classic/gear.PNG' align='right'"},
        // Missing colour, unknown and wrongly cased backgrounds: no call for either.
        {{{"volume", "80"}, {"background", "River"}}, "ReadPlayMemory - | Volume 80 | Mute 0 | ReadHotkeys"},
        {{{"color", "nothex"}, {"background", ""}}, "ReadPlayMemory - | Volume 0 | Mute 0 | ReadHotkeys"},
    };
    for (const Case& c : cases) {
        WriteSettings(SettingsText(c.attributes));
        PlayerSettings settings("/data", "eng");
        EXPECT_EQ(Join(ReadBoth(settings, folder_.path()).calls), c.calls);
    }
}

TEST(PlayerSettings, BackgroundPictures) {
    const std::string right = "' align='right'";  // the title picture keeps its width
    const std::pair<const char*, std::string> cases[] = {
        {"river", "file='skin/river.PNG" + right},   {"petal", "file='skin/petal.PNG" + right},
        {"ocean", "file='skin/ocean.PNG" + right},   {"dragon", "file='skin/dragon.PNG" + right},
        {"totem", "file='skin/totem.PNG" + right},   {"petal1", "file='skin_classic/petal1.PNG" + right},
        {"petal2", "file='skin_classic/petal2.PNG" + right}, {"guitar", "file='skin_classic/guitar.PNG" + right},
        {"gear", "file='skin_classic/gear.PNG" + right},     {"", ""}, {"Gear", ""}, {"gear ", ""},
        {"petal3", ""},
    };
    for (const auto& [name, image] : cases) {
        EXPECT_EQ(PlayerSettings::BackgroundImage(name), image) << name;
        PlayerSettings settings;
        settings.background = name;
        RecordingHost host;
        settings.ApplyBackground(host);
        EXPECT_EQ(Join(host.calls), image.empty() ? "" : "Background " + image) << name;
    }
}

TEST_F(PlayerSettingsFile, ALongPathSurvivesARoundTrip) {
    std::string path = "/home/u";
    while (path.size() < 10000) path += "/Ordner \xC3\xA4\xE2\x82\xAC & <x> \"q\" 'a'";
    PlayerSettings settings("/data", "eng");
    settings.snappath = path;
    settings.background = path;  // no picture, but kept
    RecordingHost host;
    ASSERT_TRUE(settings.Write(folder_.path(), HotkeyTable::Defaults(), host));
    PlayerSettings again("/data", "eng");
    ASSERT_TRUE(ReadBoth(again, folder_.path()).read);
    EXPECT_EQ(again.snappath, path);
    EXPECT_EQ(again.background, path);
}

TEST_F(PlayerSettingsFile, DamagedFilesKeepTheDefaultsOfWhatTheyLostAndAreKeptAside) {
    const std::string golden = ReadBytes(orvella_test::DataFile("settings-first-start.xml"));
    ASSERT_FALSE(golden.empty());
    std::string flipped = golden;
    // A stray "<" in the middle breaks the markup (the low byte of a UTF-16 unit).
    flipped[flipped.size() / 2 & ~size_t{1}] = '<';
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"truncated", golden.substr(0, golden.size() / 2)},
        {"truncated in the last tag", golden.substr(0, golden.size() - 8)},
        {"only the byte-order mark", "\xFF\xFE"},
        {"broken markup", flipped},
        {"not XML", "volume=80\nmute=1\n"},
    };
    const PlayerSettings defaults("/tmp/orvella-golden/home/Pictures/Orvella", "eng");
    for (const Case& c : cases) {
        WriteBytes(PlayerSettings::FilePath(folder_.path()), c.bytes);
        PlayerSettings settings("/tmp/orvella-golden/home/Pictures/Orvella", "eng");
        testing::internal::CaptureStderr();
        ReadResult result = ReadBoth(settings, folder_.path());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(result.skin, 0) << c.what;
        // Keys the damage took keep their defaults, even those a missing key would zero.
        EXPECT_EQ(Values(settings), Values(defaults)) << c.what;
        EXPECT_EQ(ReadBytes(PlayerSettings::FilePath(folder_.path()) + ".damaged"), c.bytes) << c.what;

        RecordingHost host;
        ASSERT_TRUE(settings.Write(folder_.path(), HotkeyTable::Defaults(), host)) << c.what;
        EXPECT_EQ(ReadBytes(PlayerSettings::FilePath(folder_.path())), golden) << c.what;
    }
}

TEST_F(PlayerSettingsFile, TheWriteReplacesTheOldContentAndPutsThePlayMemoryFirst) {
    WriteSettings(SettingsText({{"volume", "3"}},
                               "<Media name='old'/><Hotkey><Pause virtualkey='1'/></Hotkey>"));
    PlayerSettings settings("/d", "eng");
    RecordingHost host;
    host.mediaName = "new";
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    hotkeys.SetCode("Pause", 80);
    ASSERT_TRUE(settings.Write(folder_.path(), hotkeys, host));
    EXPECT_EQ(Join(host.calls), "WritePlayMemory");

    std::string text = Utf8FromUtf16(ReadBytes(PlayerSettings::FilePath(folder_.path())));
    EXPECT_EQ(text.find("<root>\n\t<Media name=\"new\"/>\n\n\t<Player keepsize=\"1\""),
              text.find("<root>"))
        << text;
    EXPECT_EQ(text.find("old"), std::string::npos);
    EXPECT_NE(text.find("<Pause virtualkey=\"80\"/>"), std::string::npos);
    EXPECT_NE(text.find("volume=\"50\""), std::string::npos);

    PlayerSettings again("/d", "eng");
    ReadResult result = ReadBoth(again, folder_.path());
    EXPECT_EQ(result.calls.front(), "ReadPlayMemory new");
}

TEST_F(PlayerSettingsFile, AWriteIntoAMissingFolderWritesNothing) {
    PlayerSettings settings;
    RecordingHost host;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(settings.Write(folder_.File("missing"), HotkeyTable::Defaults(), host));
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(folder_.Names().empty());
}

}  // namespace
}  // namespace orvella
