// The backend without windows: every message box is recorded, answers of message boxes, file
// and colour dialogs are taken from queues, and modal dialogs run scripted actions.
#pragma once
#include "platform/UiServices.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CHeadlessBackend : public CUiBackend
{
public:
    struct CMessageRecord
    {
        std::string m_Text;
        std::string m_Caption;
        UINT m_Type = 0;
        int m_Result = 0;
        std::string Icon() const { return MessageIconName(m_Type); }
    };
    using ModalActions = std::function<void(CDialog&)>;

    static CHeadlessBackend& Instance();

    // Forgets queues, records and timers (tests call it first).
    void Reset();

    void QueueAnswer(int answer) { m_Answers.push_back(answer); }
    void QueueFile(const std::string& path) { m_Files.push_back(path); } // "" = Cancel
    void QueueColor(COLORREF color) { m_Colors.push_back(color); }
    // Actions for the next modal dialog with this caption; afterwards it closes with OK unless
    // the actions ended it.
    void QueueModal(const std::string& caption, ModalActions actions);

    const std::vector<CMessageRecord>& Messages() const { return m_Messages; }
    // The texts of the message boxes shown so far, as "icon: text" when withIcon is set.
    std::vector<std::string> MessageTexts(bool withIcon = false) const;
    void ClearMessages() { m_Messages.clear(); }
    const std::vector<CFileDialogRequest>& FileDialogs() const { return m_FileDialogs; }
    int WaitCursorDepth() const { return m_WaitDepth; }
    // Echoes every message box to standard error as it is shown.
    void SetEcho(bool echo) { m_Echo = echo; }

    // Delivers count ticks to every running timer, in the order they were started.
    void DeliverTimerTicks(int count);
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

    // The answer a message box of this type gives when nobody answers: its default button.
    static int DefaultAnswer(UINT nType);

private:
    std::deque<int> m_Answers;
    std::deque<std::string> m_Files;
    std::deque<COLORREF> m_Colors;
    std::vector<std::pair<std::string, ModalActions>> m_Modals;
    std::vector<CMessageRecord> m_Messages;
    std::vector<CFileDialogRequest> m_FileDialogs;
    std::vector<std::pair<CDialog*, UINT_PTR>> m_Timers;
    int m_WaitDepth = 0;
    bool m_Echo = false;
};
