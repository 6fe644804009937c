// Discs and drops: the drive rows and their names, the drop rules, and the main window
// opening drives, folders and drops and stopping when the playing disc goes.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>

#include "ui/MenuWnd.h"
#include "ui/QuestionWnd.h"
#include "app/DiscRules.h"
#include "playlist/MediaFiles.h"
#include "tests/app/PlaybackFixture.h"
#include "uilib/Container.h"
#include "uilib/controls/List.h"

namespace orvella {
namespace {

using Paths = std::vector<std::string>;

TEST(DiscRules, DriveRowsNameTheDriveTheyOpen) {
    struct Row {
        platform::OpticalDrive drive;
        std::string name, text, opens;
    };
    const std::vector<Row> table = {
        {{"/dev/sr0", "MOVIE", "/media/u/MOVIE"}, "ID_MAINMENU_FILE_OPENDISC#MOVIE(/media/u/MOVIE)",
         "Disc MOVIE(/media/u/MOVIE)", "/media/u/MOVIE"},
        {{"/dev/sr0", "", ""}, "ID_MAINMENU_FILE_OPENDISC#/dev/sr0", "Disc (/dev/sr0)", "/dev/sr0"},
        {{"/dev/sr1", "HOLIDAY", ""}, "ID_MAINMENU_FILE_OPENDISC#HOLIDAY(/dev/sr1)", "Disc HOLIDAY(/dev/sr1)",
         "/dev/sr1"},
        // Parentheses in a label or a mount point stay where they belong.
        {{"/dev/sr0", "A (2001)", "/media/u/A (2001)"}, "ID_MAINMENU_FILE_OPENDISC#A (2001)(/media/u/A (2001))",
         "Disc A (2001)(/media/u/A (2001))", "/media/u/A (2001)"},
        {{"/dev/sr0", "", "/media/u/x(/y)"}, "ID_MAINMENU_FILE_OPENDISC#/media/u/x(/y)", "Disc (/media/u/x(/y))",
         "/media/u/x(/y)"},
    };
    for (const Row& row : table) {
        EXPECT_EQ(DiscRowName(row.drive), row.name);
        EXPECT_EQ(DiscRowText(row.drive), row.text);
        EXPECT_EQ(DriveOfDiscItem(DiscItemText(row.drive)), row.opens) << row.name;
    }
    EXPECT_EQ(DriveOfDiscItem("NOPARENS"), "NOPARENS");
}

TEST(DiscRules, DropRules) {
    const std::map<std::string, int> folders = {{"/d/dvd", kDiscDvd}, {"/d/bd", kDiscBluRay}, {"/d/plain", kDiscNone}};
    auto walk = [&](const Paths& paths) {
        WalkedFolders walked;
        for (const std::string& p : paths) {
            auto it = folders.find(p);
            walked.emplace_back();
            if (it != folders.end()) walked.back() = FolderContents{it->second, {p + "/x.mkv"}};
        }
        return walked;
    };
    struct Row {
        Paths dropped, pending, subtitles;
        bool discMode;
    };
    const std::vector<Row> table = {
        // A file, then a plain folder: only the folder's files.
        {{"/a/one.mp4", "/d/plain"}, {"/d/plain/x.mkv"}, {}, false},
        {{"/d/plain", "/a/one.mp4"}, {"/d/plain/x.mkv", "/a/one.mp4"}, {}, false},
        {{"/a/sub.srt"}, {}, {"/a/sub.srt"}, false},
        {{"/a/clip.MP4", "/a/SUB.ASS", "/a/readme", "/a/notes.txt", "/a.b/noext", "/a/.mp3"},
         {"/a/clip.MP4", "/a/.mp3"}, {"/a/SUB.ASS"}, false},
        {{"/d/dvd"}, {"dvdnav:// -dvd-device /d/dvd"}, {}, true},
        {{"/d/bd", "/a/one.mp4"}, {"br:// -bluray-device /d/bd ", "/a/one.mp4"}, {}, true},
    };
    for (const Row& row : table) {
        const DropPlan plan = PlanDrop(row.dropped, walk(row.dropped));
        SCOPED_TRACE(row.dropped.front());
        EXPECT_EQ(plan.pending, row.pending);
        EXPECT_EQ(plan.subtitles, row.subtitles);
        EXPECT_EQ(plan.discMode, row.discMode);
    }
}

// ---- the main window with a scripted engine -------------------------------------------

class DiscsTest : public PlaybackTest {
protected:
    // A folder that holds a DVD.
    std::string MakeDvdFolder(const std::string& name) {
        const std::string folder = temp_ + "/" + name;
        ::mkdir(folder.c_str(), 0755);
        ::mkdir((folder + "/VIDEO_TS").c_str(), 0755);
        std::ofstream(folder + "/VIDEO_TS/VTS_01_1.VOB") << "x";
        return folder;
    }
    std::string MakeFile(const std::string& name) {
        const std::string path = temp_ + "/" + name;
        std::ofstream(path) << "x";
        return path;
    }
    bool WaitForLaunch(int n) { return Pump([&] { return engine_->Launches() >= n; }); }
    Paths DeviceArguments(int launch) {
        Paths args = engine_->Arguments(launch);
        auto at = std::find(args.begin(), args.end(), "-dvd-device");
        if (at == args.end() || at + 1 == args.end() || at == args.begin()) return {};
        return {*(at - 1), *at, *(at + 1)};
    }
    Paths Listed() {
        Paths names;
        for (size_t i = 0; i < window_->PlaylistModel().Count(); ++i)
            names.push_back(window_->PlaylistModel().At(i)->filename);
        return names;
    }
};

TEST_F(DiscsTest, DropsFollowTheDropRules) {
    StartWithEngine();
    OpenClips({clips_[0]});
    engine_->ForgetCommands();

    // A lone subtitle goes to the running engine; nothing else changes.
    const std::string subtitle = MakeFile("it's \"odd\".SRT");
    ASSERT_TRUE(fake().DropFiles(hwnd_, {subtitle}));
    const std::string load = "pausing_keep sub_load \"" + temp_ + "/it's \\\"odd\\\".SRT\"";
    ASSERT_TRUE(Pump([&] { return Sent(load); }));
    EXPECT_EQ(engine_->Commands(), Paths{load});
    EXPECT_EQ(engine_->Launches(), 1);
    EXPECT_EQ(Listed(), Paths{clips_[0]});
    EXPECT_EQ(window_->PlaylistModel().Current()->subtitle, "");
    EXPECT_EQ(fake().OpenDropHandles(), 0u);

    // A file and then a plain folder: the folder's media only, its first plays.
    const std::string plain = temp_ + "/plain";
    ::mkdir(plain.c_str(), 0755);
    const std::string inside = MakeFile("plain/inside.MKV");
    ASSERT_TRUE(fake().DropFiles(hwnd_, {clips_[1], plain}));
    ASSERT_TRUE(WaitForLaunch(2));
    EXPECT_EQ(Listed(), (Paths{clips_[0], inside}));
    EXPECT_EQ(window_->GetCurrentMediaPath(), inside);

    // A DVD folder with an awkward name plays as a disc: one engine argument, no shell.
    const std::string dvd = MakeDvdFolder("-my $(touch pwned) 'dvd' ");
    ASSERT_TRUE(fake().DropFiles(hwnd_, {dvd}));
    ASSERT_TRUE(WaitForLaunch(3));
    EXPECT_EQ(DeviceArguments(3), (Paths{"dvdnav://", "-dvd-device", dvd + "/"}));
    EXPECT_TRUE(window_->IsDiscMode());
    struct stat st {};
    EXPECT_NE(::stat((temp_ + "/pwned").c_str(), &st), 0);
    EXPECT_NE(::stat("pwned", &st), 0);
}

TEST_F(DiscsTest, DriveRowsOpenTheirDiscAndItsRemovalStops) {
    const std::string mounted = MakeDvdFolder("MOVIE");
    const std::string later = MakeDvdFolder("LATER");
    fake().SetOpticalDrives({{"/dev/sr0", "MOVIE", mounted}, {"/dev/sr1", "", ""}});
    StartWithEngine();

    // The open-disc submenu as the menu window has it filled.
    uilib::CListUI list;
    window_->MenuItemStates()->FillSubmenu("ID_MAINMENU_FILE_OPENDISC", list);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItemAt(0)->GetName(), "ID_MAINMENU_FILE_OPENDISC#MOVIE(" + mounted + ")");
    EXPECT_EQ(list.GetItemAt(1)->GetName(), "ID_MAINMENU_FILE_OPENDISC#/dev/sr1");
    auto* row = static_cast<uilib::CContainerUI*>(list.GetItemAt(1)->GetInterface("Container"));
    ASSERT_TRUE(row && row->GetCount() == 1);
    EXPECT_EQ(row->GetItemAt(0)->GetText(), "Disc (/dev/sr1)");

