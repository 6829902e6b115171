// Numbered work items run on several threads, their results handed over in number order,
// with only a bounded window of items in flight at any time.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace trellisor {

// Runs work(i) for i = 0 .. count - 1 and calls deliver(i, result) on the calling thread in
// order of i. With jobs <= 1 everything runs on the calling thread. Otherwise `jobs` threads
// take items in order, but never item i before deliver(i - window) has returned: at most
// `window` items (at least jobs) are taken and not yet delivered, so memory stays bounded
// however many items there are, and a slow item holds up no more than the window behind it.
// work must not throw.
template <class Work, class Deliver>
void runInOrder(std::size_t count, unsigned jobs, std::size_t window, Work work, Deliver deliver) {
    using R = decltype(work(std::size_t{}));
    if (jobs <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            R result = work(i);
            deliver(i, result);
        }
        return;
    }
    window = std::max<std::size_t>(window, jobs);
    std::vector<std::optional<R>> slots(window);  // item i waits in slot i % window
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t nextTaken = 0, nextDelivered = 0;

    auto worker = [&] {
        for (;;) {
            std::size_t i;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return nextTaken >= count || nextTaken < nextDelivered + window; });
                if (nextTaken >= count) return;
                i = nextTaken++;
            }
            R result = work(i);
            {
                std::lock_guard lock(mutex);
                slots[i % window].emplace(std::move(result));
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    const std::size_t threadCount = std::min<std::size_t>(jobs, count);
    threads.reserve(threadCount);
    for (std::size_t t = 0; t < threadCount; ++t) threads.emplace_back(worker);

    for (std::size_t i = 0; i < count; ++i) {
        std::optional<R> result;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return slots[i % window].has_value(); });
            result.swap(slots[i % window]);
        }
        deliver(i, *result);
        {
            std::lock_guard lock(mutex);
            nextDelivered = i + 1;
        }
        changed.notify_all();
    }
    for (auto& t : threads) t.join();
}

}  // namespace trellisor
