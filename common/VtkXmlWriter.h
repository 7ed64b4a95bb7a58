// A writer of VTK XML files (ImageData ".vti", RectilinearGrid ".vtr" and PolyData ".vtp") that
// ParaView and VisIt read.
// Arrays are not held by the writer: each names its type and size and a producer that streams
// its values, so a large grid is written without a second copy of it in memory. By default the
// values go raw into one appended block (little-endian, UInt64 byte counts); ASCII on request.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class EVtkEncoding
{
    AppendedRaw,
    Ascii,
};

enum class EVtkScalar
{
    Int32,
    Int64,
    Float64,
    String, // one text per tuple; always written as ASCII character codes (small tables)
};

// Receives the values of one array in file order (x fastest for image cells). A value of another
// type than the array's is a programming error and fails the write.
class CVtkSink
{
public:
    virtual ~CVtkSink() = default;
    virtual void Put(const double* values, std::size_t count) = 0;
    virtual void Put(const std::int32_t* values, std::size_t count) = 0;
    virtual void Put(const std::int64_t* values, std::size_t count) = 0;
    virtual void Put(const std::string& text) = 0;
    void Put(double value) { Put(&value, 1); }
    void Put(std::int32_t value) { Put(&value, 1); }
    void Put(std::int64_t value) { Put(&value, 1); }
};

struct CVtkArray
{
    std::string m_Name;
    EVtkScalar m_Type = EVtkScalar::Float64;
    int m_Components = 1;
    std::uint64_t m_Tuples = 0;
    std::function<void(CVtkSink&)> m_Produce;

    std::uint64_t ValueCount() const { return m_Tuples * std::uint64_t(m_Components); }
};

struct CVtkAttributes
{
    std::vector<CVtkArray> m_PointData, m_CellData, m_FieldData;
};

// Cells of nx * ny * nz voxels; a point is origin + direction * (index * spacing).
struct CVtkImageData : CVtkAttributes
{
    std::int64_t m_Cells[3] = {0, 0, 0};
    double m_Origin[3] = {0, 0, 0};
    double m_Spacing[3] = {1, 1, 1};
    double m_Direction[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}; // row-major
};

// Cells between the given coordinates along each axis (n + 1 ascending values for n cells): a
// grid of uneven bins.
struct CVtkRectilinearGrid : CVtkAttributes
{
    std::vector<double> m_Coordinates[3];
};

// Points and one kind of cell, each cell a run of consecutive points: vertices take one point
// each, polylines as many as their offsets say.
struct CVtkPolyData : CVtkAttributes
{
    enum class ECells
    {
        Verts,
        Lines,
    };
    ECells m_CellKind = ECells::Verts;
    CVtkArray m_Points;      // Float64, 3 components
    CVtkArray m_CellOffsets; // Int64, one tuple per cell: the end of the cell in the point list
};

class CVtkXmlWriter
{
public:
    explicit CVtkXmlWriter(EVtkEncoding encoding = EVtkEncoding::AppendedRaw) : m_Encoding(encoding)
    {
    }

    // Write into a temporary file beside path and replace path only when everything was
    // written, so a failed export never destroys an earlier file. False with a reason in error
    // (the file named) when the file cannot be written or a producer did not deliver the values
    // its array declared.
    bool Write(const std::string& path, const CVtkImageData& image, std::string& error) const;
    bool Write(const std::string& path, const CVtkPolyData& poly, std::string& error) const;
    bool Write(const std::string& path, const CVtkRectilinearGrid& grid, std::string& error) const;

    // Offsets of vertex cells (1, 2, ..., count) for a cloud of count points.
    static CVtkArray VertexOffsets(std::uint64_t count);

private:
    EVtkEncoding m_Encoding;
};

// Text made safe for an XML attribute value.
std::string XmlEscape(const std::string& text);
