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
    char* room(std::size_t count);
    void commit(std::size_t count) { m_Used += count; }

    void put(char c) { *room(1) = c, commit(1); }
    void write(std::string_view text);
    void line(std::string_view text) { write(text), put('\n'); }

    // Delivers what is buffered; false when the destination has failed (now or earlier).
    bool finish();

protected:
    virtual bool deliver(const char* data, std::size_t size) = 0;

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
    // False with `error()` set when the file cannot be created.
    bool open(const std::string& name);
    // Flushes and closes; false with `error()` set when anything could not be written.
    bool close();
    const std::string& error() const { return m_Error; }

protected:
    bool deliver(const char* data, std::size_t size) override;

private:
    std::FILE* m_File = nullptr;
    std::string m_Name;
    std::string m_Error;
};

// Collects the text in memory (tests, benchmarks).
class CStringOutput : public CTextOutput
{
public:
    const std::string& text()
    {
        finish();
        return m_Text;
    }

protected:
    bool deliver(const char* data, std::size_t size) override;

private:
    std::string m_Text;
};

} // namespace trakor
