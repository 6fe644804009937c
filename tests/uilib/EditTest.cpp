#include <gtest/gtest.h>

#include "tests/uilib/ControlTestHost.h"
#include "uilib/RenderEngine.h"
#include "uilib/controls/Edit.h"

using namespace uilib;
using platform::FakeBackend;

namespace {

class EditTest : public FakePlatformTest {
protected:
    void SetUp() override {
        edit = new CEditUI;
        host.Open(edit, 200, 24);
        host.pm.SetFocus(edit);
        ASSERT_TRUE(edit->IsFocused());
        host.notes.Clear();
    }
    HWND hwnd() { return host.hwnd(); }
    void Type(const std::string& text) { fake().TypeText(text, hwnd()); }
    void Key(int vk, unsigned mods = FakeBackend::kNone) { fake().KeyPress(vk, mods, hwnd()); }

    CEditUI* edit = nullptr;
    ControlHost host;
};

TEST_F(EditTest, TypesAsciiAndMultiByteCharacters) {
    Type("ab\xE2\x82\xAC\xF0\x9F\x98\x80");  // "ab€😀"
    EXPECT_EQ(edit->GetText(), "ab\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(edit->GetCaretPos(), 9);
    EXPECT_EQ(host.notes.Count("textchanged"), 4);
}

TEST_F(EditTest, BackspaceAndDeleteRemoveWholeCharacters) {
    Type("a\xE2\x82\xAC" "b");  // a€b
    Key(VK_LEFT);
    Key(VK_BACK);  // removes €, not one of its bytes
    EXPECT_EQ(edit->GetText(), "ab");
    Key(VK_HOME);
    Type("\xC3\xA9");  // é
    Key(VK_LEFT);
    Key(VK_DELETE);
    EXPECT_EQ(edit->GetText(), "ab");
    EXPECT_EQ(edit->GetCaretPos(), 0);
}

TEST_F(EditTest, ArrowsStepOverMultiByteCharacters) {
    Type("x\xE4\xBD\xA0y");  // x你y
    Key(VK_LEFT);
    EXPECT_EQ(edit->GetCaretPos(), 4);
    Key(VK_LEFT);
    EXPECT_EQ(edit->GetCaretPos(), 1);
    Type("-");
    EXPECT_EQ(edit->GetText(), "x-\xE4\xBD\xA0y");
}

TEST_F(EditTest, TypingReplacesTheSelection) {
    edit->SetText("hello world");
    edit->SetSel(0, 5);
    Type("J");
    EXPECT_EQ(edit->GetText(), "J world");
    Key(VK_END);
    Key(VK_LEFT, FakeBackend::kShift);
    Key(VK_LEFT, FakeBackend::kShift);
    EXPECT_EQ(edit->GetSelText(), "ld");
    Key(VK_BACK);
    EXPECT_EQ(edit->GetText(), "J wor");
}

TEST_F(EditTest, ShiftHomeAndCtrlASelect) {
    edit->SetText("abc def");
    Key(VK_HOME, FakeBackend::kShift);
    EXPECT_EQ(edit->GetSelText(), "abc def");
    Key(VK_RIGHT);
    EXPECT_EQ(edit->GetSelText(), "");
    Key('A', FakeBackend::kControl);
    EXPECT_EQ(edit->GetSelText(), "abc def");
}

TEST_F(EditTest, ClipboardRoundTripThroughThePlatform) {
    edit->SetText("copy \xE2\x82\xAC");
    Key('A', FakeBackend::kControl);
    Key('C', FakeBackend::kControl);
    EXPECT_EQ(fake().GetClipboardText(), "copy \xE2\x82\xAC");
    Key(VK_END);
    Key('V', FakeBackend::kControl);
    EXPECT_EQ(edit->GetText(), "copy \xE2\x82\xAC" "copy \xE2\x82\xAC");
    Key('A', FakeBackend::kControl);
    Key('X', FakeBackend::kControl);
    EXPECT_EQ(edit->GetText(), "");
    EXPECT_EQ(fake().GetClipboardText(), "copy \xE2\x82\xAC" "copy \xE2\x82\xAC");
}

TEST_F(EditTest, PasteKeepsOneLineAndValidText) {
    fake().SetClipboardText("one\r\ntwo\xFF");
    Key('V', FakeBackend::kControl);
    EXPECT_EQ(edit->GetText(), "one  two\xEF\xBF\xBD");
}

TEST_F(EditTest, MaxCharCountsCharactersNotBytes) {
    edit->SetMaxChar(3);
    Type("abcdef");
    EXPECT_EQ(edit->GetText(), "abc");
    edit->SetText("a");
    fake().SetClipboardText("\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC");
    Key('V', FakeBackend::kControl);
    EXPECT_EQ(edit->GetText(), "a\xE2\x82\xAC\xE2\x82\xAC");
}

TEST_F(EditTest, EnterSendsReturn) {
    edit->SetText("x");
    Key(VK_RETURN);
    EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"return"}));
    EXPECT_EQ(host.notes.Last("return").sender, edit);
    EXPECT_EQ(edit->GetText(), "x");
}

