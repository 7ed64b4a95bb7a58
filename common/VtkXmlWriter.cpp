#include "common/VtkXmlWriter.h"

#include "platform/SafeWrite.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
constexpr std::size_t FileBuffer = 1 << 20;
constexpr int AsciiPerLine = 8;

std::size_t ScalarBytes(EVtkScalar type)
{
    return type == EVtkScalar::Int32 ? 4 : type == EVtkScalar::String ? 1 : 8;
}

const char* ScalarName(EVtkScalar type)
{
    switch (type)
    {
    case EVtkScalar::Int32:
        return "Int32";
    case EVtkScalar::Int64:
        return "Int64";
    case EVtkScalar::Float64:
        return "Float64";
    case EVtkScalar::String:
        return "String";
    }
    return "?";
}

template <class T> T LittleEndian(T value)
{
    if constexpr (std::endian::native == std::endian::big)
    {
        auto* b = reinterpret_cast<unsigned char*>(&value);
        std::reverse(b, b + sizeof value);
    }
    return value;
}

template <class T> std::string Number(T value)
{
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value); // shortest exact form
    return std::string(buf, ec == std::errc() ? end : buf);
}

template <class T> std::string Numbers(const T* values, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
    {
        if (i) out += ' ';
        out += Number(values[i]);
    }
    return out;
}

// The output file with a large buffer of its own; remembers the first failure.
class COutput
{
public:
    ~COutput()
    {
        if (m_pFile) std::fclose(m_pFile);
    }
    bool Open(const std::string& path)
    {
        m_pFile = std::fopen(path.c_str(), "wb");
        if (!m_pFile)
        {
            m_Errno = errno;
            return false;
        }
        m_Buffer = std::make_unique<char[]>(FileBuffer);
        std::setvbuf(m_pFile, m_Buffer.get(), _IOFBF, FileBuffer);
        return true;
    }
    void Text(const std::string& text) { Bytes(text.data(), text.size()); }
    void Bytes(const void* data, std::size_t size)
    {
        if (m_Errno || size == 0) return;
        if (std::fwrite(data, 1, size, m_pFile) != size) m_Errno = errno ? errno : EIO;
    }
    // Flushes and closes; the error number of the first failure, or 0.
    int Close()
    {
        if (!m_Errno && std::fflush(m_pFile) != 0) m_Errno = errno ? errno : EIO;
        if (std::fclose(m_pFile) != 0 && !m_Errno) m_Errno = errno ? errno : EIO;
        m_pFile = nullptr;
        return m_Errno;
    }
    int Errno() const { return m_Errno; }

private:
    std::FILE* m_pFile = nullptr;
    std::unique_ptr<char[]> m_Buffer;
    int m_Errno = 0;
};

// Writes the values one producer delivers, raw or as text, and checks them against the array's
// declaration.
class CArraySink : public CVtkSink
{
public:
    CArraySink(COutput& out, const CVtkArray& array, bool ascii)
        : m_Out(out), m_Array(array), m_Ascii(ascii)
    {
    }
    void Put(const double* values, std::size_t count) override
    {
        Values(EVtkScalar::Float64, values, count);
    }
    void Put(const std::int32_t* values, std::size_t count) override
    {
        Values(EVtkScalar::Int32, values, count);
    }
    void Put(const std::int64_t* values, std::size_t count) override
    {
        Values(EVtkScalar::Int64, values, count);
    }
    void Put(const std::string& text) override
    {
        if (!Accept(EVtkScalar::String, 1)) return;
        for (unsigned char c : text)
            AsciiValue(std::to_string(int(c)));
        AsciiValue("0");
    }
    // False with the reason when the values did not match the declaration.
    bool Finish(std::string& error) const
    {
        if (m_WrongType)
            error = "array \"" + m_Array.m_Name + "\" was given values of another type";
        else if (m_Count != m_Array.ValueCount())
            error = "array \"" + m_Array.m_Name + "\" got " + std::to_string(m_Count) +
                    " values where " + std::to_string(m_Array.ValueCount()) + " were declared";
        else
            return true;
        return false;
    }

private:
    bool Accept(EVtkScalar type, std::size_t count)
    {
        if (type != m_Array.m_Type) m_WrongType = true;
        if (m_WrongType || m_Count + count > m_Array.ValueCount())
        {
            m_Count += count; // reported by Finish; nothing past the declared size is written
            return false;
        }
        m_Count += count;
        return true;
    }
    template <class T> void Values(EVtkScalar type, const T* values, std::size_t count)
    {
        if (!Accept(type, count)) return;
        if (!m_Ascii)
            Raw(values, count);
        else
            for (std::size_t i = 0; i < count; ++i)
                AsciiValue(Number(values[i]));
    }
    template <class T> void Raw(const T* values, std::size_t count)
    {
        if constexpr (std::endian::native == std::endian::little)
            m_Out.Bytes(values, count * sizeof(T));
        else
            for (std::size_t i = 0; i < count; ++i)
            {
                const T v = LittleEndian(values[i]);
                m_Out.Bytes(&v, sizeof v);
            }
    }
    void AsciiValue(const std::string& text)
    {
        m_Out.Text(m_OnLine == 0 ? "\n          " : " ");
        m_Out.Text(text);
        m_OnLine = (m_OnLine + 1) % AsciiPerLine;
    }

