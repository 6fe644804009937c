// The texts of the file information window, under the user's locale and any other.
#include "ui/FileInfoTexts.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/CommaLocale.h"
#include "tests/TestMedia.h"

namespace orvella {
namespace {

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;

const struct NumberCase { uint64_t bytes; const char* size; float seconds, aspect; const char* duration, *aspectText; } kNumbers[] = {
    {0, "0 bytes", 0.0f, 0.0f, "0.00 s", "0.0000"},
    {1023, "1023 bytes", 2.5f, 1.7778f, "2.50 s", "1.7778"},
    {1024, "1.00 KB", 59.999f, 1.3333f, "60.00 s", "1.3333"},
    {1024 * 1024 - 1, "1024.00 KB", 3600.0f, 2.35f, "3600.00 s", "2.3500"},
    {1024 * 1024, "1.00 MB", 0.125f, 1.0f, "0.12 s", "1.0000"},
    {kGiB, "1.00 GB", 7.0f, 0.5625f, "7.00 s", "0.5625"},
    {5 * kGiB, "5.00 GB", 1.0f, 1.0f, "1.00 s", "1.0000"},
};

// Every number with a point, in the C locale and under a decimal-comma one alike.
TEST(FileInfoTextsTest, NumbersKeepTheirPointInEveryLocale) {
    for (bool comma : {false, true}) {
        std::optional<orvella_test::CommaLocale> locale;
        if (comma) locale.emplace();
        if (locale && !locale->Active()) ORVELLA_SKIP_OR_FAIL("no decimal-comma locale could be made");
        for (const NumberCase& c : kNumbers) {
            SCOPED_TRACE(std::to_string(c.bytes) + (comma ? " under a comma locale" : ""));
            EXPECT_EQ(FileSizeText(c.bytes), c.size);
            EXPECT_EQ(DurationText(c.seconds), c.duration);
            EXPECT_EQ(AspectText(c.aspect), c.aspectText);
        }
        EXPECT_EQ(ResolutionText(640, 360), "640 x 360");
    }
}

TEST(FileInfoTextsTest, OnlyARegularFileHasASize) {
    char folder[] = "/tmp/orvella-fileinfo-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/clip.mp4";
    FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fwrite(std::string(1500, 'x').data(), 1, 1500, f);
    std::fclose(f);
    const struct { std::string path; uint64_t size; } cases[] = {
        {file, 1500}, {std::string(folder) + "/missing.mp4", 0}, {folder, 0}, {"", 0},
        {"http://example.org/clip.mp4", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RegularFileSize(c.path), c.size) << c.path;
    EXPECT_EQ(FileSizeText(RegularFileSize(std::string(folder) + "/missing.mp4")), "0 bytes");
    std::remove(file.c_str());
    ::rmdir(folder);
}

}  // namespace
}  // namespace orvella
