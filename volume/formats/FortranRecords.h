// Fortran sequential unformatted files (FLUKA's binary outputs): every record is framed by its
// length as a little-endian 32-bit integer before and after it. Each frame is checked against
// the file size and its trailing copy before a byte of the record is read, so a hostile length
// can neither make us allocate nor read past the end.
#pragma once
#include "common/MappedFile.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace volumira3d
{
std::int32_t LittleInt32(const unsigned char* p);
float LittleFloat32(const unsigned char* p);
double LittleFloat64(const unsigned char* p);
std::int16_t LittleInt16(const unsigned char* p);

class CFortranRecordFile
{
public:
    CFortranRecordFile() = default;
    ~CFortranRecordFile();
    CFortranRecordFile(const CFortranRecordFile&) = delete;
    CFortranRecordFile& operator=(const CFortranRecordFile&) = delete;

    // Opens a regular file; false (Error() says why) for anything else.
    bool Open(const std::string& path);
    std::uint64_t Size() const { return m_Size; }
    bool AtEnd() const { return m_Next >= m_Size; }

    // Starts the record after the current one: its length comes back in length. False at the end
    // of the file, or when the frame does not fit the file or its two markers differ.
    bool BeginRecord(std::uint32_t& length);
    // Reads the next n bytes of the current record; false when fewer are left in it.
    bool Read(void* dst, std::size_t n);
    // The next n bytes of the current record in place, where the file could be mapped (no copy);
    // nullptr where it could not (Read them then) or when fewer are left (Error() says so).
    const unsigned char* View(std::size_t n);
    // The offset of the current record's leading marker (for messages and for coming back).
    std::uint64_t RecordOffset() const { return m_Start; }
    // Where the record after the current one begins (a value Rewind takes).
    std::uint64_t NextRecordOffset() const { return m_Next; }
    // Makes the record at offset (a value RecordOffset gave) the next one BeginRecord starts.
    void Rewind(std::uint64_t offset) { m_Next = offset; }

    const std::string& Error() const { return m_Error; }

private:
    bool Fail(const std::string& text);
    bool Seek(std::uint64_t offset);

    std::FILE* m_pFile = nullptr;
    CMappedFile m_Map;
    std::string m_Path;
    std::uint64_t m_Size = 0;
    std::uint64_t m_Start = 0;   // leading marker of the current record
    std::uint64_t m_Next = 0;    // leading marker of the record after it
    std::uint64_t m_Left = 0;    // payload bytes of the current record not yet read
    std::uint64_t m_Length = 0;  // payload bytes of the current record
    bool m_StreamBehind = false; // View moved on without the stream
    std::string m_Error;
};
} // namespace volumira3d
