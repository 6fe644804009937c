// A bounded run of the settings reader's fuzz entry over mutations of real settings files
// (the play memory and deep nesting among them);
// the same entry runs unbounded under libFuzzer when built with clang.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "library/XmlTree.h"
#include "tests/library/SettingsTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using orvella_test::ReadBytes;
using orvella::kMaxElementDepth;
using orvella_test::Utf16;

std::string Mutate(std::string input, std::mt19937& random) {
    static const char* const tokens[] = {"<", ">", "/>", "</root>", "<root>", "<Player ", "\"",
                                         "'", "&", "&#", "&#x10FFFF;", "&amp", "<!--", "-->",
                                         "<![CDATA[", "]]>", "<?", "?>", "=", " volume=\"",
                                         "color=\"", "<Hotkey>", "<Pause virtualkey=\"",
                                         "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "\x00"};
    auto pick = [&random](size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    int steps = 1 + static_cast<int>(pick(4));
    for (int step = 0; step < steps; ++step) {
        size_t at = pick(input.size() + 1);
        switch (pick(7)) {
            case 0:  // flip a byte
                if (!input.empty()) input[pick(input.size())] ^= static_cast<char>(1 + pick(255));
                break;
            case 1:  // cut
                input.resize(at);
                break;
            case 2:  // delete a range
                input.erase(at, pick(64));
                break;
            case 3: {  // insert a markup token (in UTF-16 half the time)
                std::string token = tokens[pick(std::size(tokens))];
                if (token == "\x00") token.assign(1, '\0');
                if (pick(2) == 0) token = Utf16(token, false, false);
                input.insert(at, token);
                break;
            }
            case 4: {  // duplicate a chunk
                size_t from = pick(input.size() + 1);
                input.insert(at, input.substr(from, pick(256)));
                break;
            }
            case 5: {  // nesting at the depth limit or far beyond it, closed or not
                const size_t depth = pick(2) ? kMaxElementDepth + pick(2) : 200000;
                std::string open, close;
                for (size_t i = 0; i < depth; ++i) open += "<a>", close += "</a>";
                const std::string nested = pick(2) ? open + close : open;
                input.insert(at, pick(2) == 0 ? nested : Utf16(nested, false, false));
                break;
            }
            default:  // random bytes
                for (size_t n = pick(8); n > 0; --n) input.insert(input.begin() + static_cast<long>(at), static_cast<char>(pick(256)));
                break;
        }
    }
    return input;
}

TEST(SettingsFuzz, MutatedFilesNeverBreakTheReader) {
    const std::string golden = ReadBytes(orvella_test::DataFile("settings-first-start.xml"));
    ASSERT_FALSE(golden.empty());
    const std::string seeds[] = {
        golden,
        "<?xml version=\"1.0\"?><root><Media name='x'><Data filename='a'/></Media>"
        "<Player volume='80' color='ff00ff00' language='' playerchannels='9' background='gear'/>"
        "<Hotkey><Pause virtualkey='80'/><Stop virtualkey=''/></Hotkey></root>",
        Utf16("<root><Player snappath='&lt;&#x263A;&gt;' skinindex='1'/></root>"),
        Utf16("<root>\n\t<Media count=\"2\" current=\"3\">\n\t<Data filename=\"/v/a.avi\" shortname=\"a\" starttime=\"754\"/>\n"
              "\n\t<Data filename=\"/v/b.mkv\" starttime=\"9.5\" subtitle=\"/v/b.srt\"/>\n\n\t<Data filename=\"/v/a.avi\"/>\n"
              "</Media>\n\t<Player volume=\"80\" keepsize=\"0\"/>\n\t<Hotkey><Pause virtualkey=\"80\"/></Hotkey>\n</root>\n"),
    };
    std::string open, close;  // a well-formed file 200,000 deep
    for (int i = 0; i < 200000; ++i) open += "<a>", close += "</a>";
    std::mt19937 random(20240611);  // fixed: a failure must repeat
    for (const std::string& seed : {seeds[0], seeds[1], seeds[2], seeds[3], "<root>" + open + close + "</root>"}) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
    }
    testing::internal::CaptureStderr();  // the reader reports each unreadable file
    for (int i = 0; i < 1000; ++i) {
        std::string input = Mutate(seeds[static_cast<size_t>(i) % std::size(seeds)], random);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    testing::internal::GetCapturedStderr();
}

}  // namespace
