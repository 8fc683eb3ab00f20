#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "dxftool/WorkerPool.h"

using namespace kalvex::dxftool;

namespace {

// Busy for a while that differs from task to task, so that tasks finish out of order.
void workFor(std::size_t i) {
    std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 13 * 200));
}

} // namespace

TEST(WorkerPool, ResultsArriveInOrderOnTheCallingThread) {
    constexpr std::size_t kCount = 60;
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> running = 0, mostRunning = 0;
    std::vector<std::size_t> consumed;
    forEachInOrder<std::size_t>(
        kCount,
        [&](std::size_t i) {
            mostRunning = std::max(mostRunning.load(), ++running);
            workFor(i);
            --running;
            return i * i;
        },
        [&](std::size_t i, std::size_t& square) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            EXPECT_EQ(square, i * i);
            consumed.push_back(i);
        });
    ASSERT_EQ(consumed.size(), kCount);
    for (std::size_t i = 0; i < kCount; ++i)
        EXPECT_EQ(consumed[i], i);
    EXPECT_LE(static_cast<std::size_t>(mostRunning.load()), threadsFor(kCount));
    EXPECT_EQ(threadsFor(1), 1u);
}

TEST(WorkerPool, TheFirstFailureEndsTheRunAndIsThrownAgain) {
    std::atomic<int> produced = 0;
    std::vector<std::size_t> consumed;
    const auto run = [&](std::size_t failing) {
        forEachInOrder<int>(
            200,
            [&](std::size_t i) {
                ++produced;
                if (i == failing)
                    throw std::runtime_error("task " + std::to_string(i));
                return 0;
            },
            [&](std::size_t i, int&) { consumed.push_back(i); });
    };
    try {
        run(5);
        FAIL() << "no failure";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "task 5");
    }
    EXPECT_LE(consumed.size(), 5u); // nothing after the failed task is handed on
    EXPECT_LT(produced.load(), 200);

    consumed.clear();
    EXPECT_THROW(forEachInOrder<int>(
                     10, [](std::size_t) { return 1; },
                     [](std::size_t i, int&) {
                         if (i == 3)
                             throw std::logic_error("consumer");
                     }),
                 std::logic_error);
}

// One thread held at a gate and a queue of two: the fourth task cannot be handed over until the
// gate opens.
TEST(WorkerPool, SubmitWaitsWhileTheQueueIsFull) {
    std::atomic<int> done = 0;
    std::atomic<bool> allHandedOver = false;
    std::mutex gate;
    std::unique_lock closed(gate);
    {
        WorkerPool pool(1, 2);
        std::thread feeder([&] {
            pool.submit([&] {
                std::lock_guard open(gate);
                ++done;
            });
            for (int i = 0; i < 3; ++i)
                pool.submit([&] { ++done; });
            allHandedOver = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(allHandedOver);
        EXPECT_EQ(done, 0);
        closed.unlock();
        feeder.join();
        EXPECT_TRUE(allHandedOver);
    }
    EXPECT_EQ(done, 4);
}