    window_->RunMenuCommand("ID_MAINMENU_FILE_OPENDISC#MOVIE(" + mounted + ")");
    ASSERT_TRUE(WaitForLaunch(1));
    EXPECT_EQ(DeviceArguments(1), (Paths{"dvdnav://", "-dvd-device", mounted}));
    EXPECT_TRUE(window_->IsDiscMode());
    EXPECT_EQ(window_->PlaylistModel().Current()->shortname, "MOVIE(" + mounted + ")");
    fake().RemoveDisc({"/dev/sr1", later});
    EXPECT_TRUE(window_->IsEngineRunning());
    fake().RemoveDisc({"/dev/sr0", mounted});
    EXPECT_FALSE(window_->IsEngineRunning());

    // A drive without a mounted disc is mounted to look at; its DVD plays from the device.
    window_->RunMenuCommand("ID_MAINMENU_FILE_OPENDISC#/dev/sr1");
    ASSERT_TRUE(fake().FinishMount("/dev/sr1", {later, false}));
    ASSERT_TRUE(WaitForLaunch(2));
    EXPECT_EQ(fake().MountRequests(), Paths{"/dev/sr1"});
    EXPECT_EQ(DeviceArguments(2), (Paths{"dvdnav://", "-dvd-device", "/dev/sr1"}));
    fake().RemoveDisc({"/dev/sr1", ""});
    EXPECT_FALSE(window_->IsEngineRunning());
}

TEST_F(DiscsTest, DrivesAnswerLaterAndSayWhatIsWrong) {
    // Without a drive the submenu says so, and there is nothing to choose.
    StartWithEngine();
    uilib::CListUI none;
    window_->MenuItemStates()->FillSubmenu("ID_MAINMENU_FILE_OPENDISC", none);
    ASSERT_EQ(none.GetCount(), 1);
    EXPECT_FALSE(none.GetItemAt(0)->IsEnabled());
    auto* noneRow = static_cast<uilib::CContainerUI*>(none.GetItemAt(0)->GetInterface("Container"));
    ASSERT_TRUE(noneRow && noneRow->GetCount() == 1);
    EXPECT_EQ(noneRow->GetItemAt(0)->GetText(), "No optical drive");

    const std::string blank = temp_ + "/blank";
    ::mkdir(blank.c_str(), 0755);
    const std::string dvd = MakeDvdFolder("DISC");
    const std::string cannot = "The disc in /dev/sr0 cannot be opened, or it holds nothing to play.";
    struct Row {
        const char* what;
        platform::MountedDisc mounted;
        std::string says;  // the question window's text; empty: none, the disc plays
    } rows[] = {
        {"an empty drive", {"", true}, "There is no disc in /dev/sr0."},
        {"a disc that does not mount", {"", false}, cannot},
        {"a disc without media", {blank, false}, cannot},
        {"a DVD", {dvd, false}, ""},
    };
    int launches = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake().SetOpticalDrives({{"/dev/sr0", "", ""}});  // not mounted yet
        window_->Dialogs().CloseQuestion();
        fake().DispatchPending();
        // Chosen in the menu window: its choice returns, and the menu is gone, while the
        // disc is still being mounted.
        TNotifyUIForTest("ID_MAINMENU", "showmenu");
        ASSERT_NE(GetOpenPopupMenu(), nullptr);
        for (int key : {VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}) {
            fake().KeyPress(key);
            fake().DispatchPending();
        }
        EXPECT_EQ(GetOpenPopupMenu(), nullptr);
        EXPECT_EQ(fake().PendingMounts(), 1u);
        EXPECT_FALSE(CMenuWnd::HandleMenuKey(VK_ESCAPE));
        ASSERT_TRUE(fake().FinishMount("/dev/sr0", row.mounted));
        if (row.says.empty()) {
            ASSERT_TRUE(WaitForLaunch(++launches));
            EXPECT_EQ(DeviceArguments(launches), (Paths{"dvdnav://", "-dvd-device", "/dev/sr0"}));
            EXPECT_EQ(window_->Dialogs().Question(), nullptr);
            continue;
        }
        CQuestionWnd* question = window_->Dialogs().Question();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->FindControl("ID_TEXT")->GetText(), row.says);
        EXPECT_EQ(engine_->Launches(), launches);
    }

    // The window closes while a disc is being mounted: the late answer finds no one.
    window_->RunMenuCommand("ID_MAINMENU_FILE_OPENDISC#/dev/sr0");
    DestroyWindow(hwnd_);
    EXPECT_TRUE(fake().FinishMount("/dev/sr0", {dvd, false}));
    fake().DispatchPending();
}

