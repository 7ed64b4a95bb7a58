// Every dialog of the plug-ins as the wx backend lays it out: each control lies inside the
// client area and overlaps none of its neighbours (a group box may hold controls; they lie
// wholly inside it). Runs under a virtual X server; a new dialog is one line in Dialogs().
#include "cloud/CloudConfigDlg.h"
#include "cloud/EnergyHistoDlg.h"
#include "cloud/Nebulo3DDlg.h"
#include "cloud/ParticleDataReader.h"
#include "common/ConfigDlg.h"
#include "common/wx/WxColorPicker.h"
#include "isodump/IsodumpReaderDlg.h"
#include "isodump/LogDlg.h"
#include "isodump/StatisticsMenuDlg.h"
#include "isotopes/BarChartDlg.h"
#include "isotopes/IsotopeConfigDlg.h"
#include "isotopes/Nuclira3DDlg.h"
#include "isotopes/WeightStatConfigDlg.h"
#include "platform/Profile.h"
#include "platform/wx/WxBackend.h"
#include "platform/wx/WxDialogView.h"
#include "testkit/FakeHost.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/Trakor3DDlg.h"
#include "volume/DataOptionsDlg.h"
#include "volume/SettingsDlg.h"
#include "volume/Volumira3DDlg.h"
#include "volume/analysis/AvgVolumeConfigDlg.h"
#include "volume/analysis/DataSrcDlg.h"
#include "volume/analysis/NewChartDlg.h"
#include "volume/analysis/ProfileExtractionDlgs.h"
#include "volume/analysis/RebinningParamsDlg.h"
#include "volume/averaging/CalcFLUKAAverageDlg.h"
#include "volume/averaging/UserDefWeightsDlg.h"
#include "volume/display/ContourConfigDlg.h"
#include "volume/expressions/NormalizationDlg.h"
#include "volume/loading/MCNPXImportOptionsDlg.h"
#include "volume/loading/MeshtalBinDlg.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/init.h>

#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{
struct CDialogCase
{
    std::string m_Name;
    std::function<std::unique_ptr<CDialog>()> m_Make;
};

void PrintTo(const CDialogCase& c, std::ostream* out)
{
    *out << c.m_Name;
}

template <class T, class... Args> std::function<std::unique_ptr<CDialog>()> Make(Args... args)
{
    return [=] { return std::make_unique<T>(args...); };
}

// What the dialogs show: empty data, a fake host and the test's settings.
testkit::CFakeHost g_Host;
CProfile g_Profile;
trakor3d::CParticleDataReader g_Tracks;
volumira3d::CVoxelGrid g_Grid;
nebulo3d::CParticleDataReader g_Cloud;
volumira3d::CVolumeSettings g_VolumeSettings(&g_Profile);
std::vector<volumira3d::CMCNPXDescriptor> g_DataSets(2);
std::vector<std::string> g_Runs{"run1", "run2"};
std::map<std::string, double> g_Weights;
volumira3d::CDisplayState g_Display;

