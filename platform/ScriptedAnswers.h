// What a script answers in place of the user, for whichever backend is active: queued answers of
// message boxes, file and colour dialogs and colour popups, actions for the next modal dialog of
// a caption, and the log of every message box shown. Headless, the store is always consulted;
// in the window, while a script runs.
#pragma once
#include "platform/UiServices.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CDialog;

struct CMessageRecord
{
    std::string m_Text;
    std::string m_Caption;
    UINT m_Type = 0;
    int m_Result = 0;
    std::string Icon() const;
};

class CScriptedAnswers
{
public:
    using ModalActions = std::function<void(CDialog&)>;

    static CScriptedAnswers& Instance();

    // Forgets queues and the message log.
    void Reset();
    // While a script runs, a window backend takes answers from here instead of asking the user.
    void SetScriptRunning(bool running) { m_ScriptRunning = running; }
    bool ScriptRunning() const { return m_ScriptRunning; }
    // While set, the dialogs of a file opened from the command line or a drop answer as their
    // defaults: modal dialogs close with OK and their initial values, questions take their
    // default button; boxes that only inform are still shown.
    void SetAcceptDefaults(bool accept) { m_AcceptDefaults = accept; }
    bool AcceptDefaults() const { return m_AcceptDefaults; }
    // Whether a message box of this type is answered from here rather than by the user.
    bool AnswersFor(UINT nType) const
    {
        return m_ScriptRunning || (m_AcceptDefaults && (nType & MB_TYPEMASK) != MB_OK);
    }
    // Echoes every message box to standard error as it is shown.
    void SetEcho(bool echo) { m_Echo = echo; }

    void QueueAnswer(int answer) { m_Answers.push_back(answer); }
    void QueueFile(const std::string& path) { m_Files.push_back(path); } // "" = Cancel
    void QueueColor(COLORREF color) { m_Colors.push_back(color); }
    void QueueMenuChoice(UINT id) { m_MenuChoices.push_back(id); } // 0 = dismiss
    // A colour the very next colour dialog answers with, before those queued earlier.
    void QueueColorNext(COLORREF color) { m_Colors.push_front(color); }
    // Actions for the next modal dialog with this caption; afterwards it closes with OK unless
    // the actions ended it.
    void QueueModal(const std::string& caption, ModalActions actions);

    // The answer to a message box: the queued one when it fits the box's buttons, else the
    // default button. Not recorded; Record does that once the box is answered.
    int TakeAnswer(UINT nType);
    bool HasAnswer() const { return !m_Answers.empty(); }
    void Record(const std::string& text, const std::string& caption, UINT nType, int result);
    // The queued file ("" = Cancel); nothing when none is queued.
    std::optional<std::string> TakeFile();
    std::optional<COLORREF> TakeColor();
    std::optional<UINT> TakeMenuChoice();
    // The queued actions for a modal dialog of this caption (taken off the queue); empty if none.
    ModalActions TakeModal(const std::string& caption);
    // Runs the queued actions of a modal dialog, then closes it as a user would: OK unless the
    // actions ended it, Cancel when it refuses OK.
    static void RunAndFinish(CDialog& dlg, const ModalActions& actions);

    const std::vector<CMessageRecord>& Messages() const { return m_Messages; }
    // The texts of the message boxes shown so far, as "icon: text" when withIcon is set.
    std::vector<std::string> MessageTexts(bool withIcon = false) const;
    void ClearMessages() { m_Messages.clear(); }

    // The answer a message box of this type gives when nobody answers: its default button.
    static int DefaultAnswer(UINT nType);
    static bool Offers(UINT nType, int answer);

private:
    std::deque<int> m_Answers;
    std::deque<std::string> m_Files;
    std::deque<COLORREF> m_Colors;
    std::deque<UINT> m_MenuChoices;
    std::vector<std::pair<std::string, ModalActions>> m_Modals;
    std::vector<CMessageRecord> m_Messages;
    bool m_ScriptRunning = false;
    bool m_AcceptDefaults = false;
    bool m_Echo = false;
};

// Accepts the dialogs' defaults for as long as it lives (see SetAcceptDefaults).
class CAcceptDefaults
{
public:
    CAcceptDefaults() : m_Was(CScriptedAnswers::Instance().AcceptDefaults())
    {
        CScriptedAnswers::Instance().SetAcceptDefaults(true);
    }
    ~CAcceptDefaults() { CScriptedAnswers::Instance().SetAcceptDefaults(m_Was); }
    CAcceptDefaults(const CAcceptDefaults&) = delete;
    CAcceptDefaults& operator=(const CAcceptDefaults&) = delete;

private:
    bool m_Was;
};
