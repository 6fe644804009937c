// Building control trees from layout files: encodings, the registry, the factory
// callback, defaults and bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/DebugLogRecorder.h"
#include "uilib/Container.h"
#include "uilib/DialogBuilder.h"
#include "uilib/controls/Button.h"
#include "uilib/controls/Label.h"

using namespace uilib;

namespace {

std::filesystem::path TempFile(const std::string& name, const std::string& bytes) {
    auto dir = std::filesystem::temp_directory_path() / "orvella-builder-test";
    std::filesystem::create_directories(dir);
    auto path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string Utf16Le(const std::string& ascii, bool bom) {
    std::string out = bom ? std::string("\xFF\xFE", 2) : std::string();
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

struct Factory : IDialogBuilderCallback {
    CControlUI* CreateControl(const char* cls) override {
        asked.push_back(cls);
        if (std::string(cls) == "VideoArea") {
            auto* c = new CControlUI;
            c->SetUserData("made by the window");
            return c;
        }
        return nullptr;
    }
    std::vector<std::string> asked;
};

TEST(DialogBuilder, ReadsUtf16WithByteOrderMark) {
    const std::string xml =
        "<?xml version='1.0' encoding='UTF-16'?>\n"
        "<Window size=\"300,200\"><VerticalLayout><Label name=\"t\" text=\"caf&#233; \xE2\x99\xAA\"/>"
        "</VerticalLayout></Window>";
    // Convert the UTF-8 above to UTF-16LE by hand for the two non-ASCII characters.
    std::string u16("\xFF\xFE", 2);
    for (size_t i = 0; i < xml.size(); ++i) {
        unsigned char c = xml[i];
        if (c == 0xE2) {  // U+266A
            u16 += '\x6A';
            u16 += '\x26';
            i += 2;
            continue;
        }
        u16 += static_cast<char>(c);
        u16 += '\0';
    }
    auto path = TempFile("utf16.xml", u16);
    CPaintManagerUI pm;
    CDialogBuilder b;
    CControlUI* root = b.Create(path.c_str(), nullptr, &pm);
    ASSERT_NE(root, nullptr) << b.GetLastError();
    pm.AttachDialog(root);
    EXPECT_EQ(pm.GetInitSize().cx, 300);
    EXPECT_EQ(pm.FindControl("t")->GetText(), "caf\xC3\xA9 \xE2\x99\xAA");
}

TEST(DialogBuilder, ReadsUtf16WithoutByteOrderMarkAndUtf8WithOne) {
    CDialogBuilder b;
    auto p1 = TempFile("nobom.xml", Utf16Le("<Label name=\"x\" text=\"hi\"/>", false));
    std::unique_ptr<CControlUI> a(b.Create(p1.c_str()));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->GetText(), "hi");
    auto p2 = TempFile("bom8.xml", "\xEF\xBB\xBF<Label text=\"yo\"/>");
    std::unique_ptr<CControlUI> c(b.Create(p2.c_str()));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->GetText(), "yo");
}

TEST(DialogBuilder, UnknownTagsGoToTheCallbackElseAreSkippedWithChildren) {
    CPaintManagerUI pm;
    Factory factory;
    CDialogBuilder b;
    DebugLogRecorder log;
    testing::internal::CaptureStderr();
    CControlUI* root = b.CreateFromString(
        R"(<Window><VerticalLayout name="root">
             <VideoArea name="video"/>
             <Gizmo name="g"><Button name="insideGizmo"/></Gizmo>
             <Button name="after"/>
           </VerticalLayout></Window>)",
        &factory, &pm);
    // The layout builds: what it skipped is for its author, on the debug channel.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const std::string err = log.Text();
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    EXPECT_EQ(factory.asked, (std::vector<std::string>{"VideoArea", "Gizmo"}));
    ASSERT_NE(pm.FindControl("video"), nullptr);
    EXPECT_EQ(pm.FindControl("video")->GetUserData(), "made by the window");
    EXPECT_EQ(pm.FindControl("insideGizmo"), nullptr);
    EXPECT_NE(pm.FindControl("after"), nullptr);
    EXPECT_NE(err.find("Gizmo"), std::string::npos) << err;
    EXPECT_NE(err.find(":3:"), std::string::npos) << "the line is named: " << err;
    EXPECT_EQ(static_cast<CContainerUI*>(root->GetInterface("Container"))->GetCount(), 2);
}

