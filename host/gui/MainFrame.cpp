#include "host/gui/MainFrame.h"

#include "geometry/GeometryFormats.h"
#include "geometry/RegionVolume.h"
#include "host/gui/ViewCanvas.h"
#include "platform/SafeWrite.h"
#include "platform/UiServices.h"
#include "platform/wx/WxBackend.h"

#include <wx/display.h>
#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/textdlg.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace
{
// Files dropped on the window open as File > Open does.
class CFileDrop : public wxFileDropTarget
{
public:
    explicit CFileDrop(CMainFrame& frame) : m_Frame(frame) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override
    {
        for (const wxString& f : files)
            m_Frame.OpenDataFile(f.ToStdString(wxConvUTF8));
        return true;
    }

private:
    CMainFrame& m_Frame;
};

enum
{
    ID_LoadPlugIn = wxID_HIGHEST + 1,
    ID_ExportVRML,
    ID_Fit,
    ID_Perspective,
    ID_BoundingBox,
    ID_Axes,
    ID_Background,
    ID_InterfaceVersion,
    ID_SnapPointSize,
    ID_OpenGeometry,
    ID_OpenFile,
    ID_Legend,
    ID_SectionX,
    ID_SectionY,
    ID_SectionZ,
    ID_SectionPositions,
    ID_CheckGeometry,
    ID_RegionVolume,
    ID_FirstTool = wxID_HIGHEST + 100,
};
// At the screen's left edge, leaving room on the right for a plug-in dialog beside the view.
wxRect FrameRect()
{
    const wxRect area = wxDisplay(0u).GetClientArea();
    const int width = std::clamp(area.width - 650, std::min(560, area.width), 1100);
    return {area.GetLeft(), area.GetTop(), width, std::min(780, area.height)};
}
} // namespace

CMainFrame::CMainFrame(CHost& host, const CHostOptions& options)
    : wxFrame(nullptr, wxID_ANY, "Tessaron", FrameRect().GetPosition(), FrameRect().GetSize()),
      m_Host(host), m_Scene(host)
{
    m_Profile.SetRegistryKey("Wendrik");
    m_Profile.SetAppName("Tessaron");
    m_Scene.Settings().Load(m_Profile);
    BuildMenu();
    m_pToolBar = CreateToolBar(wxTB_HORIZONTAL | wxTB_TEXT | wxTB_NOICONS | wxTB_HORZ_LAYOUT);
    m_pCanvas = new CViewCanvas(this, m_Scene);
    m_pCanvas->SetDropTarget(new CFileDrop(*this));
    m_Host.SetRedrawHandler([this] { m_pCanvas->Refresh(); });
    CreateStatusBar();
    SetStatusText("Left drag: orbit, shift/right drag: pan, wheel: zoom, F: fit to data");
    if (auto* backend = dynamic_cast<CWxBackend*>(&UiBackend()))
        backend->SetPlacement(
            &m_Placement,
            [this]
            {
                const wxRect r = m_pCanvas->GetScreenRect();
                return CRect{r.GetLeft(), r.GetTop(), r.GetRight() + 1, r.GetBottom() + 1};
            });
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    RebuildToolbar();
    for (int axis = 0; axis < 3; ++axis)
        GetMenuBar()->Check(ID_SectionX + axis, m_Host.Geometry().Section(axis).m_On);
    if (!options.m_Geometry.empty()) SetStatusText("Geometry: " + options.m_Geometry);
}

