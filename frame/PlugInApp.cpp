#include "frame/PlugInApp.h"

#include "platform/UiServices.h"

CPlugInApp::CPlugInApp(CIdentity identity) : m_Identity(std::move(identity)) {}

CPlugInApp::~CPlugInApp() = default;

bool CPlugInApp::InitInstance()
{
    if (!m_Identity.m_ProfileName.empty())
    {
        m_Profile.SetRegistryKey(CompanyKey);
        m_Profile.SetAppName(m_Identity.m_ProfileName);
    }
    return true;
}

int CPlugInApp::InitPlugIn(CHostToolbar* pToolbar, CHostInterface* pHost)
{
    if (!m_Started) m_Started = InitInstance();
    m_pToolbar = pToolbar;
    m_pButton = std::make_unique<CToolbarButton>(m_Identity.m_CommandId, -1,
                                                 m_Identity.m_ButtonCaption, false, false);
    if (m_pToolbar)
    {
        m_ButtonIndex = m_pToolbar->AddToolbarButton(m_pButton.get(), -1);
        m_pToolbar->RecalcToolbarLayout();
        m_pToolbar->ResizeToolbar(FALSE);
    }
    m_pHostInterface = pHost;
    m_pMainDlg = CreateMainDialog(pHost);
    const double version = pHost ? pHost->GetInterfaceVersion() : 0.0;
    if (version < MinInterfaceVersion)
    {
        AfxMessageBox(Format("This plug-in requires a newer version of Tessaron with a "
                             "plugin-interface version of %.1f!",
                             MinInterfaceVersion),
                      MB_ICONINFORMATION);
        return 0;
    }
    return m_Identity.m_CommandId;
}

void CPlugInApp::DestroyPlugIn()
{
    if (m_pToolbar && m_ButtonIndex >= 0) m_pToolbar->RemoveToolbarButton(m_ButtonIndex);
}

bool CPlugInApp::PlugInEventHandler(int id, int code, void* pExtra, void* pHandlerInfo)
{
    if (id == m_Identity.m_CommandId) OnCmdMsg(id, code, pExtra, pHandlerInfo);
    return true;
}

BOOL CPlugInApp::OnCmdMsg(int, int, void*, void*)
{
    if (m_pMainDlg) m_pMainDlg->ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

int CPlugInApp::OpenFile(const std::string& path, bool probe, const CFileOpenOptions& options,
                         std::string& message)
{
    const int claim = m_pMainDlg ? ClaimFile(path) : 0;
    if (claim == 0) return 0;
    return probe ? claim : OpenClaimedFile(path, options, message);
}

CFileOpenOptions::CFileOpenOptions(const std::string& text)
{
    size_t at = 0;
    while (at < text.size())
    {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        if (const size_t eq = line.find('='); eq != std::string::npos)
            m_Values[line.substr(0, eq)] = line.substr(eq + 1);
        at = end + 1;
    }
}

std::string CFileOpenOptions::Get(const std::string& key) const
{
    const auto it = m_Values.find(key);
    return it == m_Values.end() ? std::string() : it->second;
}
