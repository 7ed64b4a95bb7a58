// Threads kept for the length of one job and woken for each of its parallel steps: starting
// threads for every step of a job made of many short steps costs as much as the steps. Waiting
// threads sleep; they do not spin, which on a busy machine would take the processor from the
// threads that have work.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CWorkerThreads
{
public:
    // threads counts the calling thread; fewer than 2 runs everything on the caller.
    explicit CWorkerThreads(int threads);
    ~CWorkerThreads();
    CWorkerThreads(const CWorkerThreads&) = delete;
    CWorkerThreads& operator=(const CWorkerThreads&) = delete;

    int Count() const { return static_cast<int>(m_Threads.size()) + 1; }
    // Calls work(t) once for every t in 0..Count()-1, t = 0 on the calling thread, and returns
    // when all calls have returned. Work must not throw.
    void Run(const std::function<void(int)>& work);

private:
    void Serve(int index);

    std::vector<std::thread> m_Threads;
    std::mutex m_Mutex;
    std::condition_variable m_Start, m_Done;
    const std::function<void(int)>* m_pWork = nullptr;
    std::uint64_t m_Step = 0; // counts the calls of Run, so a woken thread knows it has work
    int m_Busy = 0;
    bool m_Stop = false;
};
