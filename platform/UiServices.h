// The services the dialog framework offers besides dialogs: message boxes, file and colour
// dialogs, the wait cursor and window timers. One backend serves them per process; the headless
// backend is active until a host installs another.
#pragma once
#include "platform/Win.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CDialog;

struct CFileDialogRequest
{
    bool m_Open = true;
    std::string m_DefExt;
    std::string m_FileName; // initial name or path
    std::string m_Filter;   // "Name|*.ext|...|"
    std::string m_InitialDir;
    std::string m_Title;
    DWORD m_Flags = 0;
    std::string m_Result; // chosen path on OK
};

// An item of a popup menu: the command id it sends and its text.
struct CPopupMenuItem
{
    UINT m_Id = 0;
    std::string m_Text;
};

class CUiBackend
{
public:
    virtual ~CUiBackend() = default;
    virtual int MessageBox(CDialog* pOwner, const std::string& text, const std::string& caption,
                           UINT nType) = 0;
    virtual bool FileDialog(CDialog* pOwner, CFileDialogRequest& request) = 0;
    virtual bool ColorDialog(CDialog* pOwner, COLORREF& color, DWORD flags) = 0;
    virtual INT_PTR RunModal(CDialog& dlg) = 0;
    virtual void DialogCreated(CDialog& dlg) = 0;
    virtual void DialogDestroyed(CDialog& dlg) = 0;
    virtual void DialogShown(CDialog& dlg, bool show) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual void StartTimer(CDialog& dlg, UINT_PTR id, UINT elapseMs) = 0;
    virtual void StopTimer(CDialog& dlg, UINT_PTR id) = 0;
    // Delivers count ticks to every running dialog timer at once (scripts use it), in the order
    // they were started.
    virtual void DeliverTimerTicks(int count) = 0;
    // Lets a window repaint during long synchronous work (progress bars); may do nothing.
    virtual void Refresh() {}
    // Shows a popup menu below the control and returns the chosen item's id, 0 when dismissed.
    // Without a window the scripted choice answers (none queued: dismissed).
    virtual UINT PopupMenu(CDialog* pOwner, int nCtrlId, const std::vector<CPopupMenuItem>& items);
};

// Backends' DeliverTimerTicks: count rounds over the timers running (in start order); a timer
// that an earlier tick of the round stopped is passed over.
using TimerList = std::vector<std::pair<CDialog*, UINT_PTR>>;
void DeliverTicksInOrder(int count, const std::function<TimerList()>& running);

CUiBackend& UiBackend();
// Installs a backend (nullptr goes back to the headless one); the caller keeps ownership.
void SetUiBackend(CUiBackend* pBackend);

// A popup menu below a dialog's control; the chosen item's id, or 0 (nothing chosen, or an id
// that is not in the menu).
UINT TrackPopupMenu(CDialog* pOwner, int nCtrlId, const std::vector<CPopupMenuItem>& items);

// Message box with the application's caption; returns IDOK, IDCANCEL, IDYES or IDNO.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK);
// The icon of a message-box type as a word: information, warning, error, question or none.
const char* MessageIconName(UINT nType);
// The caption message boxes carry (the plug-in's name); set by the application object.
void AfxSetAppName(const std::string& name);
const std::string& AfxGetAppName();

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

enum : DWORD
{
    OFN_READONLY = 0x1,
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
    OFN_ALLOWMULTISELECT = 0x200,
};

class CFileDialog
{
public:
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
                const char* lpszFileName = nullptr, DWORD dwFlags = OFN_HIDEREADONLY,
                const char* lpszFilter = nullptr, CDialog* pParentWnd = nullptr);
    INT_PTR DoModal();
    std::string GetPathName() const { return m_Request.m_Result; }
    std::string GetFileName() const;
    std::string GetFileExt() const;
    std::string GetFolderPath() const;
    void SetInitialDir(const std::string& dir) { m_Request.m_InitialDir = dir; }
    void SetTitle(const std::string& title) { m_Request.m_Title = title; }

private:
    CFileDialogRequest m_Request;
    CDialog* m_pParent;
};

enum : DWORD
{
    CC_RGBINIT = 0x1,
    CC_FULLOPEN = 0x2,
    CC_ANYCOLOR = 0x100,
};

class CColorDialog
{
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CDialog* pParentWnd = nullptr)
        : m_Color(clrInit), m_Flags(dwFlags), m_pParent(pParentWnd)
    {
    }
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_Color; }

private:
    COLORREF m_Color;
    DWORD m_Flags;
    CDialog* m_pParent;
};

// Shows the wait cursor for its lifetime (End ends it early).
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void End();

private:
    bool m_Active = true;
};
