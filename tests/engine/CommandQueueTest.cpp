// Commands for an input that takes nothing more: they wait in order, repeats coalesce,
// the queue is bounded, and everything goes out once the input takes again.
#include "engine/CommandQueue.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace orvella {
namespace {

using Outcome = CommandQueue::Outcome;

TEST(CommandQueueTest, FullInputQueuesCoalescesBoundsAndFlushesInOrder) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
    const std::string filler(1 << 20, 'f');
    while (::write(fds[1], filler.data(), filler.size()) > 0) {
    }
    CommandQueue queue;
    const auto now = CommandQueue::Clock::now();
    struct Step {
        const char* text;
        Outcome outcome;
        size_t waiting;
    };
    for (const Step& s : {Step{"seek 10 0\n", Outcome::Queued, 1}, Step{"seek 10 0\n", Outcome::Coalesced, 1},
                          Step{"volume 50 1\n", Outcome::Queued, 2}, Step{"seek 10 0\n", Outcome::Coalesced, 2}}) {
        EXPECT_EQ(queue.Offer(fds[1], s.text, now), s.outcome) << s.text;
        EXPECT_EQ(queue.Count(), s.waiting) << s.text;
    }
    for (size_t i = queue.Count(); i < CommandQueue::kMaxCommands; ++i)
        EXPECT_EQ(queue.Offer(fds[1], "seek " + std::to_string(i) + " 2\n", now), Outcome::Queued);
    EXPECT_EQ(queue.Offer(fds[1], "one too many\n", now), Outcome::Full);
    EXPECT_GT(queue.StalledFor(now + std::chrono::seconds(3)), std::chrono::seconds(2));

    std::string taken;
    char buffer[65536];
    for (int rounds = 0; rounds < 1000 && queue.Waiting(); ++rounds) {
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) taken.append(buffer, n);
        EXPECT_TRUE(queue.Flush(fds[1], now));
    }
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) taken.append(buffer, n);
    EXPECT_FALSE(queue.Waiting());
    const std::string commands = taken.substr(taken.find_first_not_of('f'));
    EXPECT_EQ(commands.substr(0, 22), "seek 10 0\nvolume 50 1\n");
    EXPECT_EQ(commands.find("one too many"), std::string::npos);

    ::close(fds[0]);  // the child closed its input: nothing more goes
    EXPECT_EQ(queue.Offer(fds[1], "quit\n", now), Outcome::Failed);
    ::close(fds[1]);
}

}  // namespace
}  // namespace orvella
