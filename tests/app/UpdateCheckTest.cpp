// The update check's rules, and its transfer against a real local server.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/UpdateCheck.h"
#include "library/HttpFetch.h"
#include "tests/app/VersionServer.h"

namespace orvella {

namespace {

std::string Version(const std::optional<ProgramVersion>& v) {
    if (!v) return "failed";
    return std::to_string(v->major) + "." + std::to_string(v->minor) + "." + std::to_string(v->build);
}

}  // namespace

TEST(UpdateCheckRules, VersionFileReadsOnlyAWholeWellFormedAnswer) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[Gerneral]\nmajor_version=1\nminor_version=3\nbuild=0\n", "1.3.0"},
        {"\xEF\xBB\xBF[Gerneral]\r\nMAJOR_VERSION = 2\r\nMinor_Version= 0\r\nBuild =7\r\n", "2.0.7"},
        {"; published by hand\n# and checked\n[Gerneral]\n; major_version=9\nmajor_version=1\n"
         "minor_version=2\nbuild=3", "1.2.3"},
        {"[Other]\nbuild=9\n[Gerneral]\nmajor_version=0\nminor_version=0\nbuild=65535\n", "0.0.65535"},
        {"[General]\nmajor_version=1\nminor_version=3\nbuild=0\n", "failed"},
        {"[Gerneral]\nmajor_version=1\nminor_version=3\n", "failed"},
        {"[Gerneral]\nmajor_version=1\nminor_version=65536\nbuild=0\n", "failed"},
        {"[Gerneral]\nmajor_version=-1\nminor_version=0\nbuild=0\n", "failed"},
        {"[Gerneral]\nmajor_version=1x\nminor_version=0\nbuild=0\n", "failed"},
        {"[Gerneral]\nmajor_version=\nminor_version=0\nbuild=0\n", "failed"},
        {"[Gerneral\nmajor_version=1\nminor_version=0\nbuild=0\n", "failed"},
        {"[Gerneral]\nmajor_version=9\nmino", "failed"},
        {"<html><body>Not found</body></html>", "failed"},
        {"", "failed"},
    };
    for (const auto& c : cases) EXPECT_EQ(Version(ParseVersionFile(c.text)), c.expected) << c.text;
}

TEST(UpdateCheckRules, NewerByMajorThenMinorThenBuild) {
    const ProgramVersion own{1, 2, 3};
    const struct {
        ProgramVersion remote;
        bool newer;
    } cases[] = {
        {{1, 3, 0}, true}, {{1, 1, 9}, false}, {{1, 2, 3}, false}, {{1, 2, 4}, true},
        {{2, 0, 0}, true}, {{0, 9, 9}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNewerVersion(own, c.remote), c.newer) << Version(c.remote);
    WPARAM w = 0;
    LPARAM l = 0;
    PackVersion(ProgramVersion{65535, 7, 300}, &w, &l);
    EXPECT_EQ(Version(UnpackVersion(w, l)), "65535.7.300");
}

TEST(UpdateCheckRules, VersionFileSitsInTheBaseFolder) {
    const struct {
        const char* base;
        const char* url;
    } cases[] = {
        {"https://example.org/orvella/", "https://example.org/orvella/version.ini"},
        {"https://example.org/orvella", "https://example.org/orvella/version.ini"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(VersionFileUrl(c.base), c.url) << c.base;
}

class UpdateFetchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server_.Start("1.2.3")); }
    static void TearDownTestSuite() { server_.Stop(); }
    static orvella_test::VersionServer server_;
};
orvella_test::VersionServer UpdateFetchTest::server_;

TEST_F(UpdateFetchTest, OnlyAWholeGoodAnswerCounts) {
    const struct {
        const char* folder;
        const char* expected;  // the version read, or "failed"
    } cases[] = {
        {"newer", "1.3.0"},   {"equal", "1.2.3"},   {"redirect", "1.3.0"}, {"chunked", "1.3.0"},
        {"missing", "failed"}, {"error", "failed"}, {"garbage", "failed"}, {"big", "failed"},
        {"general", "failed"}, {"short", "failed"},
    };
    const std::atomic<bool> abort{false};
    for (const auto& c : cases) {
        std::string body;
        std::optional<ProgramVersion> version;
        if (FetchUrl(VersionFileUrl(server_.Base(c.folder)), &body, abort)) version = ParseVersionFile(body);
        EXPECT_EQ(Version(version), c.expected) << c.folder;
    }
}

TEST_F(UpdateFetchTest, OnlyWebAddressesAreFetched) {
    const std::atomic<bool> abort{false};
    std::string body;
    EXPECT_FALSE(FetchUrl("file:///etc/hostname", &body, abort));
    EXPECT_TRUE(body.empty());
}

// Exit while the server stalls: the transfer ends when told, not at its time limit.
TEST_F(UpdateFetchTest, AStalledTransferEndsWhenAborted) {
    std::atomic<bool> abort{false};
    std::atomic<bool> done{false};
    bool fetched = true;
    std::thread worker([&] {
        std::string body;
        fetched = FetchUrl(VersionFileUrl(server_.Base("slow")), &body, abort);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done) << "the server stalls";
    abort = true;
    worker.join();
    EXPECT_FALSE(fetched);
}

}  // namespace orvella
