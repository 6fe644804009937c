#include <gtest/gtest.h>

#include "library/SettingsFileParts.h"

namespace orvella {
namespace {

std::string Utf16(const std::string& text, bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : text) little ? out.append({c, '\0'}) : out.append({'\0', c});
    return out;
}

TEST(SettingsFileParts, TheMemoryIsFoundInEachEncodingAndCutShortRunsToTheEnd) {
    struct Case {
        std::string file;
        bool found;
        std::string media;
    } cases[] = {
        {"<root><Media count='1'><Data a='>'/></Media><Player/></root>", true,
         "<Media count='1'><Data a='>'/></Media>"},
        {"<root><MediaList/><Media/><Player/></root>", true, "<Media/>"},
        {"<root><Media><Data", true, "<Media><Data"},
        {"<root><Player/></root>", false, ""},
    };
    for (const Case& c : cases) {
        for (int form = 0; form < 3; ++form) {
            const std::string file = form == 0 ? c.file : Utf16(c.file, form == 1);
            const std::string media = form == 0 ? c.media : Utf16(c.media, form == 1).substr(2);
            size_t begin = 0, end = 0;
            ASSERT_EQ(FindMediaElement(file, &begin, &end), c.found) << c.file << " form " << form;
            EXPECT_EQ(c.found ? file.substr(begin, end - begin) : "", media) << c.file << " form " << form;
        }
    }
}

}  // namespace
}  // namespace orvella
