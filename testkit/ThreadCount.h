// The OpenMP thread count for the length of a test, restored when it ends.
#pragma once
#include <omp.h>

namespace testkit
{
class CThreadCount
{
public:
    explicit CThreadCount(int threads) : m_Old(omp_get_max_threads())
    {
        omp_set_num_threads(threads);
    }
    ~CThreadCount() { omp_set_num_threads(m_Old); }

private:
    int m_Old;
};
} // namespace testkit
