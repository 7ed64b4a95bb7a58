#include "common/WorkerThreads.h"

CWorkerThreads::CWorkerThreads(int threads)
{
    for (int t = 1; t < threads; ++t)
        m_Threads.emplace_back(&CWorkerThreads::Serve, this, t);
}

CWorkerThreads::~CWorkerThreads()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stop = true;
    }
    m_Start.notify_all();
    for (std::thread& thread : m_Threads)
        thread.join();
}

void CWorkerThreads::Run(const std::function<void(int)>& work)
{
    if (m_Threads.empty()) return work(0);
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_pWork = &work;
        m_Busy = static_cast<int>(m_Threads.size());
        ++m_Step;
    }
    m_Start.notify_all();
    work(0);
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Done.wait(lock, [this] { return m_Busy == 0; });
    m_pWork = nullptr;
}

void CWorkerThreads::Serve(int index)
{
    std::uint64_t done = 0;
    for (;;)
    {
        const std::function<void(int)>* work = nullptr;
        {
            std::unique_lock<std::mutex> lock(m_Mutex);
            m_Start.wait(lock, [&] { return m_Stop || m_Step != done; });
            if (m_Stop) return;
            done = m_Step;
            work = m_pWork;
        }
        (*work)(index);
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (--m_Busy == 0) m_Done.notify_one();
    }
}
