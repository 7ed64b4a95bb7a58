// The dialog model: a dialog built from a template keeps the state of every control, routes
// user input to handler member functions and tells its view (if a backend shows it) what changed.
#pragma once
#include "platform/ControlKind.h"
#include "platform/DialogTemplate.h"
#include "platform/Win.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class CDataExchange;
class CWnd;

struct CListItem
{
    std::string m_Text;
    std::uintptr_t m_Data = 0;
    int m_Check = 0;
    int m_Image = -1;                    // list view icon index
    std::vector<std::string> m_SubItems; // list view columns 1..n
};

struct CListColumn
{
    std::string m_Heading;
    int m_Width = 100;
};

// The icons of a list view's rows, in the order of the image list that backends show.
enum class EListIcon : int
{
    Information = 0,
    Warning = 1,
    Error = 2,
};

// Everything a control shows; changed only through CDialog and the control handles. The fields
// below the common part serve the framework's own kinds; other kinds keep theirs in KindState.
struct CControlState
{
    CCtrlTemplate m_Template;
    std::string m_Text;
    bool m_Enabled = true;
    bool m_Visible = true;
    std::string m_ToolTip;

    int m_Check = 0;
    bool m_ReadOnly = false;
    std::vector<CListItem> m_Items;
    std::vector<CListColumn> m_Columns;
    int m_Sel = -1;
    int m_VisibleRow = -1;                              // list view: the row scrolled to
    int m_Min = 0, m_Max = 100, m_Pos = 0, m_Step = 10; // slider and progress

    std::shared_ptr<const CControlKind> m_pKind;
    std::unique_ptr<CControlKindState> m_pKindState;

    int Id() const { return m_Template.m_Id; }
    ECtrlKind Kind() const { return m_Template.m_Kind; }
    const CControlKind& ControlKind() const
    {
        return m_pKind ? *m_pKind : *CControlKinds::Fallback();
    }
    bool Has(unsigned style) const { return (m_Template.m_Style & style) != 0; }
    // The state of kind T (which names itself in T::KindName), or null for another kind.
    template <class T> T* KindState() const
    {
        return m_pKindState && ControlKind().Name() == T::KindName
                   ? static_cast<T*>(m_pKindState.get())
                   : nullptr;
    }
    // The control's value as one line of text (used by batch printing and tests).
    std::string Describe() const { return ControlKind().Describe(*this); }
};

// What a backend shows of a dialog; the model calls it after every change.
class IDialogView
{
public:
    virtual ~IDialogView() = default;
    virtual void OnControlChanged(int id) = 0;
    virtual void OnShow(bool show) = 0;
    virtual void OnCaptionChanged() = 0;
};

class CDialog
{
public:
    explicit CDialog(CDlgTemplate tmpl, CDialog* pParent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Modeless: controls and OnInitDialog now, hidden until ShowWindow.
    BOOL Create(CDialog* pParent = nullptr);
    // Modal: the backend shows the dialog and returns IDOK, IDCANCEL or the EndDialog value.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    void ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const { return m_Visible; }
    bool IsModal() const { return m_Modal; }
    bool IsEnded() const { return m_Ended; }
    int GetResult() const { return m_nResult; }
    bool IsCreated() const { return m_Created; }

    const CDlgTemplate& GetTemplate() const { return m_Template; }
    const std::string& GetCaption() const { return m_Caption; }
    void SetWindowText(const std::string& caption);
    CDialog* GetParent() const { return m_pParent; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, int nCtrlId);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, int nCtrlId);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Controls.
    CControlState* FindItem(int id);
    const CControlState* FindItem(int id) const;
    CControlState& Item(int id); // a detached dummy (and a report) for an unknown id
    const std::vector<std::unique_ptr<CControlState>>& Items() const { return m_Items; }
    CWnd GetDlgItem(int id);
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void CheckDlgButton(int id, int nCheck);
    int IsDlgButtonChecked(int id) const;
    void EnableDlgItem(int id, bool enable);
    // Called after a control's state changed, so that a view can follow.
    void ControlChanged(int id);

    // Timers run on the backend; ticks arrive as OnTimer.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse);
    BOOL KillTimer(UINT_PTR nIDEvent);
    const std::set<UINT_PTR>& Timers() const { return m_Timers; }

    // Items the dialog adds to its system (window) menu; choosing one calls OnSysCommand.
    void AppendSystemMenuItem(UINT nID, const std::string& text);
    const std::vector<std::pair<UINT, std::string>>& SystemMenuItems() const { return m_SysMenu; }
    virtual void OnSysCommand(UINT nID);

    // Messages sent to the dialog window (custom control notifications).
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // What a user does; each updates the state as a user would and fires the notifications.
    // They return false (and change nothing) when a user could not do it.
    bool UserSetText(int id, const std::string& text);
    bool UserClick(int id);
    bool UserSetCheck(int id, int nCheck);
    bool UserCheckItem(int id, int index, int nCheck);
    bool UserSelect(int id, int index);
    bool UserSlider(int id, int pos);
    bool UserRightClick(int id, int index);
    // The control a user could act on now; null (and a report) when it is missing, disabled or
    // hidden. For user actions of kinds beyond the framework's own.
    CControlState* UsableItem(int id);
    bool UserSysCommand(UINT nID);
    void UserClose() { OnCancel(); }
    void Notify(int id, int code);

    void SetView(IDialogView* pView) { m_pView = pView; }
    IDialogView* GetView() const { return m_pView; }
    // Order of the latest show among all dialogs (0 when never shown).
    unsigned long ShowSerial() const { return m_ShowSerial; }

    // Every dialog alive in this process, oldest first.
    static const std::vector<CDialog*>& AllDialogs();
    static CDialog* TopmostShown();
    static CDialog* FindShown(const std::string& caption);

    // Sets up the control states from the template; backends call it before OnInitDialog.
    void InitControls();
    // InitControls, OnInitDialog; used by Create and by the backends for modal dialogs.
    void Initialize(bool modal);

    // Handler registration: by dialogs in their constructor, and by control objects that
    // react to their own notifications.
    using Handler = std::function<void()>;
    void MapCommand(int id, int code, Handler handler);
    template <class T> void MapCommand(int id, int code, void (T::*pfn)())
    {
        MapCommand(id, code, [this, pfn] { (static_cast<T*>(this)->*pfn)(); });
    }
    template <class T> void OnClicked(int id, void (T::*pfn)()) { MapCommand(id, BN_CLICKED, pfn); }
    void MapMessage(UINT msg, std::function<LRESULT(WPARAM, LPARAM)> handler);

private:
    bool CanUse(const CControlState* pState, int id) const;

    CDlgTemplate m_Template;
    std::string m_Caption;
    CDialog* m_pParent = nullptr;
    std::vector<std::unique_ptr<CControlState>> m_Items;
    std::map<std::pair<int, int>, Handler> m_Commands;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> m_Messages;
    std::set<UINT_PTR> m_Timers;
    std::vector<std::pair<UINT, std::string>> m_SysMenu;
    IDialogView* m_pView = nullptr;
    bool m_Created = false, m_Modal = false, m_Ended = false, m_Visible = false;
    int m_nResult = 0;
    unsigned long m_ShowSerial = 0;
};
