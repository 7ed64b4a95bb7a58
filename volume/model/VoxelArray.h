// The values of a voxel grid in one block, addressed [ix][iy][iz] like nested arrays but stored x
// fastest, then y, then z: the order of FLUKA's files and of VTK images, so loading and exporting
// stream through memory. One allocation per grid, zeroed by the system where it can.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace volumira3d
{
// What a new array holds: zeros, or whatever the memory held, for a loader that writes every
// value before anything reads one (it saves writing the whole grid twice).
enum class EVoxelStart
{
    Zeros,
    Unset,
};

// One z-column of a grid: its values lie a whole xy-layer apart.
template <class T> class TVoxelColumn
{
public:
    TVoxelColumn(T* first, std::size_t stride, std::size_t size)
        : m_pFirst(first), m_Stride(stride), m_Size(size)
    {
    }
    T& operator[](std::size_t iz) const { return m_pFirst[iz * m_Stride]; }
    std::size_t size() const { return m_Size; }

private:
    T* m_pFirst;
    std::size_t m_Stride;
    std::size_t m_Size;
};

// The NY z-columns of one x index.
template <class T> class TVoxelPlane
{
public:
    TVoxelPlane(T* first, std::size_t nx, std::size_t ny, std::size_t nz)
        : m_pFirst(first), m_NX(nx), m_NY(ny), m_NZ(nz)
    {
    }
    TVoxelColumn<T> operator[](std::size_t iy) const
    {
        return {m_pFirst + iy * m_NX, m_NX * m_NY, m_NZ};
    }
    std::size_t size() const { return m_NY; }

private:
    T* m_pFirst;
    std::size_t m_NX, m_NY, m_NZ;
};

using VoxelColumn = TVoxelColumn<double>;
using ConstVoxelColumn = TVoxelColumn<const double>;
using VoxelPlane = TVoxelPlane<double>;
using ConstVoxelPlane = TVoxelPlane<const double>;

class CVoxelArray
{
public:
    CVoxelArray() = default;
    CVoxelArray(const CVoxelArray& other);
    CVoxelArray& operator=(const CVoxelArray& other);
    CVoxelArray(CVoxelArray&& other) noexcept { swap(other); }
    CVoxelArray& operator=(CVoxelArray&& other) noexcept;

    // nx x ny x nz values, zeros unless start says otherwise; throws std::bad_alloc when the memory
    // is not there.
    CVoxelArray(std::size_t nx, std::size_t ny, std::size_t nz,
                EVoxelStart start = EVoxelStart::Zeros);

    VoxelPlane operator[](std::size_t ix) { return {m_Values.get() + ix, m_NX, m_NY, m_NZ}; }
    ConstVoxelPlane operator[](std::size_t ix) const
    {
        return {m_Values.get() + ix, m_NX, m_NY, m_NZ};
    }
    // The number of x indices, as the outer level of nested arrays would say.
    std::size_t size() const { return m_NX; }
    bool empty() const { return m_NX == 0; }
    std::size_t Count() const { return m_NX * m_NY * m_NZ; }
    // The values in storage order: ix + nx * (iy + ny * iz).
    double* data() { return m_Values.get(); }
    const double* data() const { return m_Values.get(); }
    std::size_t Index(std::size_t ix, std::size_t iy, std::size_t iz) const
    {
        return ix + m_NX * (iy + m_NY * iz);
    }

    void swap(CVoxelArray& other) noexcept;
    bool operator==(const CVoxelArray& other) const;

private:
    struct CFree
    {
        void operator()(double* p) const { std::free(p); }
    };
    std::unique_ptr<double, CFree> m_Values;
    std::size_t m_NX = 0, m_NY = 0, m_NZ = 0;
};
using VoxelArray = CVoxelArray;
} // namespace volumira3d
