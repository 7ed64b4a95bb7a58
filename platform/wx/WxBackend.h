// The backend with real windows: message boxes, file and colour dialogs, timers and the wait
// cursor through wxWidgets, and every dialog template shown as a wxDialog.
#pragma once
#include "platform/UiServices.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CControlState;
class CDialog;
class CDialogPlacement;
struct CRect;
class CWxDialogView;
class wxTimer;
class wxWindow;

class CWxBackend : public CUiBackend
{
public:
    CWxBackend();
    ~CWxBackend() override;

    int MessageBox(CDialog* pOwner, const std::string& text, const std::string& caption,
                   UINT nType) override;
    bool FileDialog(CDialog* pOwner, CFileDialogRequest& request) override;
    bool ColorDialog(CDialog* pOwner, COLORREF& color, DWORD flags) override;
    UINT PopupMenu(CDialog* pOwner, int nCtrlId, const std::vector<CPopupMenuItem>& items) override;
    INT_PTR RunModal(CDialog& dlg) override;
    void DialogCreated(CDialog&) override {}
    void DialogDestroyed(CDialog& dlg) override;
    void DialogShown(CDialog& dlg, bool show) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void StartTimer(CDialog& dlg, UINT_PTR id, UINT elapseMs) override;
    void StopTimer(CDialog& dlg, UINT_PTR id) override;
    void DeliverTimerTicks(int count) override;
    void Refresh() override;

    // The window of control id of a shown dialog (null when it has none).
    wxWindow* ControlWindow(CDialog& dlg, int id);
    // A view destroyed by wx itself.
    void ForgetView(CDialog& dlg) { m_Views.erase(&dlg); }

    // Parentless dialogs (the plug-ins' main dialogs) open where the placement says, beside the
    // view whose screen rectangle viewOnScreen gives, and leave their position there on hiding.
    void SetPlacement(CDialogPlacement* pPlacement, std::function<CRect()> viewOnScreen);

    // The wx filter of a "Name|*.ext|...|" filter string.
    static std::string WxFilter(const std::string& filter);

private:
    wxWindow* Owner(CDialog* pOwner) const;
    CWxDialogView* ViewOf(CDialog& dlg, bool create);
    void Place(CDialog& dlg, CWxDialogView& view) const;
    void KeepPosition(CDialog& dlg);

    std::map<CDialog*, CWxDialogView*> m_Views;
    struct CTimer
    {
        CDialog* m_pDlg;
        UINT_PTR m_Id;
        std::unique_ptr<wxTimer> m_pTimer;
    };

    int ShowMessageBox(CDialog* pOwner, const std::string& text, const std::string& caption,
                       UINT nType);
    bool ShowFileDialog(CDialog* pOwner, CFileDialogRequest& request);
    bool ShowColorDialog(CDialog* pOwner, COLORREF& color, DWORD flags);

    std::vector<CTimer> m_Timers; // in the order they were started
    unsigned long m_LastRefresh = 0;
    CDialogPlacement* m_pPlacement = nullptr;
    std::function<CRect()> m_ViewOnScreen;
};
