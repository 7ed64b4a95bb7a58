#include "volume/model/VoxelArray.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace volumira3d
{
namespace
{
double* Allocate(std::size_t count, EVoxelStart start)
{
    if (count == 0) return nullptr;
    // calloc takes fresh pages from the system without writing them: a grid costs what is
    // filled, not a second pass of zeros.
    void* p = start == EVoxelStart::Zeros ? std::calloc(count, sizeof(double))
                                          : std::malloc(count * sizeof(double));
    if (!p) throw std::bad_alloc();
    return static_cast<double*>(p);
}
} // namespace

CVoxelArray::CVoxelArray(std::size_t nx, std::size_t ny, std::size_t nz, EVoxelStart start)
{
    if (nx == 0 || ny == 0 || nz == 0) return;
    if (ny > SIZE_MAX / sizeof(double) / nx || nz > SIZE_MAX / sizeof(double) / (nx * ny))
        throw std::bad_alloc();
    m_Values.reset(Allocate(nx * ny * nz, start));
    m_NX = nx, m_NY = ny, m_NZ = nz;
}

CVoxelArray::CVoxelArray(const CVoxelArray& other)
    : m_Values(Allocate(other.Count(), EVoxelStart::Unset)), m_NX(other.m_NX), m_NY(other.m_NY),
      m_NZ(other.m_NZ)
{
    if (m_Values) std::memcpy(m_Values.get(), other.data(), Count() * sizeof(double));
}

CVoxelArray& CVoxelArray::operator=(const CVoxelArray& other)
{
    if (this != &other)
    {
        CVoxelArray copy(other);
        swap(copy);
    }
    return *this;
}

CVoxelArray& CVoxelArray::operator=(CVoxelArray&& other) noexcept
{
    CVoxelArray moved;
    moved.swap(other);
    swap(moved);
    return *this;
}

void CVoxelArray::swap(CVoxelArray& other) noexcept
{
    std::swap(m_Values, other.m_Values);
    std::swap(m_NX, other.m_NX);
    std::swap(m_NY, other.m_NY);
    std::swap(m_NZ, other.m_NZ);
}

bool CVoxelArray::operator==(const CVoxelArray& other) const
{
    return m_NX == other.m_NX && m_NY == other.m_NY && m_NZ == other.m_NZ &&
           std::equal(data(), data() + Count(), other.data());
}
} // namespace volumira3d