void CMainFrame::BuildMenu()
{
    auto* file = new wxMenu;
    file->Append(ID_OpenFile, "&Open...\tCtrl-O");
    file->Append(ID_OpenGeometry, "Open &geometry...");
    file->Append(ID_LoadPlugIn, "&Load plug-in...");
    file->Append(ID_ExportVRML, "&Export VRML...");
    file->AppendSeparator();
    file->Append(wxID_EXIT, "&Quit\tCtrl-Q");
    auto* view = new wxMenu;
    view->Append(ID_Fit, "&Fit to data\tF");
    view->AppendCheckItem(ID_Perspective, "&Perspective")->Check(true);
    view->AppendSeparator();
    view->AppendCheckItem(ID_Axes, "&Axes and scale")->Check(m_Scene.Settings().m_Axes);
    view->AppendCheckItem(ID_BoundingBox, "&Bounding box")->Check(m_Scene.Settings().m_BoundingBox);
    view->AppendCheckItem(ID_Legend, "&Legend")->Check(m_Host.ShowLegend());
    auto* settings = new wxMenu;
    settings->Append(ID_InterfaceVersion, "Plug-in &interface version...");
    settings->Append(ID_SnapPointSize, "&Snap point size...");
    settings->Append(ID_Background, "&Background colour...");
    auto* geometry = new wxMenu;
    geometry->AppendCheckItem(ID_SectionX, "Section &x")->Check(true);
    geometry->AppendCheckItem(ID_SectionY, "Section &y")->Check(true);
    geometry->AppendCheckItem(ID_SectionZ, "Section &z")->Check(true);
    geometry->Append(ID_SectionPositions, "Section &positions...");
    geometry->AppendSeparator();
    geometry->Append(ID_CheckGeometry, "&Check...");
    geometry->Append(ID_RegionVolume, "&Region volumes...");
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(view, "&View");
    bar->Append(geometry, "&Geometry");
    bar->Append(settings, "&Settings");
    SetMenuBar(bar);
    Bind(wxEVT_MENU, &CMainFrame::OnLoadPlugIn, this, ID_LoadPlugIn);
    Bind(wxEVT_MENU, &CMainFrame::OnOpenGeometry, this, ID_OpenGeometry);
    Bind(wxEVT_MENU, &CMainFrame::OnOpenFile, this, ID_OpenFile);
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent& e)
        {
            m_Host.SetShowLegend(e.IsChecked());
            m_Host.RedrawView();
        },
        ID_Legend);
    for (int axis = 0; axis < 3; ++axis)
        Bind(
            wxEVT_MENU,
            [this, axis](wxCommandEvent& e)
            {
                CHostGeometry& g = m_Host.Geometry();
                g.SetSection(axis, e.IsChecked(), g.Section(axis).m_Position);
                m_pCanvas->Refresh();
            },
            ID_SectionX + axis);
    Bind(wxEVT_MENU, &CMainFrame::OnSectionPositions, this, ID_SectionPositions);
    Bind(wxEVT_MENU, &CMainFrame::OnCheckGeometry, this, ID_CheckGeometry);
    Bind(wxEVT_MENU, &CMainFrame::OnRegionVolume, this, ID_RegionVolume);
    Bind(wxEVT_MENU, &CMainFrame::OnExportVRML, this, ID_ExportVRML);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { m_pCanvas->FitView(); }, ID_Fit);
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent& e)
        {
            m_Scene.Camera().SetProjection(e.IsChecked() ? CCamera::EProjection::Perspective
                                                         : CCamera::EProjection::Orthographic);
            m_pCanvas->Refresh();
        },
        ID_Perspective);
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent& e)
        {
            m_Scene.Settings().m_Axes = e.IsChecked();
            ViewSettingChanged();
        },
        ID_Axes);
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent& e)
        {
            m_Scene.Settings().m_BoundingBox = e.IsChecked();
            ViewSettingChanged();
        },
        ID_BoundingBox);
    Bind(wxEVT_MENU, &CMainFrame::OnBackground, this, ID_Background);
    Bind(wxEVT_MENU, &CMainFrame::OnInterfaceVersion, this, ID_InterfaceVersion);
    Bind(wxEVT_MENU, &CMainFrame::OnSnapPointSize, this, ID_SnapPointSize);
}

// Through the UI backend, so that a script answers (and records) it like any other box.
void CMainFrame::ShowError(const std::string& text)
{
    UiBackend().MessageBox(nullptr, text, "Tessaron", MB_OK | MB_ICONERROR);
}

void CMainFrame::RefreshView()
{
    m_pCanvas->Refresh();
}

