// A regular file mapped read-only, for readers that parse large text in place. Pages already
// parsed can be given back, so that only a window of the file stays resident.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

class CMappedFile
{
public:
    CMappedFile() = default;
    ~CMappedFile();
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;

    // False when the file cannot be opened or mapped; an empty file maps to empty text.
    bool Open(const std::string& path);
    void Close();
    std::string_view Text() const { return {m_pData, m_Size}; }
    // Drops the resident pages that lie wholly before offset (the text stays readable).
    void Release(size_t offset);

private:
    const char* m_pData = nullptr;
    size_t m_Size = 0;
    size_t m_Released = 0;
};
