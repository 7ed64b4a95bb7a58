#include "volume/model/LoadLog.h"

#include "platform/UiServices.h"

namespace volumira3d
{
int CStringLog::AddLine(const std::string& text, int icon)
{
    m_Lines.emplace_back(text, icon);
    return static_cast<int>(m_Lines.size()) - 1;
}

void CStringLog::SetLine(int index, const std::string& text)
{
    if (index >= 0 && index < static_cast<int>(m_Lines.size())) m_Lines[index].first = text;
    ++m_Rewrites;
}

CProgressLine::CProgressLine(ILoadLog& log, const std::string& text)
    : m_Log(log), m_Index(log.AddLine(text))
{
}

void CProgressLine::Update(long bins, int percent)
{
    if (percent == m_Percent) return;
    m_Percent = percent;
    m_Log.SetLine(m_Index, Format("Mapping %ld bins to XYZ... %d%%", bins, percent));
    UiBackend().Refresh();
}

void CProgressLine::SetText(const std::string& text)
{
    m_Log.SetLine(m_Index, text);
}
} // namespace volumira3d
