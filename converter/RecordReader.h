#pragma once

#include "FortranRecords.h"

#include <cstdint>
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
    int m_Ntrack = 0;
    int m_Mtrack = 0;
    int m_Jtrack = 0;      // particle code
    double m_Etrack = 0.0; // total energy, GeV
    double m_Wtrack = 0.0; // weight
    int m_Ncase = 0;       // event number
    std::vector<CPoint> m_Points;
    double m_Atrack = 0.0; // age in s at the last point; 0 in formats without times
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

// What the converter's passes read: the record pairs of a FLUKA dump (a header record, then a
// data record; the first integer of the header tells the kind). Each dump format derives from it
// and decodes its pairs; the framing, the passes and the fault handling are shared here. A
// damaged pair ends reading with Error() naming the fault and its byte offset.
class CRecordReader
{
public:
    enum class ERecord
    {
        Trajectory, // Trajectory() holds it
        Deposition, // Deposition() holds it
        Source,     // read, checked and skipped
        End,        // clean end of the file
        Corrupt,    // Error() says what and where; reading stops
    };

    virtual ~CRecordReader() = default;

    // False with Error() set when the file cannot be opened or is not a regular file.
    bool Open(const std::string& name);
    // Starts the next pass at the beginning of the file.
    bool Rewind();
    ERecord Next();

    // What kind of dump this is, for the dialogue.
    virtual const char* Description() const = 0;
    // False when the format records no times: the track file then gets none.
    virtual bool HasTimes() const = 0;

    const CTrajectory& Trajectory() const { return m_Trajectory; }
    const CDeposition& Deposition() const { return m_Deposition; }
    const std::string& Error() const { return m_Records.Error(); }
    std::uint64_t Offset() const { return m_Records.Offset(); }
    std::uint64_t Size() const { return m_Records.Size(); }

protected:
    // Called by Rewind, for state that lives through one pass.
    virtual void StartPass() {}
    // Decodes the pair whose header record, read at `headerAt`, is in m_Header.
    virtual ERecord ReadPair(std::uint64_t headerAt) = 0;
    // Reads the data record that follows a header into m_Data; false when reading has to stop.
    bool ReadData(std::uint64_t headerAt, const char* kind);
    ERecord Corrupt(std::uint64_t at, const std::string& what);

    std::vector<unsigned char> m_Header;
    std::vector<unsigned char> m_Data;
    std::uint64_t m_DataAt = 0;
    CTrajectory m_Trajectory;
    CDeposition m_Deposition;

private:
    CFortranRecords m_Records;
};

} // namespace trakor
