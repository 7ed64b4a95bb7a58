// How the wx backend shows a control kind: it builds the window, brings the model's state into
// it and turns user input into the dialog's User... actions. Views are registered under the name
// of their kind (platform/ControlKind.h); platform/wx registers the framework's own kinds, and
// whoever provides another kind registers its view at start-up.
#pragma once
#include <wx/gdicmn.h>

#include <memory>
#include <string>

struct CControlState;
class CWxDialogView;
class wxWindow;

class CWxControlView
{
public:
    virtual ~CWxControlView() = default;
    // A child of view; the caller places it from the template.
    virtual wxWindow* Create(CWxDialogView& view, CControlState& s) const = 0;
    // The window's size from the template's (a drop-down list keeps its natural height).
    virtual wxSize AdjustSize(wxWindow*, wxSize size) const { return size; }
    // Brings the kind's part of the state into the window (enabled and visible are done).
    virtual void Sync(const CControlState& s, wxWindow* w) const = 0;
    // Wraps handlers in view.Guard so that nothing reaches the model while it is being synced.
    virtual void BindEvents(CWxDialogView&, wxWindow*, const CControlState&) const {}
};

class CWxControlViews
{
public:
    static void Register(const std::string& kindName, std::shared_ptr<const CWxControlView> view);
    // Null for a kind without a view (the dialog shows its class name as a label).
    static const CWxControlView* Find(const std::string& kindName);
};
