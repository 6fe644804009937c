#include "uilib/ResourceCache.h"

#include <gtest/gtest.h>

#include "tests/uilib/RenderTestSupport.h"

using namespace uilib;
using rendertest::TempFolder;

namespace {

class ResourceCacheTest : public ::testing::Test {
protected:
    void SetUp() override { CResourceCache::SetResourceFolder(folder.Path().c_str()); }
    void TearDown() override { CResourceCache::SetResourceFolder(""); }
    TempFolder folder;
    CResourceCache cache;
};

TEST_F(ResourceCacheTest, ResolvesNamesAgainstTheFolder) {
    const std::string base = folder.Path() + "/";
    EXPECT_EQ(base, CResourceCache::GetResourceFolder());
    struct { const char* name; std::string path; } cases[] = {
        {"a.png", base + "a.png"},
        {"skin\\river.PNG", base + "skin/river.PNG"},
        {"skin/sub\\x.png", base + "skin/sub/x.png"},
        {"/abs/pic.png", "/abs/pic.png"},
        {"\\abs\\pic.png", "/abs/pic.png"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.path, CResourceCache::ResolvePath(c.name)) << c.name;
    EXPECT_EQ("", CResourceCache::ResolvePath(nullptr));

    CResourceCache::SetResourceFolder("/some\\where");  // a missing slash is added
    EXPECT_EQ("/some/where/", CResourceCache::GetResourceFolder());
    CResourceCache::SetResourceFolder("");
    EXPECT_EQ(GetAppPath(), CResourceCache::GetResourceFolder());
}

TEST_F(ResourceCacheTest, ImagesAreDecodedOncePerFileAndMask) {
    std::filesystem::create_directory(folder.File("skin"));
    rendertest::WriteSolidPng(folder.File("skin/River.png"), 3, 2, 0xFF112233);
    const ImageData* a = cache.GetImage("skin\\River.png");
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(3, a->width);
    EXPECT_EQ(2, a->height);
    EXPECT_EQ(nullptr, a->Surface2x());
    EXPECT_EQ(a, cache.GetImage("skin/River.png"));
    EXPECT_EQ(a, cache.GetImage(folder.File("skin/River.png").c_str()));
    const ImageData* masked = cache.GetImage("skin/River.png", 0xFF112233);
    ASSERT_NE(nullptr, masked);
    EXPECT_NE(a, masked);
    EXPECT_EQ(2u, cache.GetImageCount());

    // Written on a case-blind file system: the case of the name does not matter.
    const ImageData* upper = cache.GetImage("SKIN\\river.PNG");
    ASSERT_NE(nullptr, upper);
    EXPECT_EQ(3, upper->width);

    EXPECT_EQ(nullptr, cache.GetImage("skin/none.png"));
    EXPECT_EQ(nullptr, cache.GetImage(nullptr));
    EXPECT_EQ(nullptr, cache.GetImage(""));

    cache.RemoveImage("skin/River.png", 0xFF112233);
    EXPECT_NE(nullptr, cache.GetImage("skin/River.png"));
    cache.RemoveAllImages();
    EXPECT_EQ(0u, cache.GetImageCount());

    // A picture that appears later is found once the cache is emptied.
    EXPECT_EQ(nullptr, cache.GetImage("late.png"));
    rendertest::WriteSolidPng(folder.File("late.png"), 1, 1, 0xFFFFFFFF);
    cache.RemoveAllImages();
    EXPECT_NE(nullptr, cache.GetImage("late.png"));
}

TEST_F(ResourceCacheTest, FontsFallBackToTheDefault) {
    EXPECT_EQ("Sans", cache.GetDefaultFontInfo().family);
    TFontInfo title;
    title.family = "Serif";
    title.size = 18;
    title.bold = true;
    cache.AddFont(3, title);
    EXPECT_TRUE(cache.HasFont(3));
    EXPECT_EQ("Serif", cache.GetFont(3).family);
    EXPECT_TRUE(cache.GetFont(3).bold);
    EXPECT_EQ(&cache.GetDefaultFontInfo(), &cache.GetFont(-1));
    EXPECT_EQ(&cache.GetDefaultFontInfo(), &cache.GetFont(42));

    TFontInfo base;
    base.family = "Mono";
    base.size = 11;
    cache.SetDefaultFont(base);
    EXPECT_EQ("Mono", cache.GetFont(-1).family);
    EXPECT_EQ(11, cache.GetFont(42).size);
    cache.RemoveAllFonts();
    EXPECT_FALSE(cache.HasFont(3));
    EXPECT_EQ("Mono", cache.GetFont(3).family);
}

}  // namespace
