#include "platform/HeadlessBackend.h"

#include "platform/Dialog.h"

#include <algorithm>
#include <cstdio>

CHeadlessBackend& CHeadlessBackend::Instance()
{
    static CHeadlessBackend backend;
    return backend;
}

void CHeadlessBackend::Reset()
{
    m_Answers.clear();
    m_Files.clear();
    m_Colors.clear();
    m_Modals.clear();
    m_Messages.clear();
    m_FileDialogs.clear();
    m_Timers.clear();
    m_WaitDepth = 0;
}

void CHeadlessBackend::QueueModal(const std::string& caption, ModalActions actions)
{
    m_Modals.emplace_back(caption, std::move(actions));
}

std::vector<std::string> CHeadlessBackend::MessageTexts(bool withIcon) const
{
    std::vector<std::string> texts;
    for (const auto& m : m_Messages)
        texts.push_back(withIcon ? m.Icon() + ": " + m.m_Text : m.m_Text);
    return texts;
}

int CHeadlessBackend::DefaultAnswer(UINT nType)
{
    const UINT buttons = nType & MB_TYPEMASK;
    const int def = static_cast<int>((nType & MB_DEFMASK) >> 8);
    switch (buttons)
    {
    case MB_OKCANCEL:
        return def == 1 ? IDCANCEL : IDOK;
    case MB_YESNO:
        return def == 1 ? IDNO : IDYES;
    case MB_YESNOCANCEL:
        return def == 2 ? IDCANCEL : (def == 1 ? IDNO : IDYES);
    default:
        return IDOK;
    }
}

namespace
{
bool Offers(UINT nType, int answer)
{
    switch (nType & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    default:
        return answer == IDOK;
    }
}
} // namespace

int CHeadlessBackend::MessageBox(CDialog*, const std::string& text, const std::string& caption,
                                 UINT nType)
{
    int result = DefaultAnswer(nType);
    if (!m_Answers.empty())
    {
        const int queued = m_Answers.front();
        m_Answers.pop_front();
        if (Offers(nType, queued))
            result = queued;
        else
            std::fprintf(stderr, "queued answer %d does not fit the message box; default taken\n",
                         queued);
    }
    m_Messages.push_back({text, caption, nType, result});
    if (m_Echo)
        std::fprintf(stderr, "[message box, %s] %s\n", MessageIconName(nType), text.c_str());
    return result;
}

bool CHeadlessBackend::FileDialog(CDialog*, CFileDialogRequest& request)
{
    std::string path;
    if (!m_Files.empty())
    {
        path = m_Files.front();
        m_Files.pop_front();
    }
    request.m_Result = path;
    m_FileDialogs.push_back(request);
    return !path.empty();
}

bool CHeadlessBackend::ColorDialog(CDialog*, COLORREF& color, DWORD)
{
    if (m_Colors.empty()) return false;
    color = m_Colors.front();
    m_Colors.pop_front();
    return true;
}

INT_PTR CHeadlessBackend::RunModal(CDialog& dlg)
{
    dlg.Initialize(true);
    dlg.ShowWindow(SW_SHOW);
    auto it = std::find_if(m_Modals.begin(), m_Modals.end(),
                           [&](const auto& m) { return m.first == dlg.GetCaption(); });
    if (it != m_Modals.end())
    {
        ModalActions actions = std::move(it->second);
        m_Modals.erase(it);
        actions(dlg);
    }
    if (!dlg.IsEnded()) dlg.Notify(IDOK, BN_CLICKED);
    if (!dlg.IsEnded())
    {
        // Nobody is there to correct the refused input: give up as a user would.
        std::fprintf(stderr, "dialog \"%s\" refused OK; closed with Cancel\n",
                     dlg.GetCaption().c_str());
        dlg.EndDialog(IDCANCEL);
    }
    return dlg.GetResult();
}

void CHeadlessBackend::DialogDestroyed(CDialog& dlg)
{
    std::erase_if(m_Timers, [&](const auto& t) { return t.first == &dlg; });
}

void CHeadlessBackend::StartTimer(CDialog& dlg, UINT_PTR id, UINT)
{
    StopTimer(dlg, id);
    m_Timers.emplace_back(&dlg, id);
}

void CHeadlessBackend::StopTimer(CDialog& dlg, UINT_PTR id)
{
    std::erase_if(m_Timers, [&](const auto& t) { return t.first == &dlg && t.second == id; });
}

void CHeadlessBackend::DeliverTimerTicks(int count)
{
    for (int i = 0; i < count; ++i)
    {
        const auto timers = m_Timers; // a tick may stop or start timers
        for (const auto& [dlg, id] : timers)
        {
            const bool running = std::find(m_Timers.begin(), m_Timers.end(),
                                           std::make_pair(dlg, id)) != m_Timers.end();
            if (running) dlg->OnTimer(id);
        }
    }
}
