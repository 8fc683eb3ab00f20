#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kalvex::dxftool {

// A few threads running tasks in the order they were handed over. submit() waits while
// `queueLimit` tasks are waiting already, so a caller that hands over work faster than it is done
// never holds more than that many tasks at once.
class WorkerPool {
public:
    WorkerPool(std::size_t threads, std::size_t queueLimit);
    ~WorkerPool(); // runs what was handed over, then ends the threads

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The task must not throw.
    void submit(std::function<void()> task);

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_taken;
    std::deque<std::function<void()>> m_tasks;
    std::size_t m_queueLimit;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

// The number of threads that keeps every core of the machine busy, at most `tasks`.
std::size_t threadsFor(std::size_t tasks);

// Runs produce(i) -> Result for i = 0 .. count - 1 on a worker pool and hands each result to
// consume(i, Result&) on the calling thread, in the order of i, as soon as it and every earlier
// one are done: only the results of the tasks under way and of those finished ahead of an earlier
// one are held at a time. The first exception thrown by produce or consume ends the run (the tasks
// not yet started are dropped) and is thrown again here.
template <class Result, class Produce, class Consume>
void forEachInOrder(std::size_t count, const Produce& produce, const Consume& consume) {
    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::optional<Result>> results(count);
    std::exception_ptr failure;
    bool stopping = false;
    std::size_t next = 0;
    const auto run = [&](std::size_t i) {
        try {
            if (std::lock_guard lock(mutex); stopping)
                return;
            Result result = produce(i);
            std::lock_guard lock(mutex);
            results[i] = std::move(result);
        } catch (...) {
            std::lock_guard lock(mutex);
            failure = failure ? failure : std::current_exception();
            stopping = true;
        }
        done.notify_all();
    };
    // Hands over the results that are ready in order; with `Wait::Yes`, waits for each.
    enum class Wait { No, Yes };
    const auto consumeReady = [&](Wait wait) {
        while (next < count) {
            std::unique_lock lock(mutex);
            if (wait == Wait::Yes)
                done.wait(lock, [&] { return results[next].has_value() || failure; });
            if (failure)
                std::rethrow_exception(failure);
            if (!results[next])
                return;
            Result result = std::move(*results[next]);
            results[next++].reset();
            lock.unlock();
            consume(next - 1, result);
        }
    };
    const std::size_t threads = threadsFor(count);
    WorkerPool pool(threads, threads);
    try {
        for (std::size_t i = 0; i < count; ++i) {
            pool.submit([&run, i] { run(i); });
            consumeReady(Wait::No);
        }
        consumeReady(Wait::Yes);
    } catch (...) {
        std::lock_guard lock(mutex);
        stopping = true; // the tasks still queued return at once
        throw;
    }
}

} // namespace kalvex::dxftool
