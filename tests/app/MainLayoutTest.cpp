// Both skins' main layouts build, and every control the main window relies on is there
// with the kind it is used as.
#include <gtest/gtest.h>

#include <string>

#include "app/StartupRules.h"
#include "ui/DialogBuilderCallbackEx.h"
#include "ui/SkinWindow.h"
#include "uilib/DialogBuilder.h"
#include "uilib/PaintManager.h"

namespace orvella {
namespace {

struct NamedControl {
    const char* name;
    const char* kind;  // an interface name the control must answer
};

const NamedControl kMainControls[] = {
    {"media", "Container"},
    {"titlebar", "Container"},
    {"toolbar", "Container"},
    {"sliderbar", "Container"},
    {"playlistbar", "Container"},
    {"expandbar", "Container"},
    {"main", "Container"},
    {"playlist", "List"},
    {"playslider", "Slider"},
    {"volumeslider", "Slider"},
    {"playtime", "Label"},
    {"filename", "Label"},
    {"startup", "Container"},
    {"ID_MEDIA_AUDIO", "Container"},
    {"play", "Button"},
    {"pause", "Button"},
    {"stop", "Button"},
    {"next", "Button"},
    {"previous", "Button"},
    {"openfile", "Button"},
    {"mute_on", "Button"},
    {"mute_off", "Button"},
    {"closebtn", "Button"},
    {"minbtn", "Button"},
    {"maxbtn", "Button"},
    {"restorebtn", "Button"},
    {"help", "Button"},
    {"tools", "Button"},
    {"ID_MAINMENU", "Button"},
    {"facade", "Button"},
    {"file", "Button"},
    {"list", "Button"},
    {"expand", "Button"},
    {"addfile", "Button"},
    {"deletefile", "Button"},
    {"clear", "Button"},
    {"saveplaylist", "Button"},
    {"loadplaylist", "Button"},
    {"backup", "Button"},
    {"goahead", "Button"},
    {"backupCombo", "Combo"},
    {"goaheadCombo", "Combo"},
    {"fileCombo", "Combo"},
    {"URLbar", "Container"},
    {"URLbar_visible", "Container"},
    {"URLbar_edit", "Edit"},
    {"URLbar_OK", "Button"},
    {"URLbar_Cancel", "Button"},
    {"ID_PLAYER_CLIPBAR", "Container"},
    {"ID_PLAYER_CLIP_CLOSE", "Button"},
    {"shading", "Control"},
};

class MainLayout : public ::testing::TestWithParam<int> {};

TEST_P(MainLayout, EveryNamedControlWithItsKind) {
    uilib::RegisterBuiltinControls();
    const int skin = GetParam();
    std::string path = LayoutPath(std::string(ORVELLA_SOURCE_DIR) + "/data/", skin, "eng", "main.xml");
    uilib::CPaintManagerUI pm;
    uilib::CDialogBuilder builder;
    CDialogBuilderCallbackEx factory;
    uilib::CControlUI* root = builder.Create(path.c_str(), &factory, &pm);
    ASSERT_NE(root, nullptr) << path << ": " << builder.GetLastError();
    ASSERT_TRUE(pm.AttachDialog(root));
    for (const NamedControl& c : kMainControls) {
        uilib::CControlUI* control = pm.FindControl(c.name);
        ASSERT_NE(control, nullptr) << c.name << " missing in " << path;
        EXPECT_NE(control->GetInterface(c.kind), nullptr)
            << c.name << " is a " << control->GetClass() << ", not a " << c.kind;
    }
    SIZE init = pm.GetInitSize();
    EXPECT_GE(init.cx, 480);
    EXPECT_GE(init.cy, 320);
    EXPECT_GT(pm.GetCaptionRect().bottom, 0);
    SIZE corner = pm.GetRoundCorner();
    EXPECT_GT(corner.cx, 0);
    // Exactly one of the mute buttons shows; the restore button waits for a maximise.
    EXPECT_TRUE(pm.FindControl("mute_on")->IsVisible());
    EXPECT_FALSE(pm.FindControl("mute_off")->IsVisible());
    EXPECT_FALSE(pm.FindControl("restorebtn")->IsVisible());
    EXPECT_TRUE(pm.FindControl("maxbtn")->IsVisible());
}

INSTANTIATE_TEST_SUITE_P(BothSkins, MainLayout, ::testing::Values(0, 1));

}  // namespace
}  // namespace orvella
