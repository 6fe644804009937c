// A key bound to an action runs the action only: the focused control never gets it as
// well. A key bound to nothing still reaches the focused control.
#include <gtest/gtest.h>

#include "tests/app/PlaybackFixture.h"
#include "uilib/controls/List.h"

namespace orvella {
namespace {

class HotkeyFocusTest : public PlaybackTest {
protected:
    uilib::CListUI* Playlist() { return static_cast<uilib::CListUI*>(Find("playlist")->GetInterface("List")); }
};

TEST_F(HotkeyFocusTest, AKeyRunsItsActionOrReachesTheFocusedControlNeverBoth) {
    const struct {
        const char* focus;
        int key;
        const char* sent;  // what every command written to the engine begins with; null: none
        int selectedRow;   // the play list's selection afterwards (row 1 before)
    } cases[] = {
        {"pause", VK_SPACE, "pause", 1},            // one toggle, no frame step from the button
        {"next", VK_SPACE, "pause", 1},             // no jump to the next file
        {"playlist", VK_UP, "pausing_keep volume", 1},
        {"playlist", VK_DOWN, "pausing_keep volume", 1},
        {"playlist", VK_END, nullptr, 2},           // bound to nothing: the list moves
    };
    StartWithEngine();
    OpenClips(clips_);
    if (!Visible("playlist")) Click("list");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + " key " + std::to_string(c.key));
        Playlist()->SelectItem(1);
        Find(c.focus)->SetFocus();
        ASSERT_EQ(window_->GetPaintManager()->GetFocus(), Find(c.focus));
        Pump([] { return false; }, 30);
        engine_->ForgetCommands();
        fake().KeyPress(c.key, platform::FakeBackend::kNone, hwnd_);
        Pump([] { return false; }, 60);
        const std::vector<std::string> sent = engine_->Commands();
        if (c.sent) {
            ASSERT_EQ(sent.size(), 1u) << ::testing::PrintToString(sent);
            EXPECT_EQ(sent[0].rfind(c.sent, 0), 0u) << sent[0];
        } else {
            EXPECT_TRUE(sent.empty()) << ::testing::PrintToString(sent);
        }
        EXPECT_EQ(Playlist()->GetCurSel(), c.selectedRow);
        EXPECT_EQ(engine_->Launches(), 1);
    }
}

}  // namespace
}  // namespace orvella