TEST_F(EditTest, ReadOnlyRefusesChangesButCopies) {
    edit->SetText("fixed");
    edit->SetReadOnly(true);
    Type("zz");
    Key(VK_BACK);
    EXPECT_EQ(edit->GetText(), "fixed");
    Key('A', FakeBackend::kControl);
    Key('C', FakeBackend::kControl);
    EXPECT_EQ(fake().GetClipboardText(), "fixed");
    EXPECT_EQ(host.notes.Count("textchanged"), 0);
}

TEST_F(EditTest, PasswordIsNeverCopied) {
    edit->SetPasswordMode(true);
    fake().SetClipboardText("before");
    Type("secret");
    Key('A', FakeBackend::kControl);
    Key('C', FakeBackend::kControl);
    EXPECT_EQ(fake().GetClipboardText(), "before");
    EXPECT_TRUE(fake().Render(hwnd()) != nullptr);
}

TEST_F(EditTest, InputMethodFollowsFocusAndShowsPreedit) {
    EXPECT_TRUE(fake().InputMethod(hwnd()).on);
    fake().Compose("ni", hwnd());
    EXPECT_EQ(edit->GetPreedit(), "ni");
    EXPECT_EQ(edit->GetText(), "");
    EXPECT_TRUE(fake().Render(hwnd()) != nullptr);
    Type("\xE4\xBD\xA0");
    EXPECT_EQ(edit->GetText(), "\xE4\xBD\xA0");
    EXPECT_EQ(edit->GetPreedit(), "");
    host.pm.SetFocus(nullptr);
    EXPECT_FALSE(fake().InputMethod(hwnd()).on);
}

TEST_F(EditTest, FocusChangesAreNotified) {
    host.notes.keepFocusNotes = true;
    host.pm.SetFocus(nullptr);
    host.pm.SetFocus(edit);
    EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"killfocus", "setfocus"}));
}

TEST_F(EditTest, CaretBlinksOnAManagerTimer) {
    EXPECT_TRUE(edit->IsCaretShown());
    fake().AdvanceTime(600);
    EXPECT_FALSE(edit->IsCaretShown());
    fake().AdvanceTime(600);
    EXPECT_TRUE(edit->IsCaretShown());
}

TEST_F(EditTest, DoubleClickSelectsAWord) {
    edit->SetText("hello world");
    RECT pad = edit->GetTextPadding();
    int x = pad.left + CRenderEngine::TextOffsetToX(&host.pm, "hello world", -1, 8);
    TEventUI e;
    e.Type = UIEVENT_DBLCLICK;
    e.pSender = edit;
    e.ptMouse = POINT{x, 12};
    edit->Event(e);
    EXPECT_EQ(edit->GetSelText(), "world");
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretVisible) {
    Type(std::string(200, 'w'));
    EXPECT_GT(edit->GetScrollOffset(), 0);
    Key(VK_HOME);
    EXPECT_EQ(edit->GetScrollOffset(), 0);
}

TEST(EditUtf8Test, SanitizeReplacesInvalidSequences) {
    struct Case { std::string in, out; };
    const std::string bad = "\xEF\xBF\xBD";
    const Case cases[] = {
        {"plain", "plain"},
        {"\xC3\xA9", "\xC3\xA9"},
        {"\xFF", bad},
        {"a\xC3", "a" + bad},                    // cut short
        {"\xC0\xAF", bad + bad},                 // overlong
        {"\xED\xA0\x80", bad + bad + bad},       // surrogate
        {"\xF4\x90\x80\x80", bad + bad + bad + bad},  // past U+10FFFF
        {std::string("a\0b", 3), "ab"},
    };
    for (const Case& c : cases) EXPECT_EQ(CEditUI::Sanitize(c.in), c.out);
}

TEST(EditUtf8Test, EncodeCodePoint) {
    EXPECT_EQ(CEditUI::EncodeCodePoint(0x41), "A");
    EXPECT_EQ(CEditUI::EncodeCodePoint(0xE9), "\xC3\xA9");
    EXPECT_EQ(CEditUI::EncodeCodePoint(0x20AC), "\xE2\x82\xAC");
    EXPECT_EQ(CEditUI::EncodeCodePoint(0x1F600), "\xF0\x9F\x98\x80");
    EXPECT_EQ(CEditUI::EncodeCodePoint(0xD800), "");
    EXPECT_EQ(CEditUI::EncodeCodePoint(0x110000), "");
}

}  // namespace
