// Slave commands: exact texts, the liveness guard, the remembered state, escaping and
// refusal of unsafe text; then the real engine on a clip made here.
#include "engine/SlaveCommands.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "tests/CommaLocale.h"
#include "tests/TestMedia.h"
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "engine/Redirector.h"

extern char** environ;

namespace orvella {
namespace {

using orvella_test::CommaLocale;
using orvella_test::RunProgram;

// ---------------------------------------------------------------- exact texts

struct TextCase {
    const char* name;
    SlaveCommand command;
    const char* text;
};

TEST(SlaveCommandText, EveryCommandIsExact) {
    const TextCase cases[] = {
        {"get_time_pos", slave::GetTimePos(), "get_time_pos\n"},
        {"get_time_length", slave::GetTimeLength(), "get_time_length\n"},
        {"pause", slave::Pause(), "pause\n"},
        {"frame_step", slave::FrameStep(), "frame_step\n"},
        {"seek rel", slave::Seek(-10, SeekType::Relative), "pausing_keep seek -10 0\n"},
        {"seek pct", slave::Seek(50, SeekType::Percent), "pausing_keep seek 50 1\n"},
        {"seek abs", slave::Seek(600, SeekType::Absolute), "pausing_keep seek 600 2\n"},
        {"seek to time", slave::SeekToTime(2664.5), "pausing_keep seek 2664.50 2\n"},
        {"mute on", slave::Mute(true), "pausing_keep mute 1\n"},
        {"mute off", slave::Mute(false), "pausing_keep mute 0\n"},
        {"volume", slave::Volume(42), "pausing_keep volume 42 1\n"},
        {"balance", slave::Balance(-0.5), "pausing_keep balance -0.5 1\n"},
        {"balance round", slave::Balance(0.25f), "pausing_keep balance 0.2 1\n"},
        {"brightness abs", slave::Adjust(VideoAdjust::Brightness, 20, true),
         "pausing_keep brightness 20 1\n"},
        {"brightness rel", slave::Adjust(VideoAdjust::Brightness, -10, false),
         "pausing_keep brightness -10 0\n"},
        {"saturation", slave::Adjust(VideoAdjust::Saturation, 10, false),
         "pausing_keep saturation 10 0\n"},
        {"contrast", slave::Adjust(VideoAdjust::Contrast, 5, true),
         "pausing_keep contrast 5 1\n"},
        {"hue always abs", slave::Adjust(VideoAdjust::Hue, 7, false), "pausing_keep hue 7 1\n"},
        {"gamma always abs", slave::Adjust(VideoAdjust::Gamma, -3, false),
         "pausing_keep gamma -3 1\n"},
        {"dvdnav up", slave::DvdNav(DvdNavKey::Up), "pausing_keep dvdnav 1\n"},
        {"dvdnav select", slave::DvdNav(DvdNavKey::Select), "pausing_keep dvdnav 6\n"},
        {"mouse", slave::SetMousePos(293, 262), "pausing_keep set_mouse_pos 293 262\n"},
        {"sub_demux", slave::SubDemux(0), "pausing_keep sub_demux 0\n"},
        {"switch_audio", slave::SwitchAudio(129), "pausing_keep switch_audio 129\n"},
        {"switch_title", slave::SwitchTitle(2), "pausing_keep switch_title 2\n"},
        {"seek_chapter", slave::SeekChapter(3), "pausing_keep seek_chapter 3 1\n"},
        {"sub_file", slave::SubFile(1), "sub_file 1\n"},
        {"sub_remove", slave::SubRemove(), "pausing_keep sub_remove\n"},
        {"sub_load", slave::SubLoad("/media/a b.srt"), "pausing_keep sub_load \"/media/a b.srt\"\n"},
        {"sub_load empty", slave::SubLoad(""), "pausing_keep sub_load \"\"\n"},
        {"sub_load percent", slave::SubLoad("/x/100%d.srt"),
         "pausing_keep sub_load \"/x/100%d.srt\"\n"},
        {"osd on", slave::Osd(true), "pausing_keep osd 1\n"},
        {"osd off", slave::Osd(false), "pausing_keep osd 0\n"},
        {"osd text", slave::OsdShowText("hello"), "pausing_keep osd_show_text \"hello\"\n"},
        {"loop on", slave::Loop(true), "pausing_keep loop 0 1\n"},
        {"loop off", slave::Loop(false), "pausing_keep loop -1 1\n"},
        {"ratio 4:3", slave::SwitchRatio(4.0f / 3.0f), "pausing_keep switch_ratio 1.333333\n"},
        {"ratio 720x480", slave::SwitchRatio(720.0 / 480.0), "pausing_keep switch_ratio 1.500000\n"},
        {"audio_delay", slave::Delay(DelayKind::Audio, 0.1f, false),
         "pausing_keep audio_delay 0.1 0\n"},
        {"sub_delay", slave::Delay(DelayKind::Subtitle, -1.5, true),
         "pausing_keep sub_delay -1.5 1\n"},
        {"sub_pos", slave::SubPos(-10), "pausing_keep sub_pos -10 0\n"},
        {"sub_scale", slave::SubScaleAt(1.4), "pausing_keep sub_scale 1.4 1\n"},
        {"sub_step", slave::SubStep(-1), "pausing_keep sub_step -1\n"},
        {"speed_set", slave::SpeedSet(1.5f), "pausing_keep speed_set 1.5\n"},
        {"screenshot", slave::Screenshot(0, "/home/u/shots"),
         "pausing_keep screenshot 0 \"/home/u/shots/\"\n"},
        {"screenshot slash kept", slave::Screenshot(1, "/home/u/shots/"),
         "pausing_keep screenshot 1 \"/home/u/shots/\"\n"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.command.IsRefused());
        EXPECT_EQ(c.command.text, c.text);
        EXPECT_TRUE(slave::IsOurCommand(c.command.text));
    }
}

TEST(SlaveCommandText, ScreenshotSavedText) {
    EXPECT_EQ(slave::ScreenshotSavedText(3), "Screenshot saved as shot0003.png");
    EXPECT_EQ(slave::ScreenshotSavedText(12345), "Screenshot saved as shot12345.png");
}

TEST(SlaveCommandText, DecimalPointIgnoresTheLocale) {
    std::string speed, ratio;
    {
        CommaLocale comma;
        if (!comma.Active()) GTEST_SKIP() << "no decimal-comma locale available";
        speed = slave::SpeedSet(1.5).text;
        ratio = slave::SwitchRatio(16.0 / 9.0).text;
    }
    EXPECT_EQ(speed, "pausing_keep speed_set 1.5\n");
    EXPECT_EQ(ratio, "pausing_keep switch_ratio 1.777778\n");
}

TEST(SlaveCommandText, NonFiniteNumbersAreRefused) {
    const double bad[] = {NAN, INFINITY, -INFINITY};
    for (double v : bad) {
        EXPECT_EQ(slave::Balance(v).refusal, Refusal::NotFinite);
        EXPECT_EQ(slave::SwitchRatio(v).refusal, Refusal::NotFinite);
        EXPECT_EQ(slave::SpeedSet(v).refusal, Refusal::NotFinite);
        EXPECT_EQ(slave::Delay(DelayKind::Audio, v, true).refusal, Refusal::NotFinite);
    }
}

TEST(SlaveCommandText, MouseScaling) {
    EXPECT_EQ(slave::ScaleToScreen(100, 50, 1920, 1080, 640, 360), std::make_pair(300, 150));
    EXPECT_EQ(slave::ScaleToScreen(1, 1, 1000, 1000, 3, 3), std::make_pair(333, 333));  // truncated
    EXPECT_EQ(slave::ScaleToScreen(7, 9, 1920, 1080, 0, 0), std::make_pair(7, 9));
}

// ---------------------------------------------------------------- escaping and refusal

struct QuoteCase {
    const char* name;
    std::string in;
    Refusal refusal;
    std::string out;  // the quoted text when accepted
};

TEST(SlaveQuoting, EscapesOrRefuses) {
    const QuoteCase cases[] = {
        {"plain", "a.srt", Refusal::None, "\"a.srt\""},
        {"spaces", "name with spaces.srt", Refusal::None, "\"name with spaces.srt\""},
        {"double quote", "has\"quote.srt", Refusal::None, "\"has\\\"quote.srt\""},
        {"backslash", "back\\slash.srt", Refusal::None, "\"back\\\\slash.srt\""},
        {"backslash quote", "mid\\\"x.srt", Refusal::None, "\"mid\\\\\\\"x.srt\""},
        {"single quote", "it's.srt", Refusal::None, "\"it's.srt\""},
        {"command substitution", "$(touch x).srt", Refusal::None, "\"$(touch x).srt\""},
        {"backticks", "`touch x`.srt", Refusal::None, "\"`touch x`.srt\""},
        {"semicolon run", "x\"; run \"touch y", Refusal::None, "\"x\\\"; run \\\"touch y\""},
        {"non-UTF-8", std::string("bad\xff\xfe.srt"), Refusal::None,
         std::string("\"bad\xff\xfe.srt\"")},
        {"tab", "a\tb", Refusal::None, "\"a\tb\""},
        {"line feed", "a.srt\nrun \"touch y\"", Refusal::LineBreak, ""},
        {"carriage return", "a.srt\rrun \"touch y\"", Refusal::LineBreak, ""},
        {"crlf at end", "a.srt\r\n", Refusal::LineBreak, ""},
        {"NUL", std::string("a\0b", 3), Refusal::NulByte, ""},
        {"trailing backslash", "trail\\", Refusal::TrailingBackslash, ""},
    };
    for (const QuoteCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string quoted = "untouched";
        EXPECT_EQ(slave::QuoteArgument(c.in, &quoted), c.refusal);
        if (c.refusal == Refusal::None)
            EXPECT_EQ(quoted, c.out);
        else
            EXPECT_EQ(quoted, "untouched");
        // Every builder with a text argument follows the same rule.
        EXPECT_EQ(slave::SubLoad(c.in).refusal, c.refusal);
        EXPECT_EQ(slave::OsdShowText(c.in).refusal, c.refusal);
        SlaveCommand shot = slave::Screenshot(0, c.in);
        if (c.refusal == Refusal::TrailingBackslash)
            EXPECT_FALSE(shot.IsRefused());  // the appended "/" ends it instead
        else
            EXPECT_EQ(shot.refusal, c.refusal);
        for (const SlaveCommand& cmd : {slave::SubLoad(c.in), slave::OsdShowText(c.in), shot}) {
            if (cmd.IsRefused()) {
                EXPECT_TRUE(cmd.text.empty());
            } else {
                EXPECT_TRUE(slave::IsOurCommand(cmd.text)) << cmd.text;
            }
        }
    }
}

TEST(SlaveQuoting, OnlyOurCommandWordsPass) {
    const std::string bad[] = {
        "run \"touch x\"\n",
        "pausing_keep run \"touch x\"\n",
        "pausing_keep pausing_keep run x\n",
        "quit\n",
        "get_time_pos",                      // no line end
        "get_time_pos\nrun x\n",             // two lines
        "get_time_pos\r\n",
        std::string("get_time_pos\0\n", 14),
        "\n",
        "",
    };
    for (const std::string& line : bad) EXPECT_FALSE(slave::IsOurCommand(line)) << line;
}

// ---------------------------------------------------------------- guard and state

class FakeEngine : public ISlaveEngine {
public:
    bool IsChildActive() const override { return alive; }
    bool WriteToChild(const std::string& bytes) override {
        writes.push_back(bytes);
        return writeOk;
    }
    bool alive = true;
    bool writeOk = true;
    std::vector<std::string> writes;
};

class RecordingListener : public ISlaveListener {
public:
    void OnPositionPoll(bool run) override { events.push_back(run ? "poll on" : "poll off"); }
    void OnMuteChanged(bool muted) override { events.push_back(muted ? "muted" : "unmuted"); }
    void OnSubtitleFilesCleared() override { events.push_back("subs cleared"); }
    void OnSubtitleChosen(const std::string& path) override { events.push_back("chosen " + path); }
    std::vector<std::string> events;
};

class SlaveSenderTest : public ::testing::Test {
protected:
    SlaveSenderTest() : sender(state, &listener) { sender.SetEngine(&engine); }
    SlaveState state;
    RecordingListener listener;
    FakeEngine engine;
    CSlaveCommands sender;
    using Strings = std::vector<std::string>;
};

TEST_F(SlaveSenderTest, DeadOrMissingEngineGetsNothing) {
    engine.alive = false;
    EXPECT_EQ(sender.Send(slave::GetTimePos()), SendResult::NoEngine);
    EXPECT_EQ(sender.Volume(10, true), SendResult::NoEngine);
    EXPECT_EQ(sender.LoadSubtitle("/a.srt"), SendResult::NoEngine);
    sender.SetEngine(nullptr);
    EXPECT_EQ(sender.Send(slave::Seek(10, SeekType::Relative)), SendResult::NoEngine);
    EXPECT_TRUE(engine.writes.empty());
    EXPECT_EQ(listener.events, Strings{});  // no after effects, no subtitle remembered
}

TEST_F(SlaveSenderTest, FailedWriteKeepsAfterEffects) {
    engine.writeOk = false;
    EXPECT_EQ(sender.Adjust(VideoAdjust::Contrast, 15, true), SendResult::WriteFailed);
    EXPECT_EQ(state.contrast, 15);
}

TEST_F(SlaveSenderTest, PauseWithoutEngineMovesThePollButNotTheFlag) {
    engine.alive = false;
    EXPECT_EQ(sender.TogglePause(), SendResult::NoEngine);
    EXPECT_FALSE(state.paused);
    state.paused = true;
    sender.TogglePause();
    EXPECT_TRUE(state.paused);
    EXPECT_EQ(listener.events, (Strings{"poll off", "poll on"}));
}

TEST_F(SlaveSenderTest, PauseFlipsAndFrameStepPauses) {
    sender.TogglePause();
    EXPECT_TRUE(state.paused);
    sender.TogglePause();
    EXPECT_FALSE(state.paused);
    engine.alive = false;
    sender.FrameStep();  // before-effects happen even for a dead engine
    EXPECT_TRUE(state.paused);
    // Pausing asks where the picture stopped, without resuming it.
    EXPECT_EQ(engine.writes, (Strings{"pause\n", "pausing_keep get_time_pos\n", "pause\n"}));
    EXPECT_EQ(listener.events, (Strings{"poll off", "poll on", "poll off"}));
}

TEST_F(SlaveSenderTest, VolumeSteps) {
    struct Case { int start; int value; bool absolute; int expected; };
    const Case cases[] = {
        {50, 1, false, 53},   {99, 1, false, 100}, {2, -1, false, 0},   {50, 3, false, 59},
        {50, -3, false, 41},  {50, 150, true, 150}, {50, -5, true, -5}, {0, 2000000000, false, 100},
    };
    for (const Case& c : cases) {
        state.volume = c.start;
        state.mute = true;
        engine.writes.clear();
        sender.Volume(c.value, c.absolute);
        EXPECT_EQ(state.volume, c.expected) << c.start << " " << c.value;
        EXPECT_FALSE(state.mute);
        EXPECT_EQ(engine.writes, Strings{"pausing_keep volume " + std::to_string(c.expected) + " 1\n"});
    }
    EXPECT_EQ(listener.events.back(), "unmuted");
}

TEST_F(SlaveSenderTest, VolumeStateChangesEvenWithoutEngine) {
    engine.alive = false;
    state.volume = 50;
    state.mute = true;
    sender.Volume(1, false);
    EXPECT_EQ(state.volume, 53);
    EXPECT_FALSE(state.mute);
    EXPECT_TRUE(listener.events.empty());  // the buttons are an after effect
}

TEST_F(SlaveSenderTest, UnmuteAfterMutedStartRestoresVolume) {
    state.volume = 70;
    sender.Mute(true);
    EXPECT_TRUE(state.mute);
    sender.Mute(false);
    EXPECT_EQ(engine.writes, (Strings{"pausing_keep mute 1\n", "pausing_keep mute 0\n"}));

    engine.writes.clear();
    state.mutedAtLaunch = true;
    sender.Mute(false);
    EXPECT_FALSE(state.mute);
    EXPECT_EQ(engine.writes, (Strings{"pausing_keep mute 0\n", "pausing_keep volume 70 1\n"}));
}

TEST_F(SlaveSenderTest, RememberedAdjustments) {
    sender.Adjust(VideoAdjust::Brightness, 20, true);
    sender.Adjust(VideoAdjust::Brightness, -10, false);
    sender.Adjust(VideoAdjust::Saturation, 10, false);
    sender.Adjust(VideoAdjust::Saturation, 10, false);
    sender.Adjust(VideoAdjust::Hue, 40, true);
    sender.Delay(DelayKind::Audio, 0.5f, true);
    sender.Delay(DelayKind::Audio, 0.1f, false);
    sender.Delay(DelayKind::Subtitle, -0.1f, false);
    sender.SubPos(-10);
    sender.SubPos(-10);
    sender.SpeedSet(2.0f);
    EXPECT_EQ(state.brightness, 10);
    EXPECT_EQ(state.saturation, 20);
    EXPECT_EQ(state.contrast, 0);
    EXPECT_FLOAT_EQ(state.audioDelay, 0.6f);
    EXPECT_FLOAT_EQ(state.subtitleDelay, -0.1f);
    EXPECT_EQ(state.subtitlePosition, 80);
    EXPECT_FLOAT_EQ(state.speed, 2.0f);

    engine.alive = false;  // after effects need a live engine
    sender.SubPos(-10);
    sender.SpeedSet(0.5f);
    sender.Adjust(VideoAdjust::Contrast, 5, true);
    EXPECT_EQ(state.subtitlePosition, 80);
    EXPECT_FLOAT_EQ(state.speed, 2.0f);
    EXPECT_EQ(state.contrast, 0);

    state.ResetPerFile();
    EXPECT_EQ(state.subtitlePosition, 100);
    EXPECT_EQ(state.brightness, 0);
    EXPECT_FLOAT_EQ(state.speed, 1.0f);
}

TEST_F(SlaveSenderTest, SubtitleLoadSequence) {
    EXPECT_EQ(sender.LoadSubtitle("/m/has\"quote\\x.srt"), SendResult::Sent);
    EXPECT_EQ(engine.writes, (Strings{"pausing_keep sub_remove\n",
                                      "pausing_keep sub_load \"/m/has\\\"quote\\\\x.srt\"\n"}));
    EXPECT_EQ(listener.events, (Strings{"subs cleared", "chosen /m/has\"quote\\x.srt"}));

    engine.writes.clear();
    listener.events.clear();
    sender.LoadSubtitle("");  // cancelled choice: removes, then loads nothing
    EXPECT_EQ(engine.writes, (Strings{"pausing_keep sub_remove\n", "pausing_keep sub_load \"\"\n"}));
    EXPECT_EQ(listener.events, Strings{"subs cleared"});
}

TEST_F(SlaveSenderTest, UnsafeSubtitleSendsNothingAtAll) {
    const std::string unsafe[] = {"/m/a.srt\nrun \"touch /tmp/x\"", "/m/a.srt\r",
                                  std::string("/m/a\0.srt", 9), "/m/a\\"};
    for (const std::string& path : unsafe) {
        EXPECT_EQ(sender.LoadSubtitle(path), SendResult::Refused);
        EXPECT_EQ(sender.Send(slave::OsdShowText(path)), SendResult::Refused);
    }
    EXPECT_TRUE(engine.writes.empty());
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(SlaveSenderTest, SendRefusesHandMadeLines) {
    SlaveCommand forged;
    forged.text = "run \"touch /tmp/x\"\n";
    EXPECT_EQ(sender.Send(forged), SendResult::Refused);
    forged.text = "pausing_keep osd_show_text \"a\"\nrun x\n";
    EXPECT_EQ(sender.Send(forged), SendResult::Refused);
    EXPECT_TRUE(engine.writes.empty());
}

TEST_F(SlaveSenderTest, ScreenshotNotice) {
    sender.ShowScreenshotSaved(1);
    EXPECT_EQ(engine.writes,
              Strings{"pausing_keep osd_show_text \"Screenshot saved as shot0001.png\"\n"});
}

TEST(SlaveEngineAdapter, WrapsAnyEngineLikeObject) {
    struct Plain {
        bool IsChildActive() const { return true; }
        bool WriteToChild(const std::string& b) { got += b; return true; }
        std::string got;
    } plain;
    SlaveState state;
    CSlaveCommands sender(state);
    sender.AttachEngine(&plain);
    EXPECT_EQ(sender.Send(slave::Loop(true)), SendResult::Sent);
    EXPECT_EQ(plain.got, "pausing_keep loop 0 1\n");
    sender.DetachEngine();
    EXPECT_EQ(sender.Send(slave::Loop(false)), SendResult::NoEngine);
    sender.AttachEngine<Plain>(nullptr);
    EXPECT_FALSE(sender.IsEngineAlive());
}

// ---------------------------------------------------------------- the real engine

// Runs a program from an argument vector (no shell) and returns its exit status.
bool Executable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The real engine through the real redirector; its output is collected for the test.
class EngineProcess : public CRedirector {
public:
    ~EngineProcess() override { StopChild(); }

    // Waits until the output holds `text`; a generous deadline only ends a hung test.
    bool WaitFor(const std::string& text, size_t from = 0) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] {
            return m_output.find(text, from) != std::string::npos || !IsChildActive();
        }) && m_output.find(text, from) != std::string::npos;
    }
    std::string Output() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_output;
    }
    size_t OutputSize() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_output.size();
    }

