// A dialog template shown as a wxDialog: widgets are built from the control states, user input
// goes to the dialog model, and model changes come back into the widgets.
#pragma once
#include "platform/Dialog.h"

#include <wx/dialog.h>

#include <map>
#include <utility>
#include <vector>

class CWxDialogView : public wxDialog, public IDialogView
{
public:
    CWxDialogView(wxWindow* parent, CDialog& dlg);
    ~CWxDialogView() override;

    void OnControlChanged(int id) override;
    void OnShow(bool show) override;
    void OnCaptionChanged() override;
    // The model is going away; the window follows.
    void Detach();
    CDialog& Model() { return m_Dlg; }
    // Whether user input may reach the model now (not while the model is being synced).
    bool Live() const { return !m_Syncing && !m_Detached; }
    template <class F> auto Guard(F fn)
    {
        return [this, fn](auto& event)
        {
            if (Live()) fn(event);
        };
    }
    wxWindow* ControlWindow(int id) const
    {
        auto it = m_Windows.find(id);
        return it == m_Windows.end() ? nullptr : it->second;
    }
    // Every control's window in template order, labels without an id included.
    const std::vector<std::pair<const CControlState*, wxWindow*>>& Placed() const
    {
        return m_Placed;
    }

private:
    wxWindow* CreateControl(CControlState& state);
    void Sync(const CControlState& state, wxWindow* w);
    void OnCloseWindow(wxCloseEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);

    CDialog& m_Dlg;
    std::map<int, wxWindow*> m_Windows;
    std::vector<std::pair<const CControlState*, wxWindow*>> m_Placed;
    bool m_Syncing = false;
    bool m_Detached = false;
};
