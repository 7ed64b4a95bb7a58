#include "host/Host.h"

#include "platform/ScriptedAnswers.h"

#include <algorithm>

CHost::CHost() = default;
CHost::~CHost()
{
    UnloadAll();
}

bool CHost::LoadPlugIn(const std::string& path, std::string& error, bool& refused)
{
    refused = false;
    auto lib = std::make_unique<CPlugInLibrary>();
    if (!lib->Load(path))
    {
        error = lib->Error();
        return false;
    }
    m_pLoading = lib.get();
    lib->m_Initialised = true;
    lib->m_CommandId = lib->InitPlugIn(this, this);
    m_pLoading = nullptr;
    lib->GetPlugInName(lib->m_Name);
    lib->GetPlugInResources(nullptr, lib->m_IconName);
    if (lib->m_CommandId == 0)
    {
        refused = true;
        lib->Unload();
        return true;
    }
    m_PlugIns.push_back(std::move(lib));
    return true;
}

void CHost::UnloadAll()
{
    // Newest first, as they were stacked.
    while (!m_PlugIns.empty())
    {
        m_PlugIns.back()->Unload();
        m_PlugIns.pop_back();
    }
    m_Buttons.clear();
}

int CHost::AddToolbarButton(CToolbarButton* pButton, int position)
{
    if (!pButton) return -1;
    // New buttons always go to the end: inserting would move the indices handed out before.
    m_Buttons.push_back({pButton->m_CommandId, pButton->m_Caption, m_pLoading});
    (void)position;
    return static_cast<int>(m_Buttons.size()) - 1;
}

void CHost::RemoveToolbarButton(int index)
{
    if (index >= 0 && index < static_cast<int>(m_Buttons.size())) m_Buttons[index].m_Removed = true;
}

bool CHost::PressButton(const std::string& caption)
{
    auto it =
        std::find_if(m_Buttons.begin(), m_Buttons.end(),
                     [&](const CButton& b) { return !b.m_Removed && b.m_Caption == caption; });
    return it != m_Buttons.end() && PressButton(*it);
}

bool CHost::PressButton(const CButton& button)
{
    if (button.m_Removed || !button.m_pPlugIn || button.m_pPlugIn->m_CommandId == 0) return false;
    button.m_pPlugIn->PlugInEventHandler(button.m_CommandId, 0, nullptr, nullptr);
    return true;
}

void CHost::RenderPlugIns(HDC dc, HGLRC rc, int pass, int mode)
{
    for (auto& p : m_PlugIns)
        p->OnRender(dc, rc, pass, mode);
    for (auto& p : m_PlugIns)
        p->OnPostRender(dc, rc, pass, mode);
}

namespace
{
bool IsEmptyBox(const CVector& min, const CVector& max)
{
    const bool inverted = min.x > max.x || min.y > max.y || min.z > max.z;
    const bool allZero = min == CVector() && max == CVector();
    return inverted || allZero;
}
} // namespace

bool CHost::Box(CVector& min, CVector& max) const
{
    bool any = false;
    for (const auto& p : m_PlugIns)
    {
        CVector lo(1e15, 1e15, 1e15), hi(-1e15, -1e15, -1e15);
        p->Box(lo, hi);
        if (IsEmptyBox(lo, hi)) continue;
        min = any ? CVector::Min(min, lo) : lo;
        max = any ? CVector::Max(max, hi) : hi;
        any = true;
    }
    return any;
}

void CHost::ExportVRML(std::ostream& os) const
{
    os << "#VRML V2.0 utf8\n\n";
    for (const auto& p : m_PlugIns)
        p->ExportVRML(os);
    m_Geometry.WriteVrml(os);
}

bool CHost::OpenDataFile(const std::string& path, const std::string& options, std::string& message,
                         std::string* pPlugIn)
{
    CPlugInLibrary* best = nullptr;
    int bestClaim = 0;
    for (const auto& p : m_PlugIns)
    {
        if (!p->OpenFile || !p->m_CommandId) continue;
        std::string unused;
        const int claim = p->OpenFile(path.c_str(), 1, options.c_str(), unused);
        if (claim > bestClaim) best = p.get(), bestClaim = claim;
    }
    if (!best)
    {
        message =
            path + " is not a file that a loaded plug-in reads (tried: " + FileFormats() + ")";
        return false;
    }
    if (pPlugIn) *pPlugIn = best->m_Name;
    CAcceptDefaults defaults;
    message.clear();
    if (best->OpenFile(path.c_str(), 0, options.c_str(), message) == 1) return true;
    message = path + ": " + (message.empty() ? std::string("not read") : message);
    return false;
}

std::string CHost::FileFormats() const
{
    std::string formats;
    for (const auto& p : m_PlugIns)
    {
        std::string names;
        if (p->OpenFile && p->m_CommandId && p->GetFileFormats) p->GetFileFormats(names);
        if (!names.empty()) formats += (formats.empty() ? "" : ", ") + names;
    }
    return formats.empty() ? "no plug-in opens files" : formats;
}

void CHost::RedrawView()
{
    m_RedrawPending = true;
    if (m_OnRedraw) m_OnRedraw();
}
