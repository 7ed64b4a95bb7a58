// Small matrices of the display side: 4 x 4 (transformations) and 3 x 3, both starting as the
// identity. Elements are reached through a table of pointers; an index outside the matrix is a
// programming error, reported by its condition ("Row < 4 && Col < 4"), and reaches a scratch
// element instead of memory outside the matrix.
#pragma once

namespace volumira3d
{
class CMatrix
{
public:
    CMatrix();
    CMatrix(const CMatrix& other);
    CMatrix& operator=(const CMatrix& other);
    virtual ~CMatrix() = default;

    // Determinant and trace of the upper-left 3 x 3 block.
    virtual double Determinant() const;
    virtual double Trace() const;
    // Swaps rows and columns.
    virtual void Transpose();
    virtual void SetIdentity();

    double& operator()(int Row, int Col);
    double operator()(int Row, int Col) const;

private:
    void LinkElements();

    double m_Elements[16];
    double* m_pElements[16];
};

class CMatrix2D
{
public:
    CMatrix2D();
    CMatrix2D(const CMatrix2D& other);
    CMatrix2D& operator=(const CMatrix2D& other);
    virtual ~CMatrix2D() = default;

    virtual void SetIdentity();

    double& operator()(int Row, int Col);
    double operator()(int Row, int Col) const;

private:
    void LinkElements();

    double m_Elements[9];
    double* m_pElements[9];
};

// Reports a failed condition of a programming error on the standard error stream.
void ReportAssertion(const char* condition);
} // namespace volumira3d