TEST_F(DiscsTest, ADroppedFolderIsWalkedOnceAwayFromTheWindow) {
    StartWithEngine();
    const std::string folder = temp_ + "/episodes";
    ::mkdir(folder.c_str(), 0755);
    const std::string first = MakeFile("episodes/e1.mkv");
    MakeFile("episodes/e2.mkv");
    // Each opening of the folder for reading is counted.
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder.c_str(), IN_OPEN), 0);

    // The walk waits until the test lets it go; meanwhile the window takes another drop.
    std::mutex mutex;
    std::condition_variable changed;
    bool go = false;
    std::thread::id walkedOn;
    auto release = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        go = true;
        changed.notify_all();
    };
    window_->Discs().Walker().SetBeforeWalkForTesting([&] {
        std::unique_lock<std::mutex> lock(mutex);
        walkedOn = std::this_thread::get_id();
        changed.wait(lock, [&] { return go; });
    });
    ASSERT_TRUE(fake().DropFiles(hwnd_, {folder}));
    ASSERT_TRUE(fake().DropFiles(hwnd_, {clips_[0]}));
    const bool answered = WaitForLaunch(1) && window_->GetCurrentMediaPath() == clips_[0];
    release();
    EXPECT_TRUE(answered);
    ASSERT_TRUE(WaitForLaunch(2));
    EXPECT_EQ(window_->GetCurrentMediaPath(), first);
    EXPECT_NE(walkedOn, std::this_thread::get_id());

    int opened = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;) {
        for (char* at = events; at < events + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len == 0 && (event->mask & IN_OPEN)) ++opened;  // the folder itself
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(opened, 1);
}

