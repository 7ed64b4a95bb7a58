// The main dialog both point-cloud viewers build on: the data file row (choose, load), the
// Visualize, Clear, Configure and Statistics buttons, the check-all buttons under the plug-in's
// lists, the drawing mode with the display options beside it, and the progress bar. A plug-in
// adds its lists, its own options and what its reader does through the hooks below.
#pragma once
#include "frame/HostApi.h"
#include "isodump/PointDisplay.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class CProfile;

namespace isodump
{
// The controls every point-cloud main dialog has; each plug-in numbers its own around them.
namespace pointcloud
{
enum : int
{
    IDC_CLEAR = 1000,
    IDC_FILENAME = 1001,
    IDC_BROWSE = 1002,
    IDC_LOAD = 1005,
    IDC_CHECKALL = 1007,
    IDC_CONFIGURE = 1008,
    IDC_UNCHECKALL = 1010,
    IDC_VISUALIZE = 1014,
    IDC_PROGRESS = 1015,
    IDC_MODE = 1030,
    IDC_TRANSPARENT = 1033,
    IDC_SCALEWEIGHT = 1034,
    IDC_WEIGHTFILTER = 1035,
    IDC_STATISTICS = 1036,
};
} // namespace pointcloud

// The extension of path without its dot, in lower case: both viewers pick their reader by it.
std::string LowerExtension(const std::string& path);

// What differs in the shared controls: the file dialog and the drawing modes.
struct CPointCloudSetup
{
    const char* m_DefaultExt;     // of the open dialog, e.g. "*.dat"
    const char* m_Filter;         // "Name|*.ext|...|"
    const char* m_ProfileSection; // where "ImportPath" is kept
    std::vector<const char*> m_Modes;
};

class CPointCloudDlg : public CDialog
{
public:
    // A check box of the display options column.
    struct COption
    {
        int m_Id;
        const char* m_Text;
    };
    static constexpr COption TransparentOption{pointcloud::IDC_TRANSPARENT, "Render transparent"};
    static constexpr COption ScaleWeightOption{pointcloud::IDC_SCALEWEIGHT, "Scale with weight"};
    static constexpr COption WeightFilterOption{pointcloud::IDC_WEIGHTFILTER,
                                                "Apply weight filter (set via \"configure\")"};

    // The shared template; addLists lays out the plug-in's lists (left column, from y 60 to 190)
    // and the options stand below the drawing mode in the order given.
    static CDlgTemplate Template(int id, std::string caption,
                                 const std::function<void(CDlgTemplate&)>& addLists,
                                 std::initializer_list<COption> options);

    // The host redraws the view after every change of what is drawn; the profile keeps the
    // import folder. Either may be null.
    CPointCloudDlg(CDlgTemplate tmpl, CPointCloudSetup setup, CHostInterface* pHost,
                   CProfile* pProfile);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSysCommand(UINT nID) override;

    virtual bool HasData() const = 0;
    // A file the host opens for the user: read as the Load button reads it, then shown whole
    // (every kind visible); 1, or -1 with the reason in message.
    int OpenFromHost(const std::string& path, std::string& message);

    bool m_Visualize = false;
    std::string m_FileName;

protected:
    // Shows message and answers false when nothing is loaded.
    bool RequireData(const char* message);
    virtual void RefreshControls();
    void Redraw();

    CHostInterface* m_pHost;
    CProfile* m_pProfile;
    CProgressCtrl m_Progress;

private:
    // The hooks of the plug-in.
    virtual CPointDisplay& Display() = 0;
    // Drops what was loaded and reads m_FileName; false when that fails.
    virtual bool ReadData(CProgressCtrl* pProgress) = 0;
    // The display settings a new file starts with.
    virtual void OnDataRead() = 0;
    virtual const std::vector<std::string>& Warnings() const = 0;
    // All the reader counted, of which Warnings() keeps the first ones.
    virtual size_t WarningCount() const { return Warnings().size(); }
    virtual void ClearData() = 0;
    virtual void FillLists() = 0;
    virtual void SetAllVisible(bool visible) = 0;
    virtual void OnVisualize() = 0;
    virtual void OnConfigure() = 0;
    virtual void OnStatistics() = 0;
    virtual void ExportVtk() = 0;
    // Called when the user has chosen a file in the open dialog.
    virtual void OnFileChosen() {}

    void OnBrowse();
    void OnLoad();
    void OnClear();
    void OnMode();
    void OnTransparent();
    void OnWeightFilter();
    void OnCheckAll() { SetAllVisible(true); }
    void OnUncheckAll() { SetAllVisible(false); }
    void ReportWarnings();

    CPointCloudSetup m_Setup;
};
} // namespace isodump