protected:
    void OnChildOutput(const char* data, size_t size) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_output.append(data, size);
        m_changed.notify_all();
    }
    void OnRedirectError(const std::string& message) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_output += "[redirector] " + message + "\n";
        m_changed.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::string m_output;
};

class SlaveRealEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Executable("/usr/bin/mplayer") || !Executable("/usr/bin/ffmpeg"))
            ORVELLA_SKIP_OR_FAIL("mplayer or ffmpeg not installed");
        char pattern[] = "/tmp/orvella-slave-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        clip = dir + "/clip.avi";
        ASSERT_EQ(RunProgram({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                              "testsrc=size=64x48:rate=5", "-t", "20", "-c:v", "mpeg4", clip}),
                  0);
    }
    void TearDown() override {
        if (!dir.empty()) RunProgram({"rm", "-rf", "--", dir});
    }
    void WriteSubtitle(const std::string& path) {
        std::ofstream(path) << "1\n00:00:00,000 --> 00:00:20,000\nHello\n\n";
    }
    bool Start(EngineProcess& engine) {
        ChildLaunch launch;
        launch.argv = {"/usr/bin/mplayer", "-slave", "-quiet", "-identify", "-nolirc",
                       "-noconfig", "all", "-vo", "null", "-ao", "null", "-loop", "0", clip};
        launch.workingFolder = dir;
        return engine.StartChild(launch) && engine.WaitFor("Starting playback");
    }
    std::string dir, clip;
};

