#include "testkit/FakeHost.h"

namespace testkit
{
int CFakeHost::AddToolbarButton(CToolbarButton* pButton, int position)
{
    m_Log += "add " + pButton->m_Caption + " " + std::to_string(pButton->m_CommandId) + " " +
             std::to_string(pButton->m_Image) + " " + std::to_string(position) + ";";
    return m_ButtonIndex;
}

void CFakeHost::RecalcToolbarLayout()
{
    m_Log += "recalc;";
}

void CFakeHost::ResizeToolbar(BOOL bRedraw)
{
    m_Log += "resize " + std::to_string(bRedraw) + ";";
}

void CFakeHost::RemoveToolbarButton(int index)
{
    m_Log += "remove " + std::to_string(index) + ";";
}

double CFakeHost::GetInterfaceVersion()
{
    m_Log += "version;";
    return m_Version;
}
} // namespace testkit
