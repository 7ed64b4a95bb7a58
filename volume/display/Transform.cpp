#include "volume/display/Transform.h"

#include <algorithm>
#include <cmath>

namespace volumira3d
{
namespace
{
constexpr double DegToRad = 3.14159265358979323846 / 180.0;

CMatrix Rotation(int axis, double deg)
{
    const double c = std::cos(deg * DegToRad), s = std::sin(deg * DegToRad);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    CMatrix r;
    r(a, a) = c;
    r(b, b) = c;
    // Rows (c, s) / (-s, c) in the plane of the other two axes, taken in cyclic order; about Y
    // that order (z, x) puts -s at row x as the rotation about Y has it.
    r(a, b) = s;
    r(b, a) = -s;
    return r;
}

CMatrix Multiply3(const CMatrix& l, const CMatrix& r)
{
    CMatrix m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
        {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += l(i, k) * r(k, j);
            m(i, j) = sum;
        }
    return m;
}
} // namespace

CMatrix MakeTransform(const double translation[3], const double anglesDeg[3])
{
    CMatrix m = Multiply3(Multiply3(Rotation(0, anglesDeg[0]), Rotation(1, anglesDeg[1])),
                          Rotation(2, anglesDeg[2]));
    for (int a = 0; a < 3; ++a)
        m(3, a) = translation[a];
    return m;
}

void RecoverAngles(const CMatrix& m, double anglesDeg[3])
{
    const double sy = std::clamp(-m(0, 2), -1.0, 1.0);
    const double y = std::asin(sy);
    double x = 0, z = 0;
    if (std::abs(std::cos(y)) > 1e-9)
    {
        x = std::atan2(m(1, 2), m(2, 2));
        z = std::atan2(m(0, 1), m(0, 0));
    }
    else
        x = std::atan2(m(1, 0) * sy, m(1, 1));
    anglesDeg[0] = x / DegToRad;
    anglesDeg[1] = y / DegToRad;
    anglesDeg[2] = z / DegToRad;
}

void RecoverTranslation(const CMatrix& m, double translation[3])
{
    for (int a = 0; a < 3; ++a)
        translation[a] = m(3, a);
}

CVector Apply(const CMatrix& m, const CVector& p)
{
    const double v[3] = {p.x, p.y, p.z};
    double out[3];
    for (int j = 0; j < 3; ++j)
        out[j] = v[0] * m(0, j) + v[1] * m(1, j) + v[2] * m(2, j) + m(3, j);
    return CVector(out[0], out[1], out[2]);
}

void RowMajor(const CMatrix& m, double out[16])
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i * 4 + j] = m(i, j);
}
} // namespace volumira3d
