// Three doubles: positions and extents in cm, directions, and colours (red, green, blue, 0..1).
#pragma once
#include <algorithm>
#include <cmath>

class CVector
{
public:
    CVector() = default;
    CVector(double x, double y, double z) : x(x), y(y), z(z) {}
    CVector(const CVector&) = default;
    CVector& operator=(const CVector&) = default;
    virtual ~CVector() = default;

    double Length() const { return std::sqrt(x * x + y * y + z * z); }
    CVector operator+(const CVector& o) const { return {x + o.x, y + o.y, z + o.z}; }
    CVector operator-(const CVector& o) const { return {x - o.x, y - o.y, z - o.z}; }
    CVector operator*(double f) const { return {x * f, y * f, z * f}; }
    CVector operator/(double f) const { return {x / f, y / f, z / f}; }
    bool operator==(const CVector& o) const { return x == o.x && y == o.y && z == o.z; }

    static CVector Min(const CVector& a, const CVector& b)
    {
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
    }
    static CVector Max(const CVector& a, const CVector& b)
    {
        return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
    }
    static double Dot(const CVector& a, const CVector& b)
    {
        return a.x * b.x + a.y * b.y + a.z * b.z;
    }
    static CVector Cross(const CVector& a, const CVector& b)
    {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }

    double x = 0, y = 0, z = 0;
};