TEST_F(DiscsTest, FolderChooserAndCommandLineFolder) {
    const std::string dvd = MakeDvdFolder("my dvd");
    StartWithEngine();
    // Cancelled: nothing starts.
    window_->Discs().OpenFolder();
    ASSERT_EQ(fake().FileDialogRequests().size(), 1u);
    EXPECT_EQ(fake().FileDialogRequests()[0].kind, platform::FileDialogRequest::Kind::Folder);
    EXPECT_EQ(fake().FileDialogRequests()[0].title, "Open folder");
    Pump([] { return false; }, 50);
    EXPECT_EQ(engine_->Launches(), 0);
    EXPECT_TRUE(Listed().empty());

    fake().QueueFileDialogAnswer({dvd});
    window_->Discs().OpenFolder();
    ASSERT_TRUE(WaitForLaunch(1));
    EXPECT_EQ(DeviceArguments(1), (Paths{"dvdnav://", "-dvd-device", dvd}));

    // A folder without media: what played starts again.
    const std::string empty = temp_ + "/empty";
    ::mkdir(empty.c_str(), 0755);
    fake().QueueFileDialogAnswer({empty});
    window_->Discs().OpenFolder();
    ASSERT_TRUE(WaitForLaunch(2));
    EXPECT_EQ(DeviceArguments(2), (Paths{"dvdnav://", "-dvd-device", dvd}));
    EXPECT_EQ(Listed().size(), 1u);

    // The command line's folder opens as a dropped one.
    window_->Playback().Stop();
    EXPECT_TRUE(window_->Discs().OpenStartupFolder(dvd));
    ASSERT_TRUE(WaitForLaunch(3));
    EXPECT_EQ(DeviceArguments(3), (Paths{"dvdnav://", "-dvd-device", dvd}));
    EXPECT_FALSE(window_->Discs().OpenStartupFolder(clips_[0]));
}

// ---- the real engine -----------------------------------------------------------------

TEST_F(PlayerWndEngineTest, DvdFolderStartsTheDiscWithItsMenu) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    ASSERT_TRUE(window_->Discs().OpenStartupFolder(media_ + "dvd"));
    EXPECT_TRUE(window_->IsDiscMode());
    EXPECT_EQ(window_->GetCurrentMediaPath(), "dvdnav:// -dvd-device " + media_ + "dvd");
    ASSERT_TRUE(PumpUntil([&] { return window_->GetMediaInfo().inDvdMenu; }));
    EXPECT_TRUE(window_->IsEngineRunning());
}

TEST_F(PlayerWndEngineTest, DroppedDvdImagePlaysAsTheDisc) {
    const std::string image = media_ + "dvd.iso";
    if (::access(image.c_str(), R_OK) != 0) ORVELLA_SKIP_OR_FAIL("no DVD image in the test media (genisoimage?)");
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    ASSERT_TRUE(fake().DropFiles(hwnd_, {image}));
    EXPECT_EQ(window_->GetCurrentMediaPath(), "dvdnav:// -dvd-device " + image);
    ASSERT_TRUE(PumpUntil([&] { return window_->GetMediaInfo().inDvdMenu; }));
    EXPECT_TRUE(window_->IsDiscMode());
    EXPECT_EQ(window_->PlaylistModel().Current()->shortname, "dvd.iso");
}

}  // namespace
}  // namespace orvella