TEST(DialogBuilder, UnknownAttributeIsReportedWithFileAndElement) {
    CDialogBuilder b;
    auto path = TempFile("attr.xml", "<VerticalLayout>\n<Button name=\"go\" colour=\"red\"/>\n</VerticalLayout>");
    DebugLogRecorder log;
    testing::internal::CaptureStderr();
    std::unique_ptr<CControlUI> root(b.Create(path.c_str()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const std::string err = log.Text();
    ASSERT_TRUE(root);
    EXPECT_NE(err.find("attr.xml:2"), std::string::npos) << err;
    EXPECT_NE(err.find("<Button name=\"go\""), std::string::npos) << err;
    EXPECT_NE(err.find("colour"), std::string::npos) << err;
}

TEST(DialogBuilder, BadInputGivesNullAndAnError) {
    struct Bad {
        const char* what;
        const char* xml;
    };
    const Bad cases[] = {
        {"unclosed", "<Window><VerticalLayout></Window>"},
        {"garbage", "\x01\x02not xml at all"},
        {"empty", ""},
        {"no controls", "<Window size=\"1,1\"/>"},
        {"only unknown", "<Window><Nope/></Window>"},
    };
    for (const Bad& c : cases) {
        CDialogBuilder b;
        CPaintManagerUI pm;
        testing::internal::CaptureStderr();
        CControlUI* root = b.CreateFromString(c.xml, nullptr, &pm);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(root, nullptr) << c.what;
        EXPECT_FALSE(b.GetLastError().empty()) << c.what;
    }
    CDialogBuilder b;
    testing::internal::CaptureStderr();
    EXPECT_EQ(b.Create("/nonexistent/dir/layout.xml"), nullptr);
    testing::internal::GetCapturedStderr();
    EXPECT_NE(b.GetLastError().find("layout.xml"), std::string::npos);
}

TEST(DialogBuilder, DefaultsApplyFirstAndOwnAttributesWin) {
    CPaintManagerUI pm;
    CDialogBuilder b;
    CControlUI* root = b.CreateFromString(
        R"(<Window>
             <Font id="2" name="Serif" size="17" bold="true"/>
             <Font id="3" name="Sans" size="11" default="true"/>
             <Default name="Button" value="textcolor=&quot;#FF112233&quot; font=&quot;2&quot; height=&quot;30&quot;"/>
             <HorizontalLayout><Button name="plain"/><Button name="own" textcolor="#FFAABBCC"/>
               <Label name="label"/></HorizontalLayout></Window>)",
        nullptr, &pm);
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    auto* plain = static_cast<CButtonUI*>(pm.FindControl("plain"));
    auto* own = static_cast<CButtonUI*>(pm.FindControl("own"));
    auto* label = static_cast<CLabelUI*>(pm.FindControl("label"));
    EXPECT_EQ(plain->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(plain->GetFont(), 2);
    EXPECT_EQ(plain->GetFixedHeight(), 30);
    EXPECT_EQ(own->GetTextColor(), 0xFFAABBCCu);
    EXPECT_EQ(own->GetFont(), 2);
    EXPECT_EQ(label->GetTextColor(), 0u) << "defaults are per tag";
    EXPECT_EQ(pm.GetFont(2).size, 17);
    EXPECT_TRUE(pm.GetFont(2).bold);
    EXPECT_EQ(pm.GetDefaultFontInfo().size, 11);
    EXPECT_EQ(pm.GetFont(99).size, 11) << "an unknown id gives the default font";
}

TEST(DialogBuilder, RegistryKnowsEveryBuiltinTag) {
    RegisterBuiltinControls();
    for (const char* tag : {"Control", "Container", "VerticalLayout", "HorizontalLayout",
                            "TabLayout", "Label", "Text", "Button", "Option", "CheckBox"}) {
        std::unique_ptr<CControlUI> c(CreateBuiltinControl(tag));
        ASSERT_TRUE(c) << tag;
        EXPECT_NE(c->GetInterface(tag), nullptr) << tag;
    }
    EXPECT_EQ(CreateBuiltinControl("NoSuchThing"), nullptr);
}

TEST(DialogBuilder, BuildsIntoAnExistingParent) {
    CPaintManagerUI pm;
    auto* root = new CVerticalLayoutUI;
    pm.AttachDialog(root);
    CDialogBuilder b;
    CControlUI* made = b.CreateFromString(R"(<Label name="added" text="x"/>)", nullptr, &pm, root);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetParent(), root);
    EXPECT_EQ(pm.FindControl("added"), made);
}

}  // namespace
