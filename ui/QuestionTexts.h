// The questions the program asks with its question window, in English, with the numbers
// of their translations in a language's string file.
#pragma once

#include <string>

namespace orvella {

struct QuestionPrompt {
    int kind;
    int titleString;  // number of the title's translation ("root/string/data")
    const char* title;
    int textString;   // number of the text's translation
    const char* text;  // may hold one "%s" (see FillQuestionPlaceholder)
    bool withCancel;   // OK and Cancel; otherwise OK only
    const char* okText = nullptr;      // the buttons' words where OK and Cancel would not
    const char* cancelText = nullptr;  // answer the question (Yes and No)
    int okString = -1;                 // their translations' numbers
    int cancelString = -1;
};

// The question's words in the current language: the title, the text with detail in its
// "%s", and the button words (empty where the layout's OK and Cancel stay).
struct QuestionWords {
    std::string title;
    std::string text;
    std::string ok;
    std::string cancel;
};
QuestionWords LocalQuestionWords(const QuestionPrompt& prompt, const std::string& detail);

constexpr int kRestoreDefaultsQuestion = 4;
constexpr int kNoDiscQuestion = 5;
constexpr int kCannotOpenDiscQuestion = 6;
constexpr int kNoBrowserQuestion = 7;
constexpr int kDamagedSettingsQuestion = 8;

// Kind 0 asks before the play list is cleared; kind 2 reports a wrongly formatted input;
// kind 3 a hotkey already taken by another action; kind 4 asks before every preference
// and key goes back to its default; kinds 5 and 6 tell that a drive (the "%s") is empty
// or its disc cannot be played; kind 7 that no browser could open a page (the "%s");
// kind 8 that the settings file was damaged and where the file as it was is kept
// (the "%s"). Null for any other kind.
const QuestionPrompt* FindQuestionPrompt(int kind);

// text with its first "%s" replaced by value (as is: neither is read as a format).
std::string FillQuestionPlaceholder(const std::string& text, const std::string& value);

}  // namespace orvella
