// The transformation applied before the volume is drawn: a point p (a row vector, relative to the
// grid origin) is drawn at p · R + T, with R = Rx · Ry · Rz and the angles in degrees. It is kept
// as a 4 x 4 matrix in the row-vector convention: R in the upper-left block, T in row 3, so that
// its elements in row order are what glMultMatrixd expects.
#pragma once
#include "common/Vector.h"
#include "volume/model/Matrix.h"

namespace volumira3d
{
CMatrix MakeTransform(const double translation[3], const double anglesDeg[3]);
// The angles (degrees, each in -180 .. 180) that give the rotation block back; at a right angle
// about Y the Z angle is taken as 0.
void RecoverAngles(const CMatrix& m, double anglesDeg[3]);
void RecoverTranslation(const CMatrix& m, double translation[3]);
CVector Apply(const CMatrix& m, const CVector& p);
// The 16 elements in row order.
void RowMajor(const CMatrix& m, double out[16]);
} // namespace volumira3d
