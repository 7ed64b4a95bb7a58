#include "volume/formats/FlukaBinaryReader.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace volumira3d
{
namespace
{
// Title, date and time, then the total weight; the number of primaries only in newer headers.
constexpr std::uint32_t MinRunHeader = 116;
// Number, name, type, particle and three axes of four words each.
constexpr std::uint32_t MinBinningHeader = 86;
constexpr char Statistics[] = "STATISTICS";

// The double of the shortest decimal that gives this float: FLUKA's geometry came from decimal
// input, so 0.4 should stay 0.4, not become 0.4000000059604645.
double DecimalOf(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

std::string Trimmed(const unsigned char* p, std::size_t n)
{
    std::string s(reinterpret_cast<const char*>(p), n);
    const auto end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}
} // namespace

const std::string& CFlukaBinaryReader::Error() const
{
    return m_Error.empty() ? m_File.Error() : m_Error;
}

bool CFlukaBinaryReader::Fail(const std::string& text)
{
    m_Error = text;
    return false;
}

bool CFlukaBinaryReader::Open(const std::string& path)
{
    m_Error.clear();
    m_Binnings.clear();
    m_ValueOffsets.clear();
    m_ErrorOffsets.clear();
    m_ErrorsOffset = 0;
    if (!m_File.Open(path) || !ReadRunHeader() || !ReadBinningHeader(m_Header) || !CheckCounts())
        return false;
    std::uint32_t length = 0;
    if (!m_File.BeginRecord(length)) return false;
    m_ValuesOffset = m_File.RecordOffset();
    m_Binnings.push_back(m_Header);
    m_ValueOffsets.push_back(m_ValuesOffset);
    return BeginArray(m_ValuesOffset, "values");
}

bool LooksLikeFlukaBinary(const std::string& path)
{
    CFortranRecordFile file;
    std::uint32_t run = 0, binning = 0;
    return file.Open(path) && file.BeginRecord(run) && run >= MinRunHeader &&
           file.BeginRecord(binning) && binning >= MinBinningHeader;
}

bool CFlukaBinaryReader::ReadRunHeader()
{
    std::uint32_t length = 0;
    if (!m_File.BeginRecord(length)) return false;
    if (length < MinRunHeader)
        return Fail("The first record holds " + std::to_string(length) +
                    " bytes, too few for a FLUKA USRBIN header");
    unsigned char h[120] = {};
    if (!m_File.Read(h, std::min<std::uint32_t>(length, 120))) return false;
    m_Header.m_Title = Trimmed(h, 80);
    const double weight = DecimalOf(LittleFloat32(h + 112));
    if (!std::isfinite(weight) || !(weight > 0))
        return Fail("The total weight in the header is not a positive number");
    m_Header.m_TotalWeight = weight;
    m_Header.m_NrOfParticles = length >= 120 ? LittleInt32(h + 116) : 1;
    return true;
}

bool CFlukaBinaryReader::ReadBinningHeader(CFlukaBinaryHeader& header)
{
    std::uint32_t length = 0;
    if (!m_File.BeginRecord(length)) return false;
    if (length < MinBinningHeader)
        return Fail("The binning record at byte " + std::to_string(m_File.RecordOffset()) +
                    " holds " + std::to_string(length) + " bytes, fewer than a binning header");
    unsigned char b[MinBinningHeader];
    if (!m_File.Read(b, sizeof b)) return false;
    header.m_Number = LittleInt32(b);
    header.m_Name = Trimmed(b + 4, 10);
    header.m_Type = LittleInt32(b + 14);
    header.m_GenParticle = LittleInt32(b + 18);
    for (int a = 0; a < 3; ++a)
    {
        const unsigned char* p = b + 22 + 16 * a;
        CFlukaAxis& axis = header.m_Axis[a];
        axis.m_Min = DecimalOf(LittleFloat32(p));
        axis.m_Max = DecimalOf(LittleFloat32(p + 4));
        axis.m_Bins = LittleInt32(p + 8);
        axis.m_Width = DecimalOf(LittleFloat32(p + 12));
    }
    return true;
}

bool CFlukaBinaryReader::CheckCounts()
{
    static const char* const names[3] = {"first", "second", "third"};
    std::int64_t values = 1;
    for (int a = 0; a < 3; ++a)
    {
        const CFlukaAxis& axis = m_Header.m_Axis[a];
        if (axis.m_Bins < 1)
            return Fail(std::string("The ") + names[a] + " axis of the binning has " +
                        std::to_string(axis.m_Bins) + " bins");
        if (!std::isfinite(axis.m_Min) || !std::isfinite(axis.m_Max) ||
            !std::isfinite(axis.m_Width))
            return Fail(std::string("The ") + names[a] + " axis of the binning is not a number");
        values *= axis.m_Bins; // at most (2^31)^3, which fits
        if (values > std::numeric_limits<std::int32_t>::max())
            return Fail("The binning announces more values than a record can hold");
    }
    m_Values = values;
    return true;
}

bool CFlukaBinaryReader::BeginArray(std::uint64_t offset, const char* what)
{
    m_File.Rewind(offset);
    std::uint32_t length = 0;
    if (!m_File.BeginRecord(length)) return false;
    if (length != 4 * static_cast<std::uint64_t>(m_Values))
        return Fail("The record of " + std::string(what) + " at byte " + std::to_string(offset) +
                    " holds " + std::to_string(length) + " bytes, not the " +
                    std::to_string(4 * m_Values) + " of " + std::to_string(m_Values) + " values");
    return true;
}

bool CFlukaBinaryReader::ReadValues(float* dst, std::size_t n)
{
    static_assert(sizeof(float) == 4);
    if (n > SIZE_MAX / 4 || !m_File.Read(dst, n * 4)) return false;
    // The file is little-endian whatever the machine is.
    if constexpr (std::endian::native != std::endian::little)
    {
        auto* bytes = reinterpret_cast<unsigned char*>(dst);
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = LittleFloat32(bytes + 4 * i);
    }
    return true;
}

const unsigned char* CFlukaBinaryReader::ViewValues(std::size_t n)
{
    // In place only where the file's byte order is the machine's.
    if constexpr (std::endian::native != std::endian::little) return nullptr;
    return n > SIZE_MAX / 4 ? nullptr : m_File.View(n * 4);
}

bool CFlukaBinaryReader::ScanTail()
{
    m_ErrorOffsets.clear();
    m_ErrorsOffset = 0;
    m_Binnings.resize(1);
    m_ValueOffsets.resize(1);
    m_File.Rewind(m_ValueOffsets.front());
    std::uint32_t length = 0;
    if (!m_File.BeginRecord(length)) return false;
    while (!m_File.AtEnd())
    {
        const std::uint64_t at = m_File.NextRecordOffset();
        if (!m_File.BeginRecord(length)) return false;
        char head[sizeof Statistics - 1] = {};
        if (length >= sizeof head && !m_File.Read(head, sizeof head)) return false;
        if (length >= sizeof head && std::memcmp(head, Statistics, sizeof head) == 0)
        {
            // The errors are the records after this one, one per binning.
            while (m_ErrorOffsets.size() < m_Binnings.size() && !m_File.AtEnd())
            {
                if (!m_File.BeginRecord(length)) return false;
                m_ErrorOffsets.push_back(m_File.RecordOffset());
            }
            m_ErrorsOffset = m_ErrorOffsets.front();
            return true;
        }
        if (length < MinBinningHeader)
            return Fail("An unknown record of " + std::to_string(length) +
                        " bytes follows at byte " + std::to_string(m_File.RecordOffset()));
        // Another binning: its header, then its values.
        m_File.Rewind(at);
        CFlukaBinaryHeader next = m_Header;
        if (!ReadBinningHeader(next) || !m_File.BeginRecord(length)) return false;
        m_Binnings.push_back(next);
        m_ValueOffsets.push_back(m_File.RecordOffset());
    }
    return true;
}

bool CFlukaBinaryReader::SelectBinning(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_Binnings.size())
        return Fail("The file holds no binning " + std::to_string(index + 1));
    const size_t i = static_cast<size_t>(index);
    m_Header = m_Binnings[i];
    if (!CheckCounts()) return false;
    m_ValuesOffset = m_ValueOffsets[i];
    m_ErrorsOffset = i < m_ErrorOffsets.size() ? m_ErrorOffsets[i] : 0;
    return BeginArray(m_ValuesOffset, "values");
}

bool CFlukaBinaryReader::BeginErrors()
{
    return HasStatistics() && BeginArray(m_ErrorsOffset, "errors");
}

bool CFlukaBinaryReader::BeginValues()
{
    return BeginArray(m_ValuesOffset, "values");
}
} // namespace volumira3d
