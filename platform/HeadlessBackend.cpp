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
    Answers().Reset();
    m_FileDialogs.clear();
    m_Timers.clear();
    m_WaitDepth = 0;
}

int CHeadlessBackend::MessageBox(CDialog*, const std::string& text, const std::string& caption,
                                 UINT nType)
{
    const int result = Answers().TakeAnswer(nType);
    Answers().Record(text, caption, nType, result);
    return result;
}

bool CHeadlessBackend::FileDialog(CDialog*, CFileDialogRequest& request)
{
    request.m_Result = Answers().TakeFile().value_or("");
    m_FileDialogs.push_back(request);
    return !request.m_Result.empty();
}

bool CHeadlessBackend::ColorDialog(CDialog*, COLORREF& color, DWORD)
{
    const auto queued = Answers().TakeColor();
    if (!queued) return false;
    color = *queued;
    return true;
}

INT_PTR CHeadlessBackend::RunModal(CDialog& dlg)
{
    dlg.Initialize(true);
    dlg.ShowWindow(SW_SHOW);
    CScriptedAnswers::RunAndFinish(dlg, Answers().TakeModal(dlg.GetCaption()));
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
    DeliverTicksInOrder(count, [this] { return m_Timers; });
}
