#include "platform/wx/WxBackend.h"

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/DialogPlacement.h"
#include "platform/ScriptedAnswers.h"
#include "platform/wx/WxDialogView.h"

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/colordlg.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <filesystem>

namespace
{
wxString Wx(const std::string& s)
{
    return wxString::FromUTF8(s);
}

class CDialogTimer : public wxTimer
{
public:
    CDialogTimer(CDialog& dlg, UINT_PTR id) : m_Dlg(dlg), m_Id(id) {}
    void Notify() override { m_Dlg.OnTimer(m_Id); }

private:
    CDialog& m_Dlg;
    UINT_PTR m_Id;
};
// Hands a copy on to the system clipboard: the bitmap as an image, the vector image as SVG.
void ToSystemClipboard(const CClipboardData& data)
{
    if (!wxTheClipboard->Open()) return;
    if (!data.m_Rgb.empty())
    {
        wxImage image(data.m_Width, data.m_Height);
        std::copy(data.m_Rgb.begin(), data.m_Rgb.end(), image.GetData());
        wxTheClipboard->SetData(new wxBitmapDataObject(wxBitmap(image)));
    }
    else if (!data.m_Svg.empty())
    {
        auto* svg = new wxCustomDataObject(wxDataFormat("image/svg+xml"));
        svg->SetData(data.m_Svg.size(), data.m_Svg.data());
        wxTheClipboard->SetData(svg);
    }
    else
        wxTheClipboard->Clear();
    wxTheClipboard->Close();
}
} // namespace

CWxBackend::CWxBackend()
{
    SetClipboardSink(ToSystemClipboard);
}

CWxBackend::~CWxBackend()
{
    SetClipboardSink(nullptr);
    m_Timers.clear();
    for (auto& [dlg, view] : m_Views)
        view->Detach();
}

