#include "library/XmlDocument.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/DebugLogRecorder.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::ReadBytes;
using orvella_test::TempFolder;
using orvella_test::Utf16;
using orvella_test::Utf8FromUtf16;
using orvella_test::WriteBytes;
using orvella_test::XmlLintAccepts;

const std::string kDeclaration = "<?xml version='1.0' encoding='UTF-16'?>\n";

// The bytes Save writes for `body` (UTF-8 text after the declaration).
std::string Written(const std::string& body) { return Utf16(kDeclaration + body); }

TEST(XmlDocument, CreateWritesUtf16WithTheDeclarationAndTheElementWhitespace) {
    TempFolder folder;
    XmlDocument doc;
    ASSERT_TRUE(doc.Create(folder.File("a.xml")));
    EXPECT_EQ(doc.CreateRoot(), XmlDocument::kOk);
    EXPECT_EQ(doc.AddElement("Player", "root"), XmlDocument::kOk);
    EXPECT_EQ(doc.SetAttribute("root/Player", "volume", "50"), XmlDocument::kOk);
    EXPECT_EQ(doc.AddElement("Media", "root"), XmlDocument::kOk);
    EXPECT_EQ(doc.AddElement("Data", "root/Media"), XmlDocument::kOk);
    EXPECT_EQ(doc.AddElement("Data", "root/Media"), XmlDocument::kOk);
    EXPECT_EQ(doc.SetAttribute("root/Media/Data", "n", "second", 1), XmlDocument::kOk);
    EXPECT_EQ(doc.SetAttribute("root/Player", "volume", "60"), XmlDocument::kOk);  // replaced
    ASSERT_EQ(doc.Save(), XmlDocument::kOk);

    std::string bytes = ReadBytes(folder.File("a.xml"));
    std::string expected = Written(
        "<root>\n\t<Player volume=\"60\"/>\n\n\t<Media>\n\t<Data/>\n\n\t<Data n=\"second\"/>\n"
        "</Media>\n</root>\n");
    EXPECT_EQ(bytes, expected) << Utf8FromUtf16(bytes);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
}

TEST(XmlDocument, GetAttributeResultsLeaveTheValueAloneUnlessFound) {
    TempFolder folder;
    WriteBytes(folder.File("m.xml"),
               "<root><Media><Data n='a'/><Data n='b' empty=''/></Media>"
               "<Media><Data n='c'/></Media></root>");
    XmlDocument doc;
    ASSERT_TRUE(doc.Open(folder.File("m.xml")));
    struct Case {
        const char* path;
        const char* name;
        size_t index;
        int result;
        const char* value;  // the value after the call; it starts as "untouched"
    } cases[] = {
        {"root/Media/Data", "n", 0, 0, "a"},
        {"root/Media/Data", "n", 1, 0, "b"},
        {"root/Media/Data", "n", 2, 0, "c"},  // document order across both "Media"
        {"root/Media/Data", "n", 3, 1, "untouched"},
        {"root/Media/Data", "empty", 1, 0, ""},
        {"root/Media/Data", "missing", 0, -1, "untouched"},
        {"root/Player", "n", 0, 1, "untouched"},
        {"root/Media", "n", 0, -1, "untouched"},
        {"root//Data", "n", 0, 1, "untouched"},
        {"", "n", 0, 1, "untouched"},
        {"Media/Data", "n", 0, 1, "untouched"},  // paths start at the document
    };
    for (const Case& c : cases) {
        std::string value = "untouched";
        EXPECT_EQ(doc.GetAttribute(c.path, c.name, &value, c.index), c.result)
            << c.path << " " << c.name << " " << c.index;
        EXPECT_EQ(value, c.value) << c.path << " " << c.name << " " << c.index;
    }
    XmlDocument none;  // never opened
    std::string value = "untouched";
    EXPECT_EQ(none.GetAttribute("root/Media/Data", "n", &value), -1);
    EXPECT_EQ(value, "untouched");
}

