#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace trakor
{

// Buffered text sink of the writers. Writers format straight into the buffer (`room`), so a
// line costs no allocation; the buffer goes to its destination when it fills up and on
// `finish`.
class CTextOutput
{
public:
    CTextOutput();
    virtual ~CTextOutput() = default;
    CTextOutput(const CTextOutput&) = delete;
    CTextOutput& operator=(const CTextOutput&) = delete;

    // Space for at least `count` characters at the end of the buffer; `commit` appends them.
    char* Room(std::size_t count);
    void Commit(std::size_t count) { m_Used += count; }

    void Put(char c) { *Room(1) = c, Commit(1); }
    void Write(std::string_view text);
    void Line(std::string_view text) { Write(text), Put('\n'); }

    // Delivers what is buffered; false when the destination has failed (now or earlier).
    bool Finish();

protected:
    virtual bool Deliver(const char* data, std::size_t size) = 0;

private:
    std::vector<char> m_Buffer;
    std::size_t m_Used = 0;
    bool m_Failed = false;
};

// A file created (or overwritten) on open.
class CFileOutput : public CTextOutput
{
public:
    ~CFileOutput() override;
    // False with `Error()` set when the file cannot be created.
    bool Open(const std::string& name);
    // Flushes, syncs and renames the temporary file to the name; false with `Error()` set (and
    // no file left) when anything could not be written.
    bool Close();
    const std::string& Error() const { return m_Error; }

protected:
    bool Deliver(const char* data, std::size_t size) override;

private:
    std::FILE* m_File = nullptr;
    std::string m_Name, m_Temp;
    std::string m_Error;
};

// Collects the text in memory (tests, benchmarks).
class CStringOutput : public CTextOutput
{
public:
    const std::string& Text()
    {
        Finish();
        return m_Text;
    }

protected:
    bool Deliver(const char* data, std::size_t size) override;

private:
    std::string m_Text;
};

} // namespace trakor