    COutput& m_Out;
    const CVtkArray& m_Array;
    bool m_Ascii;
    std::uint64_t m_Count = 0;
    int m_OnLine = 0;
    bool m_WrongType = false;
};

// One document being written: the XML part with its array tags, then the appended block that
// holds the values of every array not written inline.
class CDocument
{
public:
    CDocument(COutput& out, EVtkEncoding encoding) : m_Out(out), m_Encoding(encoding) {}

    void Line(int indent, const std::string& text)
    {
        m_Out.Text(std::string(std::size_t(indent) * 2, ' ') + text + "\n");
    }
    void Array(int indent, const CVtkArray& array, const std::string& extra = {})
    {
        const bool ascii = m_Encoding == EVtkEncoding::Ascii || array.m_Type == EVtkScalar::String;
        std::string tag =
            std::string(array.m_Type == EVtkScalar::String ? "<Array" : "<DataArray") + " type=\"" +
            ScalarName(array.m_Type) + "\" Name=\"" + XmlEscape(array.m_Name) + "\"";
        if (array.m_Components != 1)
            tag += " NumberOfComponents=\"" + std::to_string(array.m_Components) + "\"";
        tag += extra;
        if (!ascii)
        {
            Line(indent,
                 tag + " format=\"appended\" offset=\"" + std::to_string(m_Offset) + "\"/>");
            m_Offset += sizeof(std::uint64_t) + array.ValueCount() * ScalarBytes(array.m_Type);
            m_Appended.push_back(&array);
            return;
        }
        m_Out.Text(std::string(std::size_t(indent) * 2, ' ') + tag + " format=\"ascii\">");
        Produce(array, true);
        m_Out.Text("\n");
        Line(indent, array.m_Type == EVtkScalar::String ? "</Array>" : "</DataArray>");
    }
    void Attributes(int indent, const char* element, const std::vector<CVtkArray>& arrays,
                    const char* activeKey = nullptr)
    {
        std::string open = std::string("<") + element;
        if (activeKey && !arrays.empty())
            open += std::string(" ") + activeKey + "=\"" + XmlEscape(arrays[0].m_Name) + "\"";
        Line(indent, open + ">");
        for (const CVtkArray& array : arrays)
            Array(indent + 1, array);
        Line(indent, std::string("</") + element + ">");
    }
    void FieldData(int indent, const std::vector<CVtkArray>& arrays)
    {
        if (arrays.empty()) return;
        Line(indent, "<FieldData>");
        for (const CVtkArray& array : arrays)
            Array(indent + 1, array, " NumberOfTuples=\"" + std::to_string(array.m_Tuples) + "\"");
        Line(indent, "</FieldData>");
    }
    void AppendedBlock()
    {
        if (m_Appended.empty()) return;
        m_Out.Text("  <AppendedData encoding=\"raw\">\n   _");
        for (const CVtkArray* array : m_Appended)
        {
            const std::uint64_t bytes =
                LittleEndian(array->ValueCount() * ScalarBytes(array->m_Type));
            m_Out.Bytes(&bytes, sizeof bytes);
            Produce(*array, false);
        }
        m_Out.Text("\n  </AppendedData>\n");
    }
    // Checks a declared size against what the piece says; the first mismatch is kept.
    void Expect(const std::vector<CVtkArray>& arrays, std::uint64_t tuples, const char* what)
    {
        for (const CVtkArray& array : arrays)
            if (array.m_Tuples != tuples && m_Error.empty())
                m_Error = "array \"" + array.m_Name + "\" has " + std::to_string(array.m_Tuples) +
                          " tuples for " + std::to_string(tuples) + " " + what;
    }
    const std::string& Error() const { return m_Error; }

private:
    void Produce(const CVtkArray& array, bool ascii)
    {
        CArraySink sink(m_Out, array, ascii);
        if (array.m_Produce) array.m_Produce(sink);
        std::string error;
        if (!sink.Finish(error) && m_Error.empty()) m_Error = error;
    }

