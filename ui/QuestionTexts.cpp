#include "ui/QuestionTexts.h"

#include "library/LocalStrings.h"

namespace orvella {

namespace {
const QuestionPrompt kPrompts[] = {
    {0, 6, "Clear play list", 7, "Are you sure you want to clear play list?", true},
    {2, 0, "Incorrect format", 1,
     "Your input format is incorrect, please enter the correct format.", false},
    {3, 8, "Input conflict", 9, "The key is already assigned to \"%s\",please reinput!", false},
    {kRestoreDefaultsQuestion, 10, "Restore defaults", 11,
     "Set every preference and every key back to its default?", true, "Yes", "No", 19, 20},
    {kNoDiscQuestion, 12, "Open disc", 13, "There is no disc in %s.", false},
    {kCannotOpenDiscQuestion, 12, "Open disc", 14, "The disc in %s cannot be opened, or it holds nothing to play.", false},
    {kNoBrowserQuestion, 15, "Cannot open the page", 16,
     "No web browser could open %s. Install one, or open the address yourself.", false},
    {kDamagedSettingsQuestion, 17, "Settings damaged", 18,
     "The settings file could not be read whole. What could be read is used, and the file as it was is kept as %s", false},
};
}  // namespace

const QuestionPrompt* FindQuestionPrompt(int kind) {
    for (const QuestionPrompt& prompt : kPrompts) {
        if (prompt.kind == kind) return &prompt;
    }
    return nullptr;
}

std::string FillQuestionPlaceholder(const std::string& text, const std::string& value) {
    return FillPlaceholder(text, value);
}

QuestionWords LocalQuestionWords(const QuestionPrompt& prompt, const std::string& detail) {
    QuestionWords words;
    words.title = LocalString(prompt.titleString, prompt.title);
    words.text = LocalString(prompt.textString, prompt.text, detail);
    if (prompt.okText) words.ok = LocalString(prompt.okString, prompt.okText);
    if (prompt.cancelText) words.cancel = LocalString(prompt.cancelString, prompt.cancelText);
    return words;
}

}  // namespace orvella
