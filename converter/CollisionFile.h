#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace trakor
{

struct CPoint
{
    double x = 0.0, y = 0.0, z = 0.0;
    bool operator==(const CPoint&) const = default;
};

// A trajectory record pair: ntrack steps join points 0..m_Ntrack.
struct CTrajectory
{
    int m_Ntrack = 0;
    int m_Mtrack = 0;
    int m_Jtrack = 0;      // particle code
    double m_Etrack = 0.0; // total energy, GeV
    double m_Wtrack = 0.0; // weight
    int m_Ncase = 0;       // event number
    std::vector<CPoint> m_Points;
    double m_Atrack = 0.0; // age in s at the last point
};

// An energy-deposition record pair.
struct CDeposition
{
    int m_Icode = 0;
    int m_Jtrack = 0;
    double m_Etrack = 0.0;
    double m_Wtrack = 0.0;
    CPoint m_Position;
    double m_Rull = 0.0;
};

// Reads a FLUKA collision file: pairs of sequential unformatted records (each framed by its
// length as a 4-byte little-endian integer before and after), the kind of a pair told by the
// first integer of its header. The file is untrusted: every record length is checked against
// the rest of the file and every count against its record before anything is allocated or
// read, so a damaged file ends reading with `Error()` naming the fault and its byte offset.
class CCollisionFile
{
public:
    enum class ERecord
    {
        Trajectory, // Trajectory() holds it
        Deposition, // Deposition() holds it
        Source,     // read and skipped
        End,        // clean end of the file
        Corrupt,    // Error() says what and where; reading stops
    };

    CCollisionFile() = default;
    ~CCollisionFile();
    CCollisionFile(const CCollisionFile&) = delete;
    CCollisionFile& operator=(const CCollisionFile&) = delete;

    // False with Error() set when the file cannot be opened or is not a regular file.
    bool Open(const std::string& name);
    // Starts the next pass at the beginning of the file.
    bool Rewind();
    ERecord Next();

    const CTrajectory& Trajectory() const { return m_Trajectory; }
    const CDeposition& Deposition() const { return m_Deposition; }
    const std::string& Error() const { return m_Error; }
    std::uint64_t Offset() const { return m_Offset; }
    std::uint64_t Size() const { return m_Size; }

private:
    enum class EFrame
    {
        Record,
        EndOfFile,
        Corrupt,
    };

    EFrame ReadRecord(std::vector<unsigned char>& record);
    bool ReadBytes(void* data, std::size_t count);
    ERecord Corrupt(std::uint64_t at, const std::string& what);
    ERecord ReadPair();
    ERecord ReadTrajectory(std::uint64_t headerAt);
    ERecord ReadDeposition(std::uint64_t headerAt);
    ERecord ReadSource(std::uint64_t headerAt);
    bool ReadData(std::uint64_t headerAt, const char* kind);

    std::FILE* m_File = nullptr;
    std::uint64_t m_Size = 0;
    std::uint64_t m_Offset = 0;
    std::uint64_t m_DataAt = 0;
    std::vector<unsigned char> m_Header;
    std::vector<unsigned char> m_Data;
    CTrajectory m_Trajectory;
    CDeposition m_Deposition;
    std::string m_Error;
};

} // namespace trakor
