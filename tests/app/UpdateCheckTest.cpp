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
    const struct {
        ProgramVersion remote;
        bool newer;
    } cases[] = {{{1, 3, 0}, true}, {{1, 1, 9}, false}, {{1, 2, 3}, false}, {{1, 2, 4}, true}, {{2, 0, 0}, true}};
    for (const auto& c : cases) EXPECT_EQ(IsNewerVersion({1, 2, 3}, c.remote), c.newer) << Version(c.remote);
}

TEST(UpdateCheckRules, VersionFileSitsInTheBaseFolder) {
    for (const char* base : {"https://example.org/orvella/", "https://example.org/orvella"})
        EXPECT_EQ(VersionFileUrl(base), "https://example.org/orvella/version.ini");
    EXPECT_EQ(VersionFileUrl(""), "");
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
        std::string url;
        const char* expected;  // the version read, or "failed"
    } cases[] = {
        {server_.Base("newer"), "1.3.0"},    {server_.Base("equal"), "1.2.3"},
        {server_.Base("redirect"), "1.3.0"}, {server_.Base("chunked"), "1.3.0"},
        {server_.Base("missing"), "failed"}, {server_.Base("error"), "failed"},
        {server_.Base("garbage"), "failed"}, {server_.Base("big"), "failed"},
        {server_.Base("general"), "failed"}, {server_.Base("short"), "failed"},
    };
    const std::atomic<bool> abort{false};
    for (const auto& c : cases) {
        std::string body;
        std::optional<ProgramVersion> version;
        if (FetchUrl(VersionFileUrl(c.url), &body, abort)) version = ParseVersionFile(body);
        EXPECT_EQ(Version(version), c.expected) << c.url;
    }
}

// Exit while the server stalls: the transfer ends when told, not at its (here far) time limit.
TEST_F(UpdateFetchTest, AStalledTransferEndsWhenAborted) {
    std::atomic<bool> abort{false};
    std::atomic<bool> done{false};
    bool fetched = true;
    std::thread worker([&] {
        std::string body;
        FetchLimits limits;
        limits.totalSeconds = 600;
        fetched = FetchUrl(VersionFileUrl(server_.Base("slow")), &body, abort, limits);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done) << "the server stalls";
    abort = true;
    worker.join();
    EXPECT_FALSE(fetched);
}

}  // namespace orvella
