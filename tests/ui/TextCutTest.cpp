// The report of texts that do not fit their control, which the end-to-end tests read in
// every language.
#include <gtest/gtest.h>

#include "ui/ControlTreeDump.h"
#include "uilib/DialogBuilder.h"
#include "uilib/PaintManager.h"

using namespace uilib;

TEST(ControlTreeReport, NamesTextsThatDoNotFitAndTheWordsOfRows) {
    const char* layout = R"(<Window><VerticalLayout>
        <Label name="fits" width="300" height="20" text="Play" />
        <Label name="wide" width="30" height="20" text="Wiedergabeliste speichern" />
        <Button name="padded" width="80" height="20" textpadding="60,0,0,0" text="Abspielen" />
        <Text name="wraps" width="120" height="60" text="a few words that wrap onto lines" />
        <Text name="tall" width="60" height="16" text="a few words that wrap onto lines" />
        <Edit name="typed" width="20" height="20" text="what the user typed, however long" />
        <Label name="empty" width="1" height="20" />
        <Label name="boxed" width="300" height="20" text="&#xE000;" />
        <HorizontalLayout name="row" height="20"><Control width="16" /><Label text="Einstellungen" /></HorizontalLayout>
    </VerticalLayout></Window>)";
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.CreateFromString(layout, nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    pm.AttachDialog(root);
    root->SetPos(RECT{0, 0, 400, 300});
    const struct {
        const char* name;
        bool cut;
    } cases[] = {{"fits", false}, {"wide", true},   {"padded", true}, {"wraps", false},
                 {"tall", true},  {"typed", false}, {"empty", false}, {"boxed", false}};
    for (const auto& c : cases) {
        CControlUI* control = pm.FindControl(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(orvella::FindTextCut(control).has_value(), c.cut) << c.name;
    }
    const std::string tree = orvella::DescribeControlTree(&pm, RECT{0, 0, 400, 300});
    EXPECT_NE(tree.find("\ncut wide "), std::string::npos) << tree;
    EXPECT_EQ(tree.find("\ncut fits "), std::string::npos) << tree;
    // A character no font has (one of the private-use area) is named, a known one not.
    EXPECT_NE(tree.find("\nboxes boxed "), std::string::npos) << tree;
    EXPECT_EQ(tree.find("\nboxes wide "), std::string::npos) << tree;
    // A row without a text of its own is listed with its label's words.
    EXPECT_NE(tree.find("\nshows row Einstellungen\n"), std::string::npos) << tree;
}