void CMainFrame::RebuildToolbar()
{
    m_pToolBar->ClearTools();
    const auto& buttons = m_Host.Buttons();
    for (size_t i = 0; i < buttons.size(); ++i)
    {
        if (buttons[i].m_Removed) continue;
        const int id = ID_FirstTool + static_cast<int>(i);
        m_pToolBar->AddTool(id, wxString::FromUTF8(buttons[i].m_Caption), wxNullBitmap);
        Bind(wxEVT_TOOL, &CMainFrame::OnTool, this, id);
    }
    m_pToolBar->Realize();
}

void CMainFrame::OnTool(wxCommandEvent& event)
{
    const size_t index = static_cast<size_t>(event.GetId() - ID_FirstTool);
    if (index < m_Host.Buttons().size()) m_Host.PressButton(m_Host.Buttons()[index]);
}

void CMainFrame::LoadPlugIn(const std::string& path)
{
    std::string error;
    bool refused = false;
    if (!m_Host.LoadPlugIn(path, error, refused)) ShowError("Cannot load " + path + ":\n" + error);
    RebuildToolbar();
}

void CMainFrame::OnLoadPlugIn(wxCommandEvent&)
{
    wxFileDialog dlg(this, "Load plug-in", "", "", "Plug-ins (*.so)|*.so",
                     wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() == wxID_OK) LoadPlugIn(dlg.GetPath().ToStdString(wxConvUTF8));
}

void CMainFrame::LoadGeometry(const std::string& path)
{
    std::vector<std::string> errors, notes;
    if (!m_Host.Geometry().Load(path, errors, notes))
    {
        std::string text = "The geometry " + path + " was not loaded:";
        for (const std::string& e : errors)
            text += "\n" + e;
        return ShowError(text);
    }
    const CGeometry& g = m_Host.Geometry().Model();
    std::string status = g.Summary();
    for (const std::string& note : notes)
        status += "; " + note;
    SetStatusText(status);
    for (int axis = 0; axis < 3; ++axis)
        GetMenuBar()->Check(ID_SectionX + axis, m_Host.Geometry().Section(axis).m_On);
    m_pCanvas->FitView();
}

void CMainFrame::OpenDataFile(const std::string& path)
{
    std::string message, plugIn;
    if (!m_Host.OpenDataFile(path, "", message, &plugIn)) return ShowError(message);
    SetStatusText(path + ": " + plugIn);
    m_pCanvas->FitView();
}

