#include "hotkeys/HotkeyTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "hotkeys/HotkeyBindings.h"
#include "library/XmlDocument.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::TempFolder;
using orvella_test::WriteBytes;

TEST(HotkeyTable, DefaultsHoldTheThirtySixActionsWithDistinctKeys) {
    const auto& actions = HotkeyTable::Actions();
    ASSERT_EQ(actions.size(), 36u);
    EXPECT_STREQ(actions.front().name, "Pause");
    EXPECT_STREQ(actions.back().name, "PlayList");
    const HotkeyTable& defaults = HotkeyTable::Defaults();
    EXPECT_EQ(&defaults, &HotkeyTable::Defaults());  // built once
    EXPECT_EQ(defaults.size(), 36u);
    std::set<HotkeyCode> codes;
    std::set<std::string> controls;
    for (const HotkeyAction& action : actions) {
        EXPECT_EQ(defaults.Code(action.name), action.defaultCode) << action.name;
        // Only the virtual-key byte and the three modifier bits are used.
        EXPECT_EQ(action.defaultCode & ~0x7FF, 0) << action.name;
        codes.insert(action.defaultCode);
        controls.insert(action.control);
    }
    EXPECT_EQ(codes.size(), 36u) << "two actions share a default key";
    EXPECT_EQ(controls.size(), 36u);
    const std::pair<const char*, HotkeyCode> samples[] = {
        {"Stop", 0x153},   {"Forward2", 0x227}, {"Un-Zoom", 0x1BD},
        {"AudioDelay4", 0x4DD}, {"SubtitleDelay5", 0x439}, {"Exit", 0x151},
    };
    for (const auto& [name, code] : samples) EXPECT_EQ(defaults.Code(name), code) << name;
    EXPECT_EQ(defaults.Code("NoSuchAction"), 0);
}

TEST(HotkeyTable, EntriesAndTheWrittenChildrenComeInNameOrder) {
    XmlDocument doc;
    doc.Create("unused");
    doc.CreateRoot();
    HotkeyTable::Defaults().WriteTo(doc);
    std::string text = orvella_test::Utf8FromUtf16(doc.Serialize());
    size_t children = 0;
    for (size_t at = text.find("virtualkey="); at != std::string::npos;
         at = text.find("virtualkey=", at + 1))
        ++children;
    EXPECT_EQ(children, 36u);
    // Plain byte order: "Pause" < "PlayList" < "PreviousFile", "Un-Zoom" < "VolumeDown".
    std::vector<size_t> positions;
    for (const char* name : {"AudioDelay0", "Backward0", "Pause", "PlayList", "PreviousFile",
                             "Un-Zoom", "VolumeDown", "VolumeUp", "Zoom"}) {
        size_t at = text.find(std::string("\t<") + name + " virtualkey=");
        ASSERT_NE(at, std::string::npos) << name;
        positions.push_back(at);
    }
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << text;

    std::vector<std::string> names;
    for (const auto& entry : HotkeyTable::Defaults().entries()) names.push_back(entry.first);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(names.front(), "AudioDelay0");
    EXPECT_EQ(names.back(), "Zoom");
}

TEST(HotkeyTable, ReadingVirtualKeys) {
    TempFolder folder;
    WriteBytes(folder.File("s.xml"),
               "<root><Hotkey>"
               "<Pause virtualkey=''/>"           // empty: the default stays
               "<Stop/>"                          // missing: the default stays
               "<Mute virtualkey='1107'/>"
               "<Zoom virtualkey='70000'/>"       // cut to 16 bits
               "<Exit virtualkey='-1'/>"
               "<OpenFile virtualkey='abc'/>"     // not a number: 0, no key
               "<NextFile virtualkey='99999999999999'/>"
               "<Unknown virtualkey='5'/>"
               "</Hotkey></root>");
    XmlDocument doc;
    ASSERT_TRUE(doc.Open(folder.File("s.xml")));
    HotkeyTable table = HotkeyTable::Defaults();
    table.ReadFrom(doc);
    EXPECT_EQ(table.Code("Pause"), 0x020);
    EXPECT_EQ(table.Code("Stop"), 0x153);
    EXPECT_EQ(table.Code("Mute"), 1107);
    EXPECT_EQ(table.Code("Zoom"), 70000 & 0xFFFF);
    EXPECT_EQ(table.Code("Exit"), 0xFFFF);
    EXPECT_EQ(table.Code("OpenFile"), 0);
    EXPECT_EQ(table.Code("NextFile"), 0xFFFF);
    EXPECT_FALSE(table.Contains("Unknown"));
    EXPECT_EQ(table.size(), 36u);
    EXPECT_EQ(table.Code("PlayList"), 0x150);  // not in the file
}

TEST(HotkeyTable, WrittenCodesReadBack) {
    HotkeyTable table = HotkeyTable::Defaults();
    table.SetCode("Pause", 0x7FF);
    table.SetCode("Stop", 0);
    XmlDocument doc;
    doc.Create("unused");
    doc.CreateRoot();
    table.WriteTo(doc);
    std::string value;
    ASSERT_EQ(doc.GetAttribute("root/Hotkey/Pause", "virtualkey", &value), 0);
    EXPECT_EQ(value, "2047");
    HotkeyTable again = HotkeyTable::Defaults();
    again.ReadFrom(doc);
    EXPECT_EQ(again, table);
}

TEST(HotkeyBindings, TheEditCopyBecomesLiveOnlyWhenApplied) {
    HotkeyBindings bindings;
    EXPECT_EQ(bindings.Live(), HotkeyTable::Defaults());
    bindings.Live().SetCode("Mute", 0x14D);
    bindings.BeginEdit();
    EXPECT_EQ(bindings.Edit(), bindings.Live());
    bindings.Edit().SetCode("Stop", 0x253);
    EXPECT_EQ(bindings.Live().Code("Stop"), 0x153);
    bindings.ApplyEdit();
    EXPECT_EQ(bindings.Live().Code("Stop"), 0x253);
    EXPECT_EQ(bindings.Live().Code("Mute"), 0x14D);
    bindings.ResetEditToDefaults();
    EXPECT_EQ(bindings.Edit(), HotkeyTable::Defaults());
    EXPECT_EQ(bindings.Live().Code("Stop"), 0x253);
}

}  // namespace
}  // namespace orvella
