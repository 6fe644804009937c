// What a restarted engine is told at launch: the choices made before, in the engine's
// range, and the code page of its subtitles as the file says, read right by the engine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include "engine/CmdMplayer.h"
#include "engine/SubtitleCodePage.h"
#include "tests/TestMedia.h"
#include "tests/engine/LaunchGolden.h"

namespace orvella {
namespace {

TEST(LaunchChoices, EachChoiceReachesTheEngineInItsRange) {
    const std::vector<std::pair<std::function<void(PlayingChoices&)>, orvella_test::Arguments>> cases = {
        {[](PlayingChoices& p) { p.subtitleSource = SubtitleSource::Track; p.subtitleTrack = 2; }, {"-sid", "2"}},
        {[](PlayingChoices& p) { p.subtitleSource = SubtitleSource::Off; }, {"-nosub", "-noautosub"}},
        {[](PlayingChoices& p) { p.audioDelay = 250.0f; }, {"-delay", "100.000"}},  // the engine's limit
        {[](PlayingChoices& p) { p.contrast = 130; }, {"-contrast", "100"}},  // the picture values' end
    };
    const size_t defaults = BuildEngineArguments(orvella_test::BaseOptions()).size();
    for (const auto& c : cases) {
        LaunchOptions options = orvella_test::BaseOptions();
        c.first(options.playing);
        const auto a = BuildEngineArguments(options);
        EXPECT_NE(std::search(a.begin(), a.end(), c.second.begin(), c.second.end()), a.end()) << c.second[1];
        EXPECT_EQ(a.size(), defaults + c.second.size()) << c.second[1];
    }
}

const std::string kText = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9";  // "Ünïcödé"
const std::string kLatin1 = "\xDCn\xEF" "c\xF6" "d\xE9";
const std::string kCue = "1\n00:00:00,000 --> 00:00:05,000\n";

TEST(SubtitleCodePage, TheFileSaysElseTheSetting) {
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"\xEF\xBB\xBF" + kLatin1, "UTF-8"}, {std::string("\xFF\xFE" "1\0", 4), "UTF-16LE"},
        {std::string("\xFE\xFF\0" "1", 4), "UTF-16BE"}, {kCue + kText.substr(0, 10), "UTF-8"},  // cut short
        {kCue + kLatin1, "CP1252"}, {kText + "\xC0\xAF", "CP1252"}, {kCue + "plain", "CP1252"},
        {"", "CP1252"}, {ReadFileHead("/nonexistent/x.srt"), "CP1252"},
    };
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(SubtitleCodePage(cases[i].first, "CP1252"), cases[i].second) << i;
}

// With "-dumpsrtsub" the engine writes what it read to "dumpsub.srt" in its working folder.
TEST(SubtitleCodePage, TheRealEngineReadsAUtf8FileRightUnderAnotherSetting) {
    const std::string& media = orvella_test::TestMediaFolder();
    if (media.empty()) ORVELLA_SKIP_OR_FAIL("test media could not be made (ffmpeg?)");
    char pattern[] = "/tmp/orvella-subcp-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern, path = folder + "/film.srt", dump = folder + "/dumpsub.srt";
    std::ofstream(path, std::ios::binary) << kCue + kText << "\n";
    CCmdMplayer engine;
    ASSERT_TRUE(engine.StartChild({{std::string(ORVELLA_BINARY_DIR) + "/gnu/mplayer", "-vo", "null", "-ao", "null",
                                    media + "video.mp4", "-sub", path, "-subcp",
                                    SubtitleCodePage(ReadFileHead(path), "CP1251"), "-dumpsrtsub"},
                                   folder}));
    while (engine.IsChildActive()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(dump);
    std::string line;
    for (int n = 0; n < 3; ++n) std::getline(in, line);
    EXPECT_EQ(line, kText);
    for (const std::string& file : {path, dump}) std::remove(file.c_str());
    rmdir(folder.c_str());
}

}  // namespace
}  // namespace orvella