wxWindow* CWxBackend::Owner(CDialog* pOwner) const
{
    if (pOwner)
        if (auto it = m_Views.find(pOwner); it != m_Views.end()) return it->second;
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

CWxDialogView* CWxBackend::ViewOf(CDialog& dlg, bool create)
{
    if (auto it = m_Views.find(&dlg); it != m_Views.end()) return it->second;
    if (!create) return nullptr;
    auto* view = new CWxDialogView(Owner(dlg.GetParent()), dlg);
    m_Views[&dlg] = view;
    Place(dlg, *view);
    return view;
}

void CWxBackend::SetPlacement(CDialogPlacement* pPlacement, std::function<CRect()> viewOnScreen)
{
    m_pPlacement = pPlacement;
    m_ViewOnScreen = std::move(viewOnScreen);
}

void CWxBackend::Place(CDialog& dlg, CWxDialogView& view) const
{
    if (!m_pPlacement || !m_ViewOnScreen || dlg.GetParent()) return;
    const int display = wxDisplay::GetFromWindow(wxTheApp->GetTopWindow());
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    const CRect screen{area.GetLeft(), area.GetTop(), area.GetRight() + 1, area.GetBottom() + 1};
    const wxSize size = view.GetSize();
    const CRect where =
        m_pPlacement->Place(dlg.GetTemplate().m_Caption, size.x, size.y, m_ViewOnScreen(), screen);
    view.SetPosition(wxPoint(where.left, where.top));
}

void CWxBackend::KeepPosition(CDialog& dlg)
{
    CWxDialogView* view = ViewOf(dlg, false);
    if (!m_pPlacement || !view || dlg.GetParent() || !view->IsShown()) return;
    const wxPoint at = view->GetPosition();
    m_pPlacement->Remember(dlg.GetTemplate().m_Caption, at.x, at.y);
}

std::string CWxBackend::WxFilter(const std::string& filter)
{
    std::string f = filter;
    while (!f.empty() && f.back() == '|')
        f.pop_back();
    return f;
}

// While a script runs, nobody may be there to answer a native box: the script's queued answer
// or the box's default button answers it, as in the headless backend.
int CWxBackend::MessageBox(CDialog* pOwner, const std::string& text, const std::string& caption,
                           UINT nType)
{
    CScriptedAnswers& script = CScriptedAnswers::Instance();
    const int result = script.AnswersFor(nType) ? script.TakeAnswer(nType)
                                                : ShowMessageBox(pOwner, text, caption, nType);
    script.Record(text, caption, nType, result);
    return result;
}

int CWxBackend::ShowMessageBox(CDialog* pOwner, const std::string& text, const std::string& caption,
                               UINT nType)
{
    long style = 0;
    switch (nType & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        style = wxOK | wxCANCEL;
        break;
    case MB_YESNO:
        style = wxYES_NO;
        break;
    case MB_YESNOCANCEL:
        style = wxYES_NO | wxCANCEL;
        break;
    default:
        style = wxOK;
        break;
    }
    switch (nType & MB_ICONMASK)
    {
    case MB_ICONERROR:
        style |= wxICON_ERROR;
        break;
    case MB_ICONWARNING:
        style |= wxICON_WARNING;
        break;
    case MB_ICONQUESTION:
        style |= wxICON_QUESTION;
        break;
    case MB_ICONINFORMATION:
        style |= wxICON_INFORMATION;
        break;
    default:
        break;
    }
    if ((nType & MB_DEFMASK) == MB_DEFBUTTON2)
        style |= (nType & MB_TYPEMASK) == MB_OKCANCEL ? wxCANCEL_DEFAULT : wxNO_DEFAULT;
    wxMessageDialog box(Owner(pOwner), Wx(text), Wx(caption), style);
    switch (box.ShowModal())
    {
    case wxID_CANCEL:
        return IDCANCEL;
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    default:
        return IDOK;
    }
}

bool CWxBackend::FileDialog(CDialog* pOwner, CFileDialogRequest& request)
{
    CScriptedAnswers& script = CScriptedAnswers::Instance();
    if (!script.ScriptRunning()) return ShowFileDialog(pOwner, request);
    request.m_Result = script.TakeFile().value_or("");
    return !request.m_Result.empty();
}

bool CWxBackend::ShowFileDialog(CDialog* pOwner, CFileDialogRequest& request)
{
    long style = request.m_Open ? wxFD_OPEN : wxFD_SAVE;
    if (request.m_Open && (request.m_Flags & OFN_FILEMUSTEXIST)) style |= wxFD_FILE_MUST_EXIST;
    if (!request.m_Open && (request.m_Flags & OFN_OVERWRITEPROMPT)) style |= wxFD_OVERWRITE_PROMPT;
    std::filesystem::path initial(request.m_FileName);
    std::string dir =
        request.m_InitialDir.empty() ? initial.parent_path().string() : request.m_InitialDir;
    std::string filter = WxFilter(request.m_Filter);
    if (filter.empty()) filter = "All Files (*.*)|*";
    wxFileDialog dlg(
        Owner(pOwner),
        Wx(request.m_Title.empty() ? (request.m_Open ? "Open" : "Save As") : request.m_Title),
        Wx(dir), Wx(initial.filename().string()), Wx(filter), style);
    if (dlg.ShowModal() != wxID_OK) return false;
    std::filesystem::path chosen(dlg.GetPath().ToStdString(wxConvUTF8));
    std::string ext = request.m_DefExt;
    if (ext.starts_with("*.")) ext = ext.substr(2);
    if (!ext.empty() && chosen.extension().empty()) chosen += "." + ext;
    request.m_Result = chosen.string();
    return true;
}

UINT CWxBackend::PopupMenu(CDialog* pOwner, int nCtrlId, const std::vector<CPopupMenuItem>& items)
{
    if (CScriptedAnswers::Instance().ScriptRunning() || !pOwner)
        return CUiBackend::PopupMenu(pOwner, nCtrlId, items);
    auto* view = dynamic_cast<CWxDialogView*>(pOwner->GetView());
    wxWindow* control = view ? view->ControlWindow(nCtrlId) : nullptr;
    if (!control) return 0;
    wxMenu menu;
    for (size_t i = 0; i < items.size(); ++i)
        menu.Append(static_cast<int>(i + 1), Wx(items[i].m_Text));
    const int chosen = control->GetPopupMenuSelectionFromUser(menu, 0, control->GetSize().y);
    return chosen > 0 && chosen <= static_cast<int>(items.size()) ? items[chosen - 1].m_Id : 0;
}

bool CWxBackend::ColorDialog(CDialog* pOwner, COLORREF& color, DWORD flags)
{
    CScriptedAnswers& script = CScriptedAnswers::Instance();
    if (!script.ScriptRunning()) return ShowColorDialog(pOwner, color, flags);
    const auto queued = script.TakeColor();
    if (queued) color = *queued;
    return queued.has_value();
}

bool CWxBackend::ShowColorDialog(CDialog* pOwner, COLORREF& color, DWORD flags)
{
    wxColourData data;
    data.SetChooseFull((flags & CC_FULLOPEN) != 0);
    data.SetColour(wxColour(GetRValue(color), GetGValue(color), GetBValue(color)));
    wxColourDialog dlg(Owner(pOwner), &data);
    if (dlg.ShowModal() != wxID_OK) return false;
    const wxColour c = dlg.GetColourData().GetColour();
    color = RGB(c.Red(), c.Green(), c.Blue());
    return true;
}

wxWindow* CWxBackend::ControlWindow(CDialog& dlg, int id)
{
    CWxDialogView* view = ViewOf(dlg, false);
    return view ? view->ControlWindow(id) : nullptr;
}

INT_PTR CWxBackend::RunModal(CDialog& dlg)
{
    dlg.Initialize(true);
    if (!dlg.IsEnded())
    {
        CWxDialogView* view = ViewOf(dlg, true);
        dlg.ShowWindow(SW_SHOW);
        // Queued actions run inside the dialog's own loop, as a user's would.
        if (auto actions = CScriptedAnswers::Instance().TakeModal(dlg.GetCaption()))
            view->CallAfter([&dlg, actions] { CScriptedAnswers::RunAndFinish(dlg, actions); });
        view->ShowModal();
        if (!dlg.IsEnded()) dlg.EndDialog(IDCANCEL);
    }
    DialogDestroyed(dlg);
    return dlg.GetResult();
}

void CWxBackend::DialogDestroyed(CDialog& dlg)
{
    std::erase_if(m_Timers, [&](const CTimer& t) { return t.m_pDlg == &dlg; });
    KeepPosition(dlg);
    if (auto it = m_Views.find(&dlg); it != m_Views.end())
    {
        CWxDialogView* view = it->second;
        m_Views.erase(it);
        view->Detach();
    }
}

void CWxBackend::DialogShown(CDialog& dlg, bool show)
{
    if (show)
        ViewOf(dlg, true);
    else
        KeepPosition(dlg);
}

void CWxBackend::BeginWaitCursor()
{
    wxBeginBusyCursor();
}
void CWxBackend::EndWaitCursor()
{
    if (wxIsBusy()) wxEndBusyCursor();
}

void CWxBackend::StartTimer(CDialog& dlg, UINT_PTR id, UINT elapseMs)
{
    StopTimer(dlg, id);
    auto timer = std::make_unique<CDialogTimer>(dlg, id);
    timer->Start(static_cast<int>(std::max<UINT>(elapseMs, 1)));
    m_Timers.push_back({&dlg, id, std::move(timer)});
}

void CWxBackend::StopTimer(CDialog& dlg, UINT_PTR id)
{
    std::erase_if(m_Timers, [&](const CTimer& t) { return t.m_pDlg == &dlg && t.m_Id == id; });
}

void CWxBackend::DeliverTimerTicks(int count)
{
    DeliverTicksInOrder(count,
                        [this]
                        {
                            TimerList timers;
                            for (const auto& t : m_Timers)
                                timers.emplace_back(t.m_pDlg, t.m_Id);
                            return timers;
                        });
}

void CWxBackend::Refresh()
{
    // Repaints only (no user input), at most ten times a second.
    const unsigned long now = GetTickCount();
    if (!wxTheApp || now - m_LastRefresh < 100) return;
    m_LastRefresh = now;
    wxTheApp->SafeYieldFor(nullptr, wxEVT_CATEGORY_UI);
}