TEST_F(SlaveRealEngineTest, HostileSubtitleNameLoadsAndRunsNothing) {
    const std::string sub = dir + "/sp ace \"q\" $(touch PWNED1) `touch PWNED2` it's.srt";
    WriteSubtitle(sub);
    EngineProcess engine;
    ASSERT_TRUE(Start(engine)) << engine.Output();
    SlaveState state;
    CSlaveCommands sender(state);
    sender.AttachEngine(&engine);

    EXPECT_EQ(sender.LoadSubtitle(sub), SendResult::Sent);
    EXPECT_TRUE(engine.WaitFor("SUB: Added subtitle file (1): " + sub + "\n")) << engine.Output();
    EXPECT_FALSE(FileExists(dir + "/PWNED1"));
    EXPECT_FALSE(FileExists(dir + "/PWNED2"));
    sender.DetachEngine();
}

TEST_F(SlaveRealEngineTest, NewlineInSubtitlePathIsRefusedAndNothingRuns) {
    EngineProcess engine;
    ASSERT_TRUE(Start(engine)) << engine.Output();
    SlaveState state;
    CSlaveCommands sender(state);
    sender.AttachEngine(&engine);

    const std::string marker = dir + "/RUN_EXECUTED";
    for (const char* brk : {"\n", "\r"}) {
        // Written so that a shell would run it even after our escaping: no quotes, a tab
        // for a space, and the closing quote of the argument commented out.
        std::string path = dir + "/a.srt" + brk + "run touch\t" + marker + ";#";
        EXPECT_EQ(sender.LoadSubtitle(path), SendResult::Refused);
    }
    // An answer to a later command proves the engine read everything sent before it.
    size_t from = engine.OutputSize();
    EXPECT_EQ(sender.Send(slave::GetTimeLength()), SendResult::Sent);
    EXPECT_TRUE(engine.WaitFor("ANS_LENGTH=", from)) << engine.Output();
    EXPECT_FALSE(FileExists(marker));
    EXPECT_EQ(engine.Output().find("sub_load"), std::string::npos);  // no complaint: never sent
    sender.DetachEngine();
}

