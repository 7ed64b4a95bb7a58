// The FLUKA isodump file: a header of two integers (the second the number N of cooling times),
// N cooling-time label lines, then data records (lines holding "#"). This reads the grammar;
// what a record becomes is the plug-in's (IIsodumpRecords). Both particle clouds and isotope
// views read it.
#pragma once
#include "common/Vector.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CLineReader;
class CProgressCtrl;

namespace isodump
{
// Moves a progress bar over 1..25000 by the share of the input read, about a hundred times per
// read; back to 0 at the end.
class CReadProgress
{
public:
    CReadProgress(CProgressCtrl* pProgress, std::uint64_t total);
    ~CReadProgress();
    CReadProgress(const CReadProgress&) = delete;
    CReadProgress& operator=(const CReadProgress&) = delete;
    void Update(std::uint64_t done);

private:
    CProgressCtrl* m_p;
    std::uint64_t m_Total, m_Next = 0;
};

// Integers read from the start of a line, as extraction reads them, until the first text that
// is not an integer (or one that does not fit an int).
std::vector<int> LeadingIntegers(std::string_view line);
// The number of cooling times, or nothing when the header is not exactly two integers.
std::optional<int> HeaderCount(std::string_view line);
// A cooling-time label: the line without its first two characters.
std::string CoolingLabel(std::string_view line);
// The data lines, with their numbers, for the records and the lines that belong to them. A line
// that turns out to start the next record can be put back.
class CRecordLines
{
public:
    explicit CRecordLines(CLineReader& lines, long lineNo) : m_Lines(lines), m_LineNo(lineNo) {}
    // The next line; the view holds until the next call.
    bool Next(std::string_view& line);
    // The last line comes again from the next Next.
    void PutBack();
    // The number of the last line read.
    long LineNo() const { return m_LineNo; }
    std::uint64_t BytesRead() const;

private:
    CLineReader& m_Lines;
    long m_LineNo;
    std::string_view m_LastView;
    std::string m_Last; // a put-back line, copied
    bool m_Back = false;
};
// A record line, where a factor line or a decay block line should be.
bool IsRecordLine(std::string_view line);

// One data record with the fields the grammar defines.
struct CRecord
{
    std::string_view m_Line;
    std::vector<std::string_view> m_Fields;
    long m_LineNo = 0;
    float m_Selector = 0;       // field 1
    int m_Z = 0, m_A = 0;       // fields 2, 3
    bool m_HasPosition = false; // field 0 is "#1" or "#2"
    CVector m_Position;         // "#1": fields 6..8; "#2": 5..7
    double m_Weight = 0;        // "#1": field 9; "#2": field 8
    std::string m_Problem;      // why an Unreadable record is
    bool IsKind1() const { return m_Fields[0] == "#1"; }
};

enum class ERecord
{
    NotData,    // no "#": skipped without a message
    Short,      // fewer fields than the record needs
    OtherTime,  // belongs to another cooling time
    Unreadable, // a field it uses is not a number: skipped with a warning
    Accepted,
};
// Splits and reads a line for cooling time T (1-based). A "#1" record needs 10 fields (its
// weight is field 9), any other 9.
ERecord ParseRecord(std::string_view line, int coolingTime, CRecord& record);

// The nuclide line of a decay block for cooling time T: counts holds the number of nuclides per
// cooling time and the block lists one line per non-zero count, so the line is the n-th
// non-zero count among entries 1..T (0-based index of the line), none when count T is 0.
std::optional<int> DecayLineIndex(const std::vector<int>& counts, int coolingTime);

// Where the plug-in's records go.
class IIsodumpRecords
{
public:
    virtual ~IIsodumpRecords() = default;
    // Before the data: the extent of the container starts afresh.
    virtual void ResetExtent() = 0;
    // An accepted record; lines may read the lines that belong to it (factor lines, decay
    // blocks). False ends the read with failure (a message has been shown).
    virtual bool OnRecord(const CRecord& record, int coolingTime, CRecordLines& lines) = 0;
    // A record that was not stored, and why (a counted warning).
    virtual void OnSkipped(const std::string& text) = 0;
};

// Opens fileName and hands the stream and its size to read, for the readers of this family. An
// empty name says "ERROR: No filename specified!"; a name that is no readable regular file gives
// false without a message.
bool ReadNamedFile(const std::string& fileName,
                   const std::function<bool(std::istream& in, std::uint64_t size)>& read);

// The whole read: messages, the cooling-time dialog, the records. True when the file was read
// to its end; false for the failures of the format (with their messages), an unopened file or
// a cancelled dialog (without one), or an abort after a short record.
bool ReadIsodump(const std::string& fileName, CProgressCtrl* pProgress, IIsodumpRecords& sink);
// The same on an open stream of size bytes.
bool ReadIsodump(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress,
                 IIsodumpRecords& sink);
// The first lines of a file (at most count), for telling formats apart by their content.
std::vector<std::string> FileHead(const std::string& path, int count);
// An isodump by its start: a line of two counts, then a cooling time ("0s", "1d", "3.5h").
bool LooksLikeIsodump(const std::vector<std::string>& head);
} // namespace isodump