TEST(XmlDocument, OperationsOnPathsThatSelectNothingChangeNothing) {
    TempFolder folder;
    XmlDocument doc;
    ASSERT_TRUE(doc.Create(folder.File("a.xml")));
    EXPECT_EQ(doc.AddElement("Player", "root"), XmlDocument::kNotFound);  // no root yet
    EXPECT_EQ(doc.RemoveRoot(), XmlDocument::kNotFound);
    ASSERT_EQ(doc.CreateRoot(), XmlDocument::kOk);
    std::string before = doc.Serialize();
    EXPECT_EQ(doc.AddElement("Data", "root/Media"), XmlDocument::kNotFound);
    EXPECT_EQ(doc.SetAttribute("root/Media", "a", "1"), XmlDocument::kNotFound);
    EXPECT_EQ(doc.SetAttribute("root", "a", "1", 1), XmlDocument::kNotFound);
    // Names that are not XML names are refused rather than written into a broken file.
    EXPECT_EQ(doc.AddElement("", "root"), XmlDocument::kFailed);
    EXPECT_EQ(doc.AddElement("two words", "root"), XmlDocument::kFailed);
    EXPECT_EQ(doc.AddElement("<x>", "root"), XmlDocument::kFailed);
    EXPECT_EQ(doc.SetAttribute("root", "1st", "1"), XmlDocument::kFailed);
    EXPECT_EQ(doc.Serialize(), before);

    XmlDocument none;
    EXPECT_EQ(none.CreateRoot(), XmlDocument::kFailed);
    EXPECT_EQ(none.AddElement("Player", "root"), XmlDocument::kFailed);
    EXPECT_EQ(none.SetAttribute("root", "a", "1"), XmlDocument::kFailed);
    EXPECT_EQ(none.Save(), XmlDocument::kFailed);
}

TEST(XmlDocument, OpenFailsOnMissingUnreadableAndMalformedFiles) {
    TempFolder folder;
    const std::string good = "<root><Player volume='7'/></root>";
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"white space", "  \n\t "},
        {"truncated", good.substr(0, good.size() / 2)},
        {"unclosed root", "<root><Player volume='7'/>"},
        {"bad attribute", "<root><Player volume=7/></root>"},
        {"mismatched end", "<root><Player></root></Player>"},
        {"two document elements", "<root/><root/>"},
        {"text beside the element", "junk<root/>"},
        {"text after the element", "<root/>junk"},
        {"binary", std::string("\x00\x01\x02\xFF\xFE\x00", 6)},
        {"truncated UTF-16", Utf16(good).substr(0, 21)},
        {"declaration only", Utf16("<?xml version='1.0' encoding='UTF-16'?>")},
    };
    // A bad file is the developer's business: one line on the debug channel naming it,
    // nothing on the terminal.
    for (const Case& c : cases) {
        WriteBytes(folder.File("bad.xml"), c.bytes);
        XmlDocument doc;
        DebugLogRecorder log;
        testing::internal::CaptureStderr();
        bool opened = doc.Open(folder.File("bad.xml"));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.what;
        EXPECT_FALSE(opened) << c.what;
        EXPECT_FALSE(doc.IsLoaded()) << c.what;
        EXPECT_EQ(log.Text().rfind(folder.File("bad.xml") + ": not loaded: ", 0), 0u)
            << c.what << ": " << log.Text();
        EXPECT_EQ(std::count(log.Text().begin(), log.Text().end(), '\n'), 1) << c.what;
    }
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    const struct {
        std::string path;
        std::string said;
    } unreadable[] = {
        {folder.File("missing.xml"), ""},  // the first start: not even worth a debug line
        {folder.path(), folder.path() + ": cannot be read\n"},  // a folder
        // must not block waiting for a writer
        {folder.File("fifo"), folder.File("fifo") + ": cannot be read\n"},
    };
    for (const auto& u : unreadable) {
        XmlDocument doc;
        DebugLogRecorder log;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(doc.Open(u.path)) << u.path;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << u.path;
        EXPECT_EQ(log.Text(), u.said);
    }
}

TEST(XmlDocument, ReadsUtf8AndUtf16InEveryByteOrder) {
    TempFolder folder;
    const std::string value = "M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5 &<\"'";
    const std::string body = "<root>\r\n  <Player snappath=\"M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC "
                             "\xF0\x9F\x8E\xB5 &amp;&lt;&quot;'\"/>\r\n</root>\r\n";
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + body},
        {"UTF-8 without declaration", body},
        {"UTF-16 LE", Utf16("<?xml version='1.0' encoding='UTF-16'?>" + body)},
        {"UTF-16 BE", Utf16("<?xml version='1.0' encoding='UTF-16'?>" + body, true)},
        {"UTF-16 LE without BOM", Utf16("<?xml version='1.0' encoding='UTF-16'?>" + body, false, false)},
        {"UTF-16 declared but UTF-8", "<?xml version='1.0' encoding='UTF-16'?>" + body},
    };
    for (const Case& c : cases) {
        WriteBytes(folder.File("in.xml"), c.bytes);
        XmlDocument doc;
        ASSERT_TRUE(doc.Open(folder.File("in.xml"))) << c.what;
        std::string read;
        EXPECT_EQ(doc.GetAttribute("root/Player", "snappath", &read), 0) << c.what;
        EXPECT_EQ(read, value) << c.what;
    }
}