const std::vector<CDialogCase>& Dialogs()
{
    static const std::vector<CDialogCase> dialogs = {
        {"Trakor3D", Make<trakor3d::CTrakor3DDlg>(&g_Tracks, &g_Host)},
        {"Configuration", Make<CConfigDlg>(nullptr)},
        {"Volumira3D", Make<volumira3d::CVolumira3DDlg>(&g_Host, &g_Profile)},
        {"Normalization", Make<volumira3d::CNormalizationDlg>(nullptr)},
        {"DataOptions", Make<volumira3d::CDataOptionsDlg>(&g_Grid, nullptr)},
        {"Settings", Make<volumira3d::CSettingsDlg>(nullptr)},
        {"ContourConfig", Make<volumira3d::CContourConfigDlg>(nullptr)},
        {"MCNPXDataSets",
         Make<volumira3d::CMCNPXImportOptionsDlg>(g_DataSets, &g_VolumeSettings, nullptr)},
        {"UserDefWeights",
         Make<volumira3d::CUserDefWeightsDlg>(&g_Runs, &g_Weights, &g_VolumeSettings, nullptr)},
        {"AverageFluka", Make<volumira3d::CCalcFLUKAAverageDlg>(&g_VolumeSettings, nullptr)},
        {"DataSource", Make<volumira3d::CDataSrcDlg>(0, nullptr)},
        {"Rebinning",
         [] { return std::make_unique<volumira3d::CRebinningParamsDlg>(g_Grid, nullptr); }},
        {"ProfileExtraction",
         [] {
             return std::make_unique<volumira3d::CProfileExtractionDlg>(g_Grid, g_Display, nullptr);
         }},
        {"AvgVolumeConfig",
         []
         {
             return std::make_unique<volumira3d::CAvgVolumeConfigDlg>(volumira3d::CIndex3{1, 1, 1},
                                                                      volumira3d::CIndex3{1, 1, 1});
         }},
        {"Chart",
         [] { return std::make_unique<volumira3d::CNewChartDlg>("X-axis", "Y-axis", nullptr); }},
        {"AvgProfileExtraction",
         [] {
             return std::make_unique<volumira3d::CAvgProfileExtractionDlg>(g_Grid, g_Display,
                                                                           nullptr);
         }},
        {"MeshtalBins",
         []
         {
             static const std::vector<volumira3d::CMeshtalTally> tallies;
             static const std::vector<volumira3d::CMeshtalChoice> entries;
             return std::make_unique<volumira3d::CMeshtalBinDlg>(tallies, entries,
                                                                 volumira3d::CMeshtalChoice{});
         }},
        {"Nebulo3D", Make<nebulo3d::CNebulo3DDlg>(&g_Host, &g_Profile)},
        {"CloudConfiguration", Make<nebulo3d::CCloudConfigDlg>(nullptr)},
        {"EnergyHistogram",
         [] { return std::make_unique<nebulo3d::CEnergyHistoDlg>(g_Cloud, &g_Profile, nullptr); }},
        {"IsodumpReader",
         Make<isodump::CIsodumpReaderDlg>(std::vector<std::string>{"1 s"}, nullptr)},
        {"Log", Make<isodump::CLogDlg>(std::string("report"), &g_Profile, nullptr)},
        {"StatisticsMenu",
         Make<isodump::CStatisticsMenuDlg>(isodump::CStatisticsMenuDlg::Report(),
                                           isodump::CStatisticsMenuDlg::Report(), nullptr)},
        {"Nuclira3D", Make<nuclira3d::CNuclira3DDlg>(&g_Host, &g_Profile)},
        {"IsotopeConfiguration", Make<nuclira3d::CIsotopeConfigDlg>(nullptr)},
        {"WeightStatistics",
         Make<nuclira3d::CWeightStatConfigDlg>(nuclira3d::CWeightStatSettings{}, nullptr)},
        {"BarChart", Make<nuclira3d::CBarChartDlg>(std::string("Chart"),
                                                   std::vector<nuclira3d::CBarObject>{}, nullptr)},
    };
    return dialogs;
}

struct CPlaced
{
    std::string m_Name; // "id kind \"text\"" for the failure messages
    wxRect m_Rect;
    bool m_Group = false;
};

std::string Name(const CControlState& s)
{
    std::ostringstream name;
    name << s.Id() << " " << s.m_Template.KindName() << " \"" << s.m_Template.m_Text << "\"";
    return name.str();
}

bool Overlap(const wxRect& a, const wxRect& b)
{
    return a.x < b.GetRight() + 1 && b.x < a.GetRight() + 1 && a.y < b.GetBottom() + 1 &&
           b.y < a.GetBottom() + 1;
}

bool Holds(const wxRect& outer, const wxRect& inner)
{
    return outer.Contains(inner.GetTopLeft()) && outer.Contains(inner.GetBottomRight());
}

std::string Describe(const wxRect& r)
{
    std::ostringstream out;
    out << "(" << r.x << "," << r.y << " " << r.width << "x" << r.height << ")";
    return out.str();
}

// A pair may share pixels only when one is a group box that holds the other whole.
bool MayOverlap(const CPlaced& a, const CPlaced& b)
{
    return (a.m_Group && Holds(a.m_Rect, b.m_Rect)) || (b.m_Group && Holds(b.m_Rect, a.m_Rect));
}

