// Commands for an input that takes nothing more wait in order, repeats coalesce, the
// queue is bounded, and all goes out once the input takes again.
#include "engine/CommandQueue.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace orvella {
namespace {

TEST(CommandQueueTest, FullInputQueuesCoalescesBoundsAndFlushesInOrder) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
    const std::string filler(1 << 20, 'f');
    while (::write(fds[1], filler.data(), filler.size()) > 0) {
    }
    CommandQueue queue;
    const auto now = CommandQueue::Clock::now();
    using O = CommandQueue::Outcome;
    for (auto [text, outcome] : {std::pair{"seek 10 0\n", O::Queued}, {"seek 10 0\n", O::Coalesced},
                                 {"volume 50 1\n", O::Queued}, {"seek 10 0\n", O::Coalesced}})
        EXPECT_EQ(queue.Offer(fds[1], text, now), outcome) << text;
    for (size_t i = queue.Count(); i < CommandQueue::kMaxCommands; ++i)
        EXPECT_EQ(queue.Offer(fds[1], "seek " + std::to_string(i) + " 2\n", now), O::Queued);
    EXPECT_EQ(queue.Offer(fds[1], "one too many\n", now), O::Full);

    std::string taken;
    char buffer[65536];
    for (int round = 0; round < 100 && queue.Waiting(); ++round) {
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) taken.append(buffer, n);
        EXPECT_TRUE(queue.Flush(fds[1], now));
    }
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) taken.append(buffer, n);
    const std::string commands = taken.substr(taken.find_first_not_of('f'));
    EXPECT_EQ(commands.substr(0, 22), "seek 10 0\nvolume 50 1\n");
    EXPECT_EQ(commands.find("one too many"), std::string::npos);
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace
}  // namespace orvella
