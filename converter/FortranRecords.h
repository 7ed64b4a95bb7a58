#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace trakor
{

// Sequential unformatted records as Fortran writes them: each record framed by its length as a
// 4-byte little-endian integer before and after. The file is untrusted: a length is checked
// against the rest of the file before anything is allocated or read. A fault sets Error(),
// naming what was wrong and the byte offset of the record; it stays set until Rewind.
class CFortranRecords
{
public:
    enum class EFrame
    {
        Record,
        EndOfFile, // clean end, between two records
        Corrupt,   // Error() says what and where
    };

    CFortranRecords() = default;
    ~CFortranRecords();
    CFortranRecords(const CFortranRecords&) = delete;
    CFortranRecords& operator=(const CFortranRecords&) = delete;

    // False with Error() set when the file cannot be opened or is not a regular file.
    bool Open(const std::string& name);
    // Goes back to the first record; false when the file cannot be read again.
    bool Rewind();
    EFrame Read(std::vector<unsigned char>& record);
    // Records a fault of the record at byte offset `at`.
    EFrame Fail(std::uint64_t at, const std::string& what);

    const std::string& Error() const { return m_Error; }
    bool Failed() const { return !m_Error.empty(); }
    std::uint64_t Offset() const { return m_Offset; }
    std::uint64_t Size() const { return m_Size; }

private:
    bool ReadBytes(void* data, std::size_t count);

    std::FILE* m_File = nullptr;
    std::uint64_t m_Size = 0;
    std::uint64_t m_Offset = 0;
    std::string m_Error;
};

// Fields of a record, little-endian whatever the host's byte order.
int LoadInt(const unsigned char* bytes);
float LoadFloat(const unsigned char* bytes);
double LoadDouble(const unsigned char* bytes);

// "12 bytes", for messages.
std::string Bytes(std::uint64_t count);

} // namespace trakor