TEST(XmlDocument, RewritingALoadedFileReplacesTheRootAndWritesUtf16) {
    TempFolder folder;
    WriteBytes(folder.File("s.xml"),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- kept -->\n"
               "<root>\n  <Media><Data filename='x'/></Media>\n  <Player volume='3'/>\n</root>\n");
    XmlDocument doc;
    ASSERT_TRUE(doc.Open(folder.File("s.xml")));
    EXPECT_EQ(doc.RemoveRoot(), XmlDocument::kOk);
    EXPECT_EQ(doc.CreateRoot(), XmlDocument::kOk);
    EXPECT_EQ(doc.AddElement("Player", "root"), XmlDocument::kOk);
    EXPECT_EQ(doc.SetAttribute("root/Player", "volume", "4"), XmlDocument::kOk);
    ASSERT_EQ(doc.Save(), XmlDocument::kOk);
    // The old declaration said UTF-8: it is replaced, since the file is now UTF-16.
    std::string bytes = ReadBytes(folder.File("s.xml"));
    EXPECT_EQ(bytes, Written("<!-- kept -->\n<root>\n\t<Player volume=\"4\"/>\n</root>\n"))
        << Utf8FromUtf16(bytes);
}

TEST(XmlDocument, CreateRootReplacesAForeignDocumentElement) {
    // Without this a file whose element is not "root" could never be rewritten: every
    // later save would silently keep the foreign file.
    TempFolder folder;
    WriteBytes(folder.File("s.xml"), "<settings><Player volume='3'/></settings>");
    XmlDocument doc;
    ASSERT_TRUE(doc.Open(folder.File("s.xml")));
    EXPECT_EQ(doc.RemoveRoot(), XmlDocument::kNotFound);
    EXPECT_EQ(doc.CreateRoot(), XmlDocument::kOk);
    EXPECT_EQ(doc.AddElement("Player", "root"), XmlDocument::kOk);
    EXPECT_EQ(doc.Serialize(), Written("<root>\n\t<Player/>\n</root>\n"));
}

TEST(XmlDocument, LongValuesWithMarkupCharactersSurviveWholeAndUnchanged) {
    TempFolder folder;
    std::string value;
    const std::string pieces[] = {"a", "&", "<", ">", "\"", "'", "\t", "\n", "\r\n", " ",
                                  "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\xB5", "/", "\\"};
    for (size_t i = 0; value.size() < 10000; ++i) value += pieces[(i * 7) % std::size(pieces)];
    XmlDocument doc;
    ASSERT_TRUE(doc.Create(folder.File("long.xml")));
    doc.CreateRoot();
    doc.AddElement("Player", "root");
    ASSERT_EQ(doc.SetAttribute("root/Player", "snappath", value), XmlDocument::kOk);
    ASSERT_EQ(doc.Save(), XmlDocument::kOk);

    XmlDocument again;
    ASSERT_TRUE(again.Open(folder.File("long.xml")));
    std::string read;
    ASSERT_EQ(again.GetAttribute("root/Player", "snappath", &read), 0);
    EXPECT_EQ(read, value);
}

TEST(XmlDocument, SaveIntoAMissingFolderFailsAndLeavesNoFile) {
    TempFolder folder;
    XmlDocument doc;
    ASSERT_TRUE(doc.Create(folder.File("no/such/folder/a.xml")));
    doc.CreateRoot();
    EXPECT_EQ(doc.Save(), XmlDocument::kFailed);
    EXPECT_TRUE(folder.Names().empty());
}

