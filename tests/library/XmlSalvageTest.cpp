// Damaged and deeply nested documents: what is kept is only what was read whole, and no
// operation recurses over a document's depth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/XmlDocument.h"
#include "library/XmlTree.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::TempFolder;
using orvella_test::Utf16;
using orvella_test::WriteBytes;

std::string Nested(size_t depth, const std::string& after = "") {
    std::string text;
    for (size_t i = 1; i < depth; ++i) text += "<a>";
    text += "<a/>";
    for (size_t i = 1; i < depth; ++i) text += "</a>";
    return "<root>" + text + after + "</root>";  // root adds one level
}

TEST(XmlSalvage, EveryCutKeepsOnlyValuesReadWhole) {
    const std::string text =
        "<root>\n<Media count=\"2\">\n<Data a=\"1\" b=\"22\"/>\n<Data a=\"3\" b=\"44\"/>\n</Media>"
        "\n<Player v=\"55\" w=\"66\"/>\n</root>";
    const struct {
        const char* path;
        size_t index;
        std::vector<std::pair<const char*, const char*>> values;
    } elements[] = {
        {"root/Media", 0, {{"count", "2"}}},
        {"root/Media/Data", 0, {{"a", "1"}, {"b", "22"}}},
        {"root/Media/Data", 1, {{"a", "3"}, {"b", "44"}}},
        {"root/Player", 0, {{"v", "55"}, {"w", "66"}}},
    };
    TempFolder folder;
    for (size_t size = 0; size < text.size(); ++size) {
        const std::string cut = text.substr(0, size);
        for (const std::string& bytes : {cut, Utf16(cut)}) {
            WriteBytes(folder.File("s.xml"), bytes);
            XmlDocument doc;
            EXPECT_EQ(doc.Salvage(folder.File("s.xml")), XmlDocument::FileState::Damaged) << cut;
            EXPECT_TRUE(doc.IsDamaged());
            for (const auto& e : elements) {
                XmlElement element = doc.Element(e.path, e.index);
                // A record the cut went through is marked; every other one is whole.
                const bool whole = element && element != doc.CutElement();
                for (const auto& [name, value] : e.values) {
                    std::string read;
                    if (element.GetAttribute(name, &read) == XmlDocument::kOk) {
                        EXPECT_EQ(read, value) << cut;
                    } else {
                        EXPECT_FALSE(whole) << cut << " lost " << name;
                    }
                }
            }
        }
    }
    WriteBytes(folder.File("s.xml"), text);
    XmlDocument doc;
    EXPECT_EQ(doc.Salvage(folder.File("s.xml")), XmlDocument::FileState::Whole);
    EXPECT_FALSE(doc.IsDamaged());
}

TEST(XmlSalvage, DeepDocumentsAreRefusedAndNeverRecursedOver) {
    TempFolder folder;
    const std::string path = folder.File("deep.xml");
    WriteBytes(path, Nested(kMaxElementDepth - 1));
    XmlDocument fits;
    EXPECT_TRUE(fits.Open(path));

    // Too deep: refused whole; salvaged down to the limit, and nothing after that point.
    WriteBytes(path, Nested(200000, "<Player volume='1'/>"));
    XmlDocument refused;
    EXPECT_FALSE(refused.Open(path));
    XmlDocument salvaged;
    EXPECT_EQ(salvaged.Salvage(path), XmlDocument::FileState::Damaged);
    std::string deepest = "root";
    for (size_t depth = 2; depth <= kMaxElementDepth; ++depth) deepest += "/a";
    EXPECT_TRUE(salvaged.Element(deepest));
    EXPECT_FALSE(salvaged.Element(deepest + "/a"));
    EXPECT_FALSE(salvaged.Element("root/Player"));
    EXPECT_EQ(salvaged.RemoveRoot(), XmlDocument::kOk);

    // A document made that deep in memory is written and removed all the same.
    XmlDocument built;
    ASSERT_TRUE(built.Create(path));
    built.CreateRoot();
    XmlElement element = built.Element("root");
    for (int i = 0; i < 200000; ++i) element = built.AppendElement("a", element);
    ASSERT_TRUE(element);
    EXPECT_GT(built.Serialize().size(), 200000u * 8);
    EXPECT_EQ(built.CreateRoot(), XmlDocument::kOk);
    EXPECT_FALSE(built.Element("root/a"));
}

}  // namespace
}  // namespace orvella
