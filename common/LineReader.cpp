#include "common/LineReader.h"

#include <cstring>

CLineStep AppendLinePart(const char* start, size_t avail, size_t maxLen, std::string& line,
                         bool& truncated, bool& nul)
{
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
    const size_t len = nl ? static_cast<size_t>(nl - start) : avail;
    const size_t room = maxLen > line.size() ? maxLen - line.size() : 0;
    if (len > room) truncated = true;
    if (!nul && std::memchr(start, '\0', len)) nul = true;
    line.append(start, len < room ? len : room);
    return {len + (nl ? 1 : 0), nl != nullptr};
}

CLineReader::CLineReader(std::istream& in, size_t maxLine)
    : m_pIn(&in), m_MaxLine(maxLine), m_Buffer(1 << 16), m_pData(m_Buffer.data())
{
}

CLineReader::CLineReader(std::string_view text, size_t maxLine)
    : m_MaxLine(maxLine), m_pData(text.data()), m_End(text.size()), m_Eof(true)
{
}

bool CLineReader::Fill()
{
    if (m_Eof || !m_pIn) return false;
    m_pIn->read(m_Buffer.data(), static_cast<std::streamsize>(m_Buffer.size()));
    m_Pos = 0;
    m_End = static_cast<size_t>(m_pIn->gcount());
    if (m_End == 0) m_Eof = true;
    return m_End > 0;
}

bool CLineReader::Next(std::string& line)
{
    std::string_view view;
    const bool any = Next(view);
    line.assign(view);
    return any;
}

bool CLineReader::Next(std::string_view& view)
{
    // The common case: the whole line lies in the buffer.
    if (m_Pos < m_End)
    {
        const char* start = m_pData + m_Pos;
        const size_t avail = m_End - m_Pos;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
        if (nl && static_cast<size_t>(nl - start) <= m_MaxLine)
        {
            size_t len = static_cast<size_t>(nl - start);
            m_Truncated = false;
            m_Nul = std::memchr(start, '\0', len) != nullptr;
            m_Pos += len + 1;
            m_BytesRead += len + 1;
            if (len > 0 && start[len - 1] == '\r') --len;
            view = std::string_view(start, len);
            return true;
        }
    }
    std::string& line = m_Spanning;
    line.clear();
    m_Truncated = m_Nul = false;
    bool any = false;
    for (;;)
    {
        if (m_Pos >= m_End && !Fill()) break;
        any = true;
        const CLineStep step =
            AppendLinePart(m_pData + m_Pos, m_End - m_Pos, m_MaxLine, line, m_Truncated, m_Nul);
        m_Pos += step.m_Consumed;
        m_BytesRead += step.m_Consumed;
        if (step.m_Ended) break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    view = line;
    if (!any) m_Exhausted = true;
    return any;
}