void CMainFrame::OnOpenFile(wxCommandEvent&)
{
    wxFileDialog dlg(this, "Open", "", "", "All files (*)|*",
                     wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
    if (dlg.ShowModal() != wxID_OK) return;
    wxArrayString paths;
    dlg.GetPaths(paths);
    for (const wxString& p : paths)
        OpenDataFile(p.ToStdString(wxConvUTF8));
}

void CMainFrame::OnOpenGeometry(wxCommandEvent&)
{
    std::string filter;
    for (const CGeometryFormat& format : GeometryFormats())
        filter += std::string(format.m_Filter) + "|";
    wxFileDialog dlg(this, "Open geometry", "", "", filter + "All files (*)|*",
                     wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() == wxID_OK) LoadGeometry(dlg.GetPath().ToStdString(wxConvUTF8));
}

bool CMainFrame::NeedGeometry()
{
    if (m_Host.Geometry().Loaded()) return true;
    ShowError("No geometry is loaded: File > Open geometry... first.");
    return false;
}

void CMainFrame::OnSectionPositions(wxCommandEvent&)
{
    if (!NeedGeometry()) return;
    CHostGeometry& g = m_Host.Geometry();
    const wxString text =
        wxGetTextFromUser("Positions of the x, y and z section planes in cm:", "Tessaron",
                          wxString::Format("%g %g %g", g.Section(0).m_Position,
                                           g.Section(1).m_Position, g.Section(2).m_Position),
                          this);
    double p[3];
    if (text.empty() || std::sscanf(text.utf8_str(), "%lf %lf %lf", &p[0], &p[1], &p[2]) != 3)
        return;
    for (int axis = 0; axis < 3; ++axis)
        g.SetSection(axis, g.Section(axis).m_On, p[axis]);
    m_pCanvas->Refresh();
}

void CMainFrame::OnCheckGeometry(wxCommandEvent&)
{
    if (!NeedGeometry()) return;
    const CGeometry& g = m_Host.Geometry().Model();
    const CBox box = g.InnerBounds();
    if (box.IsEmpty() || !box.IsFinite())
        return ShowError(std::string("The ") + NoExtentMessage + ".");
    constexpr int Cells = 60;
    std::string text;
    for (const CGeometryProblem& p : CheckGeometry(g, box, Cells))
        text += ProblemText(g, p) + "\n";
    if (text.empty())
    {
        text = NoProblemText(Cells) + ".";
        text[0] = 'N';
    }
    UiBackend().MessageBox(nullptr, text, "Geometry check", MB_OK | MB_ICONINFORMATION);
}

void CMainFrame::OnRegionVolume(wxCommandEvent&)
{
    if (!NeedGeometry()) return;
    const CGeometry& g = m_Host.Geometry().Model();
    const wxString name = wxGetTextFromUser("Region:", "Region volumes",
                                            wxString::FromUTF8(g.m_Regions.front().m_Name), this);
    if (name.empty()) return;
    const int region = g.RegionIndex(name.ToStdString(wxConvUTF8));
    CVolumeEstimate e;
    if (region < 0) return ShowError("There is no region " + name.ToStdString(wxConvUTF8) + ".");
    if (!EstimateRegionVolume(g, region, 1000000, 1, e))
        return ShowError("The region is unbounded: it has no volume.");
    UiBackend().MessageBox(nullptr, g.m_Regions[region].m_Name + ": " + VolumeText(e),
                           "Region volumes", MB_OK | MB_ICONINFORMATION);
}

void CMainFrame::OnExportVRML(wxCommandEvent&)
{
    wxFileDialog dlg(this, "Export VRML", "", "scene.wrl", "VRML97 (*.wrl)|*.wrl",
                     wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return;
    CSafeOutput out(dlg.GetPath().ToStdString(wxConvUTF8));
    if (out.IsOpen()) m_Host.ExportVRML(out.Stream());
    if (!out.Commit()) ShowError("The VRML file could not be written: " + out.Error());
}

void CMainFrame::OnInterfaceVersion(wxCommandEvent&)
{
    const wxString text =
        wxGetTextFromUser("Interface version reported to plug-ins loaded from now on:", "Tessaron",
                          wxString::Format("%.1f", m_Host.GetInterfaceVersion()), this);
    double v = 0;
    if (!text.empty() && text.ToCDouble(&v)) m_Host.SetInterfaceVersion(v);
}

void CMainFrame::OnSnapPointSize(wxCommandEvent&)
{
    const wxString text = wxGetTextFromUser("Snap point size:", "Tessaron",
                                            wxString::Format("%g", m_Host.m_SnapPointSize), this);
    double v = 0;
    if (!text.empty() && text.ToCDouble(&v))
    {
        m_Host.m_SnapPointSize = static_cast<float>(v);
        m_pCanvas->Refresh();
    }
}

// The colour chosen is the middle of the background's gradient.
void CMainFrame::OnBackground(wxCommandEvent&)
{
    CVector& bg = m_Scene.Settings().m_Background;
    auto byte = [](double v)
    { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    COLORREF color = RGB(byte(bg.x), byte(bg.y), byte(bg.z));
    if (!UiBackend().ColorDialog(nullptr, color, 0)) return;
    bg = {GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0};
    ViewSettingChanged();
}

void CMainFrame::ViewSettingChanged()
{
    if (!m_Scene.Settings().Save(m_Profile))
        SetStatusText("The view settings could not be saved in " + m_Profile.Path());
    m_pCanvas->Refresh();
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    // The plug-ins' dialogs are windows of this process: they go before the frame does, and leave
    // their positions behind as they go.
    m_Host.SetRedrawHandler({});
    m_Host.UnloadAll();
    if (auto* backend = dynamic_cast<CWxBackend*>(&UiBackend())) backend->SetPlacement(nullptr, {});
    event.Skip();
}
