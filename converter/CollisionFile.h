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

// A trajectory record pair: ntrack steps join points 0..ntrack.
struct CTrajectory
{
    int ntrack = 0;
    int mtrack = 0;
    int jtrack = 0;      // particle code
    double etrack = 0.0; // total energy, GeV
    double wtrack = 0.0; // weight
    int ncase = 0;       // event number
    std::vector<CPoint> points;
    double atrack = 0.0; // age in s at the last point
};

// An energy-deposition record pair.
struct CDeposition
{
    int icode = 0;
    int jtrack = 0;
    double etrack = 0.0;
    double wtrack = 0.0;
    CPoint position;
    double rull = 0.0;
};

// Reads a FLUKA collision file: pairs of sequential unformatted records (each framed by its
// length as a 4-byte little-endian integer before and after), the kind of a pair told by the
// first integer of its header. The file is untrusted: every record length is checked against
// the rest of the file and every count against its record before anything is allocated or
// read, so a damaged file ends reading with `error()` naming the fault and its byte offset.
class CCollisionFile
{
public:
    enum class ERecord
    {
        Trajectory, // trajectory() holds it
        Deposition, // deposition() holds it
        Source,     // read and skipped
        End,        // clean end of the file
        Corrupt,    // error() says what and where; reading stops
    };

    CCollisionFile() = default;
    ~CCollisionFile();
    CCollisionFile(const CCollisionFile&) = delete;
    CCollisionFile& operator=(const CCollisionFile&) = delete;

    // False with error() set when the file cannot be opened or is not a regular file.
    bool open(const std::string& name);
    // Starts the next pass at the beginning of the file.
    bool rewind();
    ERecord next();

    const CTrajectory& trajectory() const { return m_Trajectory; }
    const CDeposition& deposition() const { return m_Deposition; }
    const std::string& error() const { return m_Error; }
    std::uint64_t offset() const { return m_Offset; }
    std::uint64_t size() const { return m_Size; }

private:
    enum class EFrame
    {
        Record,
        EndOfFile,
        Corrupt,
    };

    EFrame readRecord(std::vector<unsigned char>& record);
    bool readBytes(void* data, std::size_t count);
    ERecord corrupt(std::uint64_t at, const std::string& what);
    ERecord readPair();
    ERecord readTrajectory(std::uint64_t headerAt);
    ERecord readDeposition(std::uint64_t headerAt);
    ERecord readSource(std::uint64_t headerAt);
    bool readData(std::uint64_t headerAt, const char* kind);

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
