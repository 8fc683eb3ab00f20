#include "dxftool/WorkerPool.h"

#include <algorithm>

namespace kalvex::dxftool {

WorkerPool::WorkerPool(std::size_t threads, std::size_t queueLimit)
    : m_queueLimit(std::max<std::size_t>(queueLimit, 1)) {
    for (std::size_t i = 0; i < std::max<std::size_t>(threads, 1); ++i)
        m_threads.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_queued.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void WorkerPool::submit(std::function<void()> task) {
    std::unique_lock lock(m_mutex);
    m_taken.wait(lock, [this] { return m_tasks.size() < m_queueLimit; });
    m_tasks.push_back(std::move(task));
    lock.unlock();
    m_queued.notify_one();
}

void WorkerPool::work() {
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_queued.wait(lock, [this] { return m_closing || !m_tasks.empty(); });
        if (m_tasks.empty())
            return;
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        m_taken.notify_one();
        task();
    }
}

std::size_t threadsFor(std::size_t tasks) {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<std::size_t>(tasks, 1, cores);
}

} // namespace kalvex::dxftool
