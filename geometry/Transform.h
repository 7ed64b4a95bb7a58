// An affine map of space, x -> M x + t: the translations, expansions and rotations that place
// bodies, composed in the order the input nests them.
#pragma once
#include "common/Vector.h"

class CTransform
{
public:
    CTransform() = default;
    static CTransform Translation(const CVector& d);
    static CTransform Expansion(double factor);
    // A rotation about a coordinate axis (0 = x, 1 = y, 2 = z) by the polar angle theta and the
    // azimuthal angle phi (degrees), after a shift by offset, as a ROT-DEFI card defines it.
    static CTransform RotDefi(int axis, double theta, double phi, const CVector& offset);
    // x -> M x + t, M given by rows.
    static CTransform Affine(const double (&m)[3][3], const CVector& t);
    // Local x, y, z along the columns e1, e2, e3, the local origin at origin.
    static CTransform Frame(const CVector& origin, const CVector& e1, const CVector& e2,
                            const CVector& e3);

    CVector Apply(const CVector& p) const;
    // The map that undoes this one (the matrix must be invertible).
    CTransform Inverse() const;
    // This map followed by next.
    CTransform Then(const CTransform& next) const;
    bool IsIdentity() const;
    // No rotation: each axis maps onto itself, kept in its direction.
    bool IsAxisAligned() const;

private:
    double m_M[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double m_T[3] = {0, 0, 0};
};
