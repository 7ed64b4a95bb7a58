#include "volume/model/Matrix.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

namespace volumira3d
{
namespace
{
double g_Scratch = 0;
} // namespace

void ReportAssertion(const char* condition)
{
    std::fprintf(stderr, "Volumira3D: assertion failed: %s\n", condition);
}

CMatrix::CMatrix()
{
    LinkElements();
    SetIdentity();
}

CMatrix::CMatrix(const CMatrix& other)
{
    std::copy(std::begin(other.m_Elements), std::end(other.m_Elements), m_Elements);
    LinkElements();
}

CMatrix& CMatrix::operator=(const CMatrix& other)
{
    if (this == &other) return *this; // std::copy may not copy a range onto itself
    std::copy(std::begin(other.m_Elements), std::end(other.m_Elements), m_Elements);
    return *this;
}

void CMatrix::LinkElements()
{
    for (int i = 0; i < 16; ++i)
        m_pElements[i] = &m_Elements[i];
}

void CMatrix::SetIdentity()
{
    for (int i = 0; i < 16; ++i)
        *m_pElements[i] = i % 5 == 0 ? 1.0 : 0.0;
}

double& CMatrix::operator()(int Row, int Col)
{
    if (Row < 0 || Col < 0 || !(Row < 4 && Col < 4))
    {
        ReportAssertion("Row < 4 && Col < 4");
        return g_Scratch = 0;
    }
    return *m_pElements[Row * 4 + Col];
}

double CMatrix::operator()(int Row, int Col) const
{
    return const_cast<CMatrix&>(*this)(Row, Col);
}

double CMatrix::Determinant() const
{
    const CMatrix& m = *this;
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) -
           m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
           m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

double CMatrix::Trace() const
{
    const CMatrix& m = *this;
    return m(0, 0) + m(1, 1) + m(2, 2);
}

void CMatrix::Transpose()
{
    for (int row = 0; row < 4; ++row)
        for (int col = row + 1; col < 4; ++col)
            std::swap(*m_pElements[row * 4 + col], *m_pElements[col * 4 + row]);
}

CMatrix2D::CMatrix2D()
{
    LinkElements();
    SetIdentity();
}

CMatrix2D::CMatrix2D(const CMatrix2D& other)
{
    std::copy(std::begin(other.m_Elements), std::end(other.m_Elements), m_Elements);
    LinkElements();
}

CMatrix2D& CMatrix2D::operator=(const CMatrix2D& other)
{
    if (this == &other) return *this; // std::copy may not copy a range onto itself
    std::copy(std::begin(other.m_Elements), std::end(other.m_Elements), m_Elements);
    return *this;
}

void CMatrix2D::LinkElements()
{
    for (int i = 0; i < 9; ++i)
        m_pElements[i] = &m_Elements[i];
}

void CMatrix2D::SetIdentity()
{
    for (int i = 0; i < 9; ++i)
        *m_pElements[i] = i % 4 == 0 ? 1.0 : 0.0;
}

double& CMatrix2D::operator()(int Row, int Col)
{
    if (Row < 0 || Col < 0 || !(Row < 3 && Col < 3))
    {
        ReportAssertion("Row < 3 && Col < 3");
        return g_Scratch = 0;
    }
    return *m_pElements[Row * 3 + Col];
}

double CMatrix2D::operator()(int Row, int Col) const
{
    return const_cast<CMatrix2D&>(*this)(Row, Col);
}
} // namespace volumira3d
