#include "platform/ScriptedAnswers.h"

#include "platform/Dialog.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cstdio>

std::string CMessageRecord::Icon() const
{
    return MessageIconName(m_Type);
}

CScriptedAnswers& CScriptedAnswers::Instance()
{
    static CScriptedAnswers answers;
    return answers;
}

void CScriptedAnswers::Reset()
{
    m_Answers.clear();
    m_Files.clear();
    m_MenuChoices.clear();
    m_Colors.clear();
    m_Modals.clear();
    m_Messages.clear();
}

void CScriptedAnswers::QueueModal(const std::string& caption, ModalActions actions)
{
    m_Modals.emplace_back(caption, std::move(actions));
}

int CScriptedAnswers::DefaultAnswer(UINT nType)
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

bool CScriptedAnswers::Offers(UINT nType, int answer)
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

int CScriptedAnswers::TakeAnswer(UINT nType)
{
    if (m_Answers.empty()) return DefaultAnswer(nType);
    const int queued = m_Answers.front();
    m_Answers.pop_front();
    if (Offers(nType, queued)) return queued;
    std::fprintf(stderr, "queued answer %d does not fit the message box; default taken\n", queued);
    return DefaultAnswer(nType);
}

void CScriptedAnswers::Record(const std::string& text, const std::string& caption, UINT nType,
                              int result)
{
    m_Messages.push_back({text, caption, nType, result});
    if (m_Echo)
        std::fprintf(stderr, "[message box, %s] %s\n", MessageIconName(nType), text.c_str());
}

namespace
{
template <class T> std::optional<T> TakeFront(std::deque<T>& queue)
{
    if (queue.empty()) return std::nullopt;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}
} // namespace

std::optional<std::string> CScriptedAnswers::TakeFile()
{
    return TakeFront(m_Files);
}

std::optional<COLORREF> CScriptedAnswers::TakeColor()
{
    return TakeFront(m_Colors);
}

std::optional<UINT> CScriptedAnswers::TakeMenuChoice()
{
    return TakeFront(m_MenuChoices);
}

CScriptedAnswers::ModalActions CScriptedAnswers::TakeModal(const std::string& caption)
{
    auto it = std::find_if(m_Modals.begin(), m_Modals.end(),
                           [&](const auto& m) { return m.first == caption; });
    if (it == m_Modals.end())
        return m_AcceptDefaults ? ModalActions([](CDialog&) {}) : ModalActions();
    ModalActions actions = std::move(it->second);
    m_Modals.erase(it);
    return actions;
}

void CScriptedAnswers::RunAndFinish(CDialog& dlg, const ModalActions& actions)
{
    if (actions) actions(dlg);
    if (!dlg.IsEnded()) dlg.Notify(IDOK, BN_CLICKED);
    if (!dlg.IsEnded())
    {
        // Nobody is there to correct the refused input: give up as a user would.
        std::fprintf(stderr, "dialog \"%s\" refused OK; closed with Cancel\n",
                     dlg.GetCaption().c_str());
        dlg.EndDialog(IDCANCEL);
    }
}

std::vector<std::string> CScriptedAnswers::MessageTexts(bool withIcon) const
{
    std::vector<std::string> texts;
    for (const auto& m : m_Messages)
        texts.push_back(withIcon ? m.Icon() + ": " + m.m_Text : m.m_Text);
    return texts;
}
