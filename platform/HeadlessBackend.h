// The backend without windows: every message box is recorded, answers of message boxes, file
// and colour dialogs are taken from the scripted answers, and modal dialogs run scripted actions.
#pragma once
#include "platform/ScriptedAnswers.h"
#include "platform/UiServices.h"

#include <string>
#include <utility>
#include <vector>

class CHeadlessBackend : public CUiBackend
{
public:
    using CMessageRecord = ::CMessageRecord;
    using ModalActions = CScriptedAnswers::ModalActions;

    static CHeadlessBackend& Instance();

    // Forgets queues, records and timers (tests call it first).
    void Reset();

    // Shorthands for the scripted answers, which every backend consults.
    static CScriptedAnswers& Answers() { return CScriptedAnswers::Instance(); }
    void QueueAnswer(int answer) { Answers().QueueAnswer(answer); }
    void QueueFile(const std::string& path) { Answers().QueueFile(path); } // "" = Cancel
    void QueueColor(COLORREF color) { Answers().QueueColor(color); }
    void QueueModal(const std::string& caption, ModalActions actions)
    {
        Answers().QueueModal(caption, std::move(actions));
    }
    const std::vector<CMessageRecord>& Messages() const { return Answers().Messages(); }
    std::vector<std::string> MessageTexts(bool withIcon = false) const
    {
        return Answers().MessageTexts(withIcon);
    }
    void ClearMessages() { Answers().ClearMessages(); }
    void SetEcho(bool echo) { Answers().SetEcho(echo); }
    static int DefaultAnswer(UINT nType) { return CScriptedAnswers::DefaultAnswer(nType); }

    const std::vector<CFileDialogRequest>& FileDialogs() const { return m_FileDialogs; }
    int WaitCursorDepth() const { return m_WaitDepth; }
    std::vector<std::pair<CDialog*, UINT_PTR>> RunningTimers() const { return m_Timers; }

    int MessageBox(CDialog* pOwner, const std::string& text, const std::string& caption,
                   UINT nType) override;
    bool FileDialog(CDialog* pOwner, CFileDialogRequest& request) override;
    bool ColorDialog(CDialog* pOwner, COLORREF& color, DWORD flags) override;
    INT_PTR RunModal(CDialog& dlg) override;
    void DialogCreated(CDialog&) override {}
    void DialogDestroyed(CDialog& dlg) override;
    void DialogShown(CDialog&, bool) override {}
    void BeginWaitCursor() override { ++m_WaitDepth; }
    void EndWaitCursor() override { --m_WaitDepth; }
    void StartTimer(CDialog& dlg, UINT_PTR id, UINT elapseMs) override;
    void StopTimer(CDialog& dlg, UINT_PTR id) override;
    // Delivers count ticks to every running timer, in the order they were started.
    void DeliverTimerTicks(int count) override;

private:
    std::vector<CFileDialogRequest> m_FileDialogs;
    std::vector<std::pair<CDialog*, UINT_PTR>> m_Timers;
    int m_WaitDepth = 0;
};