TEST_F(SlaveRealEngineTest, EngineTakesEveryCommandWithoutComplaint) {
    EngineProcess engine;
    ChildLaunch launch;
    launch.argv = {"/usr/bin/mplayer", "-slave", "-quiet", "-nolirc", "-noconfig", "all",
                   "-vo", "null", "-ao", "null", "-vf", "screenshot", "-loop", "0", clip};
    launch.workingFolder = dir;
    ASSERT_TRUE(engine.StartChild(launch) && engine.WaitFor("Starting playback"))
        << engine.Output();
    SlaveState state;
    CSlaveCommands sender(state);
    sender.AttachEngine(&engine);

    const SlaveCommand all[] = {
        slave::GetTimePos(), slave::GetTimeLength(), slave::Seek(2, SeekType::Absolute),
        slave::Seek(10, SeekType::Percent), slave::Seek(-1, SeekType::Relative),
        slave::Mute(true), slave::Mute(false), slave::Volume(40), slave::Balance(-0.5),
        slave::Adjust(VideoAdjust::Brightness, 10, false),
        slave::Adjust(VideoAdjust::Saturation, 10, true),
        slave::Adjust(VideoAdjust::Contrast, -10, false), slave::Adjust(VideoAdjust::Hue, 5, true),
        slave::Adjust(VideoAdjust::Gamma, 5, true), slave::DvdNav(DvdNavKey::Select),
        slave::SetMousePos(10, 10), slave::SubDemux(0), slave::SwitchAudio(0),
        slave::SwitchTitle(1), slave::SeekChapter(0), slave::SubFile(0), slave::SubRemove(),
        slave::Osd(true), slave::OsdShowText(slave::ScreenshotSavedText(1)), slave::Loop(true),
        slave::SwitchRatio(16.0 / 9.0), slave::Delay(DelayKind::Audio, 0.1, false),
        slave::Delay(DelayKind::Subtitle, -0.5, true), slave::SubPos(-10), slave::SubScaleAt(1.2),
        slave::SubStep(1), slave::SpeedSet(1.5), slave::Screenshot(0, dir),
        slave::Pause(), slave::FrameStep(), slave::Pause(),
    };
    size_t from = engine.OutputSize();
    for (const SlaveCommand& c : all) EXPECT_EQ(sender.Send(c), SendResult::Sent) << c.text;
    // The screenshot is taken with the next frame drawn; the answer to a command sent
    // after that proves every command before it was read.
    EXPECT_TRUE(engine.WaitFor("*** screenshot 'shot0001.png' ***", from)) << engine.Output();
    size_t sentinel = engine.OutputSize();
    EXPECT_EQ(sender.Send(slave::GetTimeLength()), SendResult::Sent);
    ASSERT_TRUE(engine.WaitFor("ANS_LENGTH=20.00", sentinel)) << engine.Output();
    std::string out = engine.Output().substr(from);
    // The engine's complaints about a command's arguments all begin with "Command ".
    EXPECT_EQ(out.find("\nCommand "), std::string::npos) << out;
    EXPECT_TRUE(FileExists(dir + "/shot0001.png"));
    EXPECT_TRUE(engine.IsChildActive());
    sender.DetachEngine();
}

}  // namespace
}  // namespace orvella