// The controls shown when the dialog opens. A hidden one may lie under others: a template
// shared by two dialogs hides what one of them does not use.
std::vector<CPlaced> Layout(const CWxDialogView& view)
{
    std::vector<CPlaced> placed;
    for (const auto& [state, window] : view.Placed())
        if (state->m_Visible)
            placed.push_back(
                {Name(*state), window->GetRect(), state->Kind() == ECtrlKind::GroupBox});
    return placed;
}

// What is wrong with the dialog's layout in the wx backend, one line per fault.
std::vector<std::string> LayoutFaults(CDialog& dlg)
{
    std::vector<std::string> faults;
    dlg.Create(); // the controls, as OnInitDialog leaves them
    auto* view = new CWxDialogView(nullptr, dlg);
    const wxRect client(wxPoint(0, 0), view->GetClientSize());
    const std::vector<CPlaced> placed = Layout(*view);
    if (view->Placed().size() != dlg.Items().size())
        faults.push_back("not every control has a window");
    for (size_t i = 0; i < placed.size(); ++i)
    {
        const CPlaced& a = placed[i];
        if (!Holds(client, a.m_Rect))
            faults.push_back(a.m_Name + " " + Describe(a.m_Rect) + " leaves the client area " +
                             Describe(client));
        for (size_t j = i + 1; j < placed.size(); ++j)
        {
            const CPlaced& b = placed[j];
            if (Overlap(a.m_Rect, b.m_Rect) && !MayOverlap(a, b))
                faults.push_back(a.m_Name + " " + Describe(a.m_Rect) + " overlaps " + b.m_Name +
                                 " " + Describe(b.m_Rect));
        }
    }
    view->Detach();
    return faults;
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

class DialogLayout : public ::testing::TestWithParam<CDialogCase>
{
};

TEST_P(DialogLayout, EveryControlInsideAndNoneOverlapping)
{
    std::unique_ptr<CDialog> dlg = GetParam().m_Make();
    const std::vector<std::string> faults = LayoutFaults(*dlg);
    EXPECT_TRUE(faults.empty()) << Lines(faults);
}

// The check itself: a template with the faults it must find, a group box that may hold and a
// hidden control that may lie under others.
TEST(LayoutCheck, FindsOverlapsAndControlsOutsideButAcceptsWhatAGroupHolds)
{
    CDlgTemplate t = CDlgTemplate::Dialog(900, "Faulty", 100, 60);
    t.Add(ECtrlKind::GroupBox, 1, "Group", 2, 2, 60, 40)
        .Add(ECtrlKind::CheckBox, 2, "Inside", 6, 12, 40, 10)
        .Add(ECtrlKind::Button, 3, "Across", 50, 20, 30, 14)
        .Add(ECtrlKind::Edit, 4, "Over", 70, 25, 20, 12)
        .Add(ECtrlKind::Button, 5, "Out", 80, 50, 30, 14)
        .Add(ECtrlKind::Edit, 6, "Hidden", 70, 25, 20, 12, WS_HIDDEN);
    CDialog dlg(t);
    const std::vector<std::string> faults = LayoutFaults(dlg);
    ASSERT_EQ(faults.size(), 3u) << Lines(faults);
    EXPECT_EQ(faults[0].rfind("1 group \"Group\"", 0), 0u) << faults[0];
    EXPECT_NE(faults[0].find("overlaps 3 button \"Across\""), std::string::npos) << faults[0];
    EXPECT_NE(faults[1].find("overlaps 4 edit \"Over\""), std::string::npos) << faults[1];
    EXPECT_NE(faults[2].find("5 button \"Out\""), std::string::npos) << faults[2];
    EXPECT_NE(faults[2].find("leaves the client area"), std::string::npos) << faults[2];
}

INSTANTIATE_TEST_SUITE_P(PlugIns, DialogLayout, ::testing::ValuesIn(Dialogs()),
                         [](const auto& info) { return info.param.m_Name; });
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
    {
        std::cerr << "wxWidgets cannot start (no display?)\n";
        return 1;
    }
    CWxBackend backend;
    SetUiBackend(&backend);
    RegisterWxColorPicker();
    const int rc = RUN_ALL_TESTS();
    SetUiBackend(nullptr);
    wxEntryCleanup();
    return rc;
}