    COutput& m_Out;
    EVtkEncoding m_Encoding;
    std::uint64_t m_Offset = 0;
    std::vector<const CVtkArray*> m_Appended;
    std::string m_Error;
};

std::string Header(const char* type)
{
    return std::string("<?xml version=\"1.0\"?>\n<VTKFile type=\"") + type +
           "\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">";
}

// Writes through a temporary file that replaces path only after a complete write.
bool WriteFile(const std::string& path, EVtkEncoding encoding,
               const std::function<void(CDocument&)>& body, std::string& error)
{
    const std::string temp = PartName(path);
    COutput out;
    if (!out.Open(temp)) return AbandonFile(temp, path, std::strerror(out.Errno()), error);
    CDocument doc(out, encoding);
    body(doc);
    const int failure = out.Close();
    if (failure) return AbandonFile(temp, path, std::strerror(failure), error);
    if (!doc.Error().empty()) return AbandonFile(temp, path, doc.Error(), error);
    return CommitFile(temp, path, error);
}
} // namespace

std::string XmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text)
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "&#10;";
            break;
        default:
            out += c;
        }
    return out;
}

bool CVtkXmlWriter::Write(const std::string& path, const CVtkImageData& image,
                          std::string& error) const
{
    const std::int64_t* n = image.m_Cells;
    if (n[0] < 1 || n[1] < 1 || n[2] < 1)
    {
        error = "Cannot write " + path + ": the grid holds no cells";
        return false;
    }
    return WriteFile(
        path, m_Encoding,
        [&](CDocument& doc)
        {
            const std::uint64_t cells = std::uint64_t(n[0]) * n[1] * n[2];
            doc.Expect(image.m_CellData, cells, "cells");
            doc.Expect(image.m_PointData, std::uint64_t(n[0] + 1) * (n[1] + 1) * (n[2] + 1),
                       "points");
            const std::string extent =
                "0 " + Number(n[0]) + " 0 " + Number(n[1]) + " 0 " + Number(n[2]);
            doc.Line(0, Header("ImageData"));
            doc.Line(1, "<ImageData WholeExtent=\"" + extent + "\" Origin=\"" +
                            Numbers(image.m_Origin, 3) + "\" Spacing=\"" +
                            Numbers(image.m_Spacing, 3) + "\" Direction=\"" +
                            Numbers(image.m_Direction, 9) + "\">");
            doc.FieldData(2, image.m_FieldData);
            doc.Line(2, "<Piece Extent=\"" + extent + "\">");
            doc.Attributes(3, "PointData", image.m_PointData, "Scalars");
            doc.Attributes(3, "CellData", image.m_CellData, "Scalars");
            doc.Line(2, "</Piece>");
            doc.Line(1, "</ImageData>");
            doc.AppendedBlock();
            doc.Line(0, "</VTKFile>");
        },
        error);
}