TEST(XmlDocument, HeldElementsCountAsThePathsDoAndEmptyOnesFail) {
    TempFolder folder;
    WriteBytes(folder.File("m.xml"), "<root><Media><Data n='a'/><Data n='b'/></Media>"
                                     "<Other><Data n='x'/></Other><Media><Data n='c'/></Media></root>");
    XmlDocument doc;
    ASSERT_TRUE(doc.Open(folder.File("m.xml")));
    std::vector<XmlElement> data = doc.Elements("root/Media/Data");
    std::string n, before = doc.Serialize();
    ASSERT_EQ(data.size(), 3u);
    for (size_t i = 0; i < data.size(); ++i) {
        EXPECT_EQ(data[i].GetAttribute("n", &n), XmlDocument::kOk);
        EXPECT_EQ(n, std::string(1, "abc"[i]));
    }
    EXPECT_EQ(doc.Element("root/Media/Data", 2).GetAttribute("n", &n), XmlDocument::kOk);
    EXPECT_EQ(n, "c");
    EXPECT_FALSE(doc.Element("root/Media", 2));
    EXPECT_TRUE(doc.Elements("root//Data").empty());
    EXPECT_FALSE(doc.AppendElement("Data", XmlElement()));
    EXPECT_FALSE(doc.AppendElement("two words", data[0]));
    EXPECT_EQ(data[0].SetAttribute("1st", "x"), XmlDocument::kFailed);
    EXPECT_EQ(XmlElement().SetAttribute("a", "x"), XmlDocument::kFailed);
    EXPECT_EQ(XmlElement().GetAttribute("a", &n), XmlDocument::kFailed);
    EXPECT_EQ(data[0].GetAttribute("missing", &n), XmlDocument::kFailed);
    EXPECT_EQ(n, "c");
    EXPECT_EQ(doc.Serialize(), before);
}

TEST(XmlDocument, AnyBytesSurviveAndTheFileStaysWellFormed) {
    struct Case {
        const char* what;
        std::string value;
        std::string readable;  // what the value itself shows in the file; empty: the value
    } cases[] = {
        {"accents, CJK, emoji", "\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x8E\xB5", ""},
        {"replacement character", "\xEF\xBF\xBD", ""},
        {"private use", "\xEE\x80\x80 \xEF\xA3\xBF", ""},
        {"line breaks and tabs", "a\r\nb\nc\rd\te", ""},
        {"Latin-1", "caf\xE9", "caf\xEF\xBF\xBD"},
        {"cut sequence", "x\xE2\x82", "x\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"overlong", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"an old escape's bytes", "\xED\xB2\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"control characters", "a\x01\x1F\x7F", "a\xEF\xBF\xBD\xEF\xBF\xBD\x7F"},
        {"not a character", "\xEF\xBF\xBE", "\xEF\xBF\xBD"},
        {"percent signs", "100% \xFF %41", "100% \xEF\xBF\xBD %41"},
        {"a long run of them", std::string(3000, '\xFF') + "tail", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Create(folder.File("b.xml")));
        doc.CreateRoot();
        doc.AddElement("Player", "root");
        ASSERT_EQ(doc.SetAttribute("root/Player", "v", "old \xFF"), XmlDocument::kOk) << c.what;
        ASSERT_EQ(doc.SetAttribute("root/Player", "v", c.value), XmlDocument::kOk) << c.what;
        std::string inMemory, fromFile;
        doc.GetAttribute("root/Player", "v", &inMemory);
        EXPECT_EQ(inMemory, c.value) << c.what;
        ASSERT_EQ(doc.Save(), XmlDocument::kOk);
        EXPECT_TRUE(XmlLintAccepts(folder.File("b.xml"))) << c.what;
        std::string text = Utf8FromUtf16(ReadBytes(folder.File("b.xml")));
        if (!c.readable.empty()) {
            EXPECT_NE(text.find("v=\"" + c.readable), std::string::npos) << c.what;
        }
        EXPECT_EQ(text.find("\" v.bytes=\"") != std::string::npos, !c.readable.empty()) << c.what << ": " << text;
        XmlDocument again;
        ASSERT_TRUE(again.Open(folder.File("b.xml")));
        again.GetAttribute("root/Player", "v", &fromFile);
        EXPECT_EQ(fromFile, c.value) << c.what;
    }
}

TEST(XmlDocument, ReadsTheReadableValueWhenTheExactOneNoLongerMatches) {
    const std::pair<const char*, std::string> cases[] = {
        {"v='caf\xEF\xBF\xBD' v.bytes='caf%E9'", "caf\xE9"},
        {"v='edited by hand' v.bytes='caf%E9'", "edited by hand"},
        {"v='caf\xEF\xBF\xBD' v.bytes='caf%E'", "caf\xEF\xBF\xBD"},  // damaged
        {"v='old &#xDCE9;scape'", "old \xE9scape"},                       // an earlier version's file
    };
    TempFolder folder;
    for (const auto& c : cases) {
        WriteBytes(folder.File("o.xml"), std::string("<root><Player ") + c.first + "/></root>");
        XmlDocument doc;
        std::string value;
        EXPECT_TRUE(doc.Open(folder.File("o.xml")) && doc.GetAttribute("root/Player", "v", &value) == 0);
        EXPECT_EQ(value, c.second) << c.first;
    }
}

}  // namespace
}  // namespace orvella
