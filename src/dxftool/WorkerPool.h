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
// The results of the tasks of forEachInOrder, handed over in order.
template <class Result> class ResultsInOrder {
public:
    explicit ResultsInOrder(std::size_t count) : m_results(count) {}

    // Runs one task and keeps its result, or its failure; after a failure, runs nothing more.
    template <class Produce> void run(std::size_t i, const Produce& produce) {
        try {
            if (std::lock_guard lock(m_mutex); m_stopping)
                return;
            Result result = produce(i);
            std::lock_guard lock(m_mutex);
            m_results[i] = std::move(result);
        } catch (...) {
            std::lock_guard lock(m_mutex);
            m_failure = m_failure ? m_failure : std::current_exception();
            m_stopping = true;
        }
        m_done.notify_all();
    }

    enum class Wait { No, Yes };
    // Hands the results that are ready to `consume` in order; with Wait::Yes, waits for each.
    template <class Consume> void consumeReady(Wait wait, const Consume& consume) {
        while (m_next < m_results.size()) {
            std::unique_lock lock(m_mutex);
            if (wait == Wait::Yes)
                m_done.wait(lock, [&] { return m_results[m_next].has_value() || m_failure; });
            if (m_failure)
                std::rethrow_exception(m_failure);
            if (!m_results[m_next])
                return;
            Result result = std::move(*m_results[m_next]);
            m_results[m_next].reset();
            lock.unlock();
            consume(m_next++, result);
        }
    }

    void stop() {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<std::optional<Result>> m_results;
    std::exception_ptr m_failure;
    bool m_stopping = false;
    std::size_t m_next = 0;
};

template <class Result, class Produce, class Consume>
void forEachInOrder(std::size_t count, const Produce& produce, const Consume& consume) {
    using Wait = typename ResultsInOrder<Result>::Wait;
    ResultsInOrder<Result> results(count);
    const std::size_t threads = threadsFor(count);
    WorkerPool pool(threads, threads);
    try {
        for (std::size_t i = 0; i < count; ++i) {
            pool.submit([&, i] { results.run(i, produce); });
            results.consumeReady(Wait::No, consume);
        }
        results.consumeReady(Wait::Yes, consume);
    } catch (...) {
        results.stop(); // the tasks still queued return at once
        throw;
    }
}

} // namespace kalvex::dxftool
