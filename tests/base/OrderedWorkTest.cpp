// Ordered results from several threads, with a bounded window of items in flight.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "base/OrderedWork.h"

namespace trellisor {
namespace {

TEST(OrderedWork, DeliversEveryResultInOrderWhateverTheThreadCount) {
    for (unsigned jobs : {1u, 2u, 3u, 8u}) {
        std::size_t next = 0;
        runInOrder(
            200, jobs, 2 * jobs,
            [](std::size_t i) {
                // Uneven work, so that later items often finish first.
                volatile std::size_t spin = 0;
                for (std::size_t k = 0; k < (i % 7) * 2000; ++k) spin = spin + k;
                return std::to_string(i * i);
            },
            [&](std::size_t i, const std::string& r) {
                EXPECT_EQ(std::pair(i, r), std::pair(next, std::to_string(next * next))) << jobs;
                ++next;
            });
        EXPECT_EQ(next, 200u) << jobs;
    }
}

TEST(OrderedWork, NoItemStartsBeforeTheOneAWindowBackIsDelivered) {
    constexpr std::size_t kWindow = 4;
    std::atomic<std::size_t> deliveredCount{0}, tooEarly{0};
    std::mutex mutex;
    std::condition_variable released;
    bool firstMayFinish = false;
    runInOrder(
        64, 2, kWindow,
        [&](std::size_t i) {
            if (i >= deliveredCount.load() + kWindow) ++tooEarly;
            std::unique_lock lock(mutex);
            // Item 0 is held until the last item the window allows has started: without the
            // window the other thread would run on past it meanwhile.
            if (i == kWindow - 1) {
                firstMayFinish = true;
                released.notify_all();
            }
            if (i == 0) released.wait(lock, [&] { return firstMayFinish; });
            return i;
        },
        [&](std::size_t, std::size_t) { ++deliveredCount; });
    EXPECT_EQ(std::pair(tooEarly.load(), deliveredCount.load()), std::pair(std::size_t(0), std::size_t(64)));
}

}  // namespace
}  // namespace trellisor