bool CVtkXmlWriter::Write(const std::string& path, const CVtkRectilinearGrid& grid,
                          std::string& error) const
{
    std::int64_t n[3];
    std::vector<CVtkArray> coordinates;
    for (int a = 0; a < 3; ++a)
    {
        const std::vector<double>& c = grid.m_Coordinates[a];
        n[a] = static_cast<std::int64_t>(c.size()) - 1;
        if (n[a] < 1)
        {
            error = "Cannot write " + path + ": the grid holds no cells";
            return false;
        }
        coordinates.push_back({std::string(1, "xyz"[a]), EVtkScalar::Float64, 1, c.size(),
                               [&c](CVtkSink& sink) { sink.Put(c.data(), c.size()); }});
    }
    return WriteFile(
        path, m_Encoding,
        [&](CDocument& doc)
        {
            doc.Expect(grid.m_CellData, std::uint64_t(n[0]) * n[1] * n[2], "cells");
            doc.Expect(grid.m_PointData, std::uint64_t(n[0] + 1) * (n[1] + 1) * (n[2] + 1),
                       "points");
            const std::string extent =
                "0 " + Number(n[0]) + " 0 " + Number(n[1]) + " 0 " + Number(n[2]);
            doc.Line(0, Header("RectilinearGrid"));
            doc.Line(1, "<RectilinearGrid WholeExtent=\"" + extent + "\">");
            doc.FieldData(2, grid.m_FieldData);
            doc.Line(2, "<Piece Extent=\"" + extent + "\">");
            doc.Attributes(3, "PointData", grid.m_PointData, "Scalars");
            doc.Attributes(3, "CellData", grid.m_CellData, "Scalars");
            doc.Attributes(3, "Coordinates", coordinates);
            doc.Line(2, "</Piece>");
            doc.Line(1, "</RectilinearGrid>");
            doc.AppendedBlock();
            doc.Line(0, "</VTKFile>");
        },
        error);
}

bool CVtkXmlWriter::Write(const std::string& path, const CVtkPolyData& poly,
                          std::string& error) const
{
    const bool lines = poly.m_CellKind == CVtkPolyData::ECells::Lines;
    const std::uint64_t points = poly.m_Points.m_Tuples;
    const std::uint64_t cells = poly.m_CellOffsets.m_Tuples;
    // Cells are runs of consecutive points, so the connectivity is the point numbers in order.
    CVtkArray connectivity{"connectivity", EVtkScalar::Int64, 1, points,
                           [points](CVtkSink& sink)
                           {
                               std::int64_t chunk[4096];
                               for (std::uint64_t i = 0; i < points;)
                               {
                                   const std::size_t n = std::min<std::uint64_t>(4096, points - i);
                                   for (std::size_t k = 0; k < n; ++k)
                                       chunk[k] = std::int64_t(i + k);
                                   sink.Put(chunk, n);
                                   i += n;
                               }
                           }};
    CVtkArray offsets = poly.m_CellOffsets;
    offsets.m_Name = "offsets";
    return WriteFile(
        path, m_Encoding,
        [&](CDocument& doc)
        {
            doc.Expect(poly.m_PointData, points, "points");
            doc.Expect(poly.m_CellData, cells, "cells");
            const std::string count = std::to_string(cells);
            doc.Line(0, Header("PolyData"));
            doc.Line(1, "<PolyData>");
            doc.FieldData(2, poly.m_FieldData);
            doc.Line(2, "<Piece NumberOfPoints=\"" + std::to_string(points) +
                            "\" NumberOfVerts=\"" + (lines ? "0" : count) + "\" NumberOfLines=\"" +
                            (lines ? count : "0") + "\" NumberOfStrips=\"0\" NumberOfPolys=\"0\">");
            doc.Attributes(3, "PointData", poly.m_PointData, "Scalars");
            doc.Attributes(3, "CellData", poly.m_CellData, "Scalars");
            doc.Line(3, "<Points>");
            doc.Array(4, poly.m_Points);
            doc.Line(3, "</Points>");
            const char* element = lines ? "Lines" : "Verts";
            doc.Line(3, std::string("<") + element + ">");
            doc.Array(4, connectivity);
            doc.Array(4, offsets);
            doc.Line(3, std::string("</") + element + ">");
            doc.Line(2, "</Piece>");
            doc.Line(1, "</PolyData>");
            doc.AppendedBlock();
            doc.Line(0, "</VTKFile>");
        },
        error);
}

CVtkArray CVtkXmlWriter::VertexOffsets(std::uint64_t count)
{
    return {"offsets", EVtkScalar::Int64, 1, count,
            [count](CVtkSink& sink)
            {
                for (std::uint64_t i = 1; i <= count; ++i)
                    sink.Put(std::int64_t(i));
            }};
}
