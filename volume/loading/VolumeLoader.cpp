#include "volume/loading/VolumeLoader.h"

#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/loading/FormatDispatch.h"
#include "volume/loading/RowChooserDlg.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VolumeSettings.h"
#include "volume/model/VoxelGrid.h"

#include <cmath>

namespace volumira3d
{
bool CVolumeLoader::Load(const CVolumeFormat& format, const std::string& path)
{
    m_RelativeErrors = false;
    m_OfferedStatistics = false;
    m_LargeGridRefused = false;
    m_Cylinder = {};
    m_Facts.clear();
    return format.m_Load(*this, path);
}

bool CVolumeLoader::Load(std::string_view formatName, const std::string& path)
{
    if (const CVolumeFormat* format = FormatNamed(formatName)) return Load(*format, path);
    LogError("No volume format is named " + std::string(formatName) + ".");
    return false;
}

bool CVolumeLoader::PrepareGrid(std::int64_t nx, std::int64_t ny, std::int64_t nz,
                                std::uint64_t fileBytes, EVoxelStart start)
{
    const double bytes = GridBytes(nx, ny, nz);
    const bool fillable =
        fileBytes > 0 && double(fileBytes) >= double(nx) * double(ny) * double(nz);
    if (bytes > m_LargeGridBytes && !fillable && nx > 0 && ny > 0 && nz > 0 &&
        !AllowLargeGrid(bytes))
    {
        LogError(Format("The grid of %lld x %lld x %lld bins was not allocated.",
                        static_cast<long long>(nx), static_cast<long long>(ny),
                        static_cast<long long>(nz)));
        m_Reported = true; // the user's own answer needs no box
        return false;
    }
    std::string error;
    if (m_Grid.AllocateGrid(nx, ny, nz, error, start)) return true;
    ReportProblem(error, MB_ICONERROR);
    return false;
}

bool CVolumeLoader::AllowLargeGrid(double bytes)
{
    const std::string question = Format("The grid needs %.1f GB. Continue?", bytes / 1e9);
    if (!m_pChoices)
        return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    m_LargeGridRefused = !m_pChoices->m_AllowLarge;
    return m_pChoices->m_AllowLarge;
}

void CVolumeLoader::AddFact(const std::string& key, const std::string& value)
{
    m_Facts.emplace_back(key, value);
}

bool CVolumeLoader::Normalised(double raw, double& value) const
{
    value = raw * Factor();
    return std::isfinite(value);
}

namespace
{
const CRowChooserKind FlukaBinnings{IDD_FLUKA_BINNINGS,
                                    IDC_FLUKA_BINNINGS_LIST,
                                    "FLUKA binnings",
                                    "Please select the binning to show",
                                    {"Binning", "Name", "Type", "Sizes", "Particle"},
                                    {50, 80, 70, 80, 50}};
} // namespace

bool CVolumeLoader::ChooseFlukaBinning(const std::vector<CBinningRow>& rows, int& index)
{
    index = 0;
    if (m_pChoices) return TakeBinningChoice(rows, index);
    if (rows.size() < 2) return true;
    std::vector<std::vector<std::string>> cells;
    for (const CBinningRow& row : rows)
        cells.push_back({std::to_string(row.m_Number), row.m_Name, row.m_Type, row.m_Sizes,
                         std::to_string(row.m_Particle)});
    CRowChooserDlg dlg(FlukaBinnings, std::move(cells), 0);
    if (dlg.DoModal() != IDOK)
    {
        m_Log.AddLine("No binning was chosen", ILoadLog::IconWarning);
        m_Reported = true; // the user's own answer needs no box
        return false;
    }
    index = dlg.m_Selected;
    LogBinning(rows, index);
    return true;
}

void CVolumeLoader::LogBinning(const std::vector<CBinningRow>& rows, int index)
{
    const CBinningRow& row = rows[static_cast<size_t>(index)];
    m_Log.AddLine(Format("Binning %d of %d: %d \"%s\" (%s, %s)", index + 1,
                         static_cast<int>(rows.size()), row.m_Number, row.m_Name.c_str(),
                         row.m_Type.c_str(), row.m_Sizes.c_str()));
}

bool CVolumeLoader::TakeBinningChoice(const std::vector<CBinningRow>& rows, int& index)
{
    index = m_pChoices->m_Binning;
    const int count = static_cast<int>(rows.size());
    // A file without binning headers fails in its reader, with the reader's message.
    if (count == 0 && index == 0) return true;
    if (index < 0 || index >= count)
    {
        LogError(
            Format("Binning %d was asked for; the file has %d of this kind.", index + 1, count));
        return false;
    }
    if (count > 1) LogBinning(rows, index);
    const CBinningRow& row = rows[static_cast<size_t>(index)];
    AddFact("binning", std::to_string(row.m_Number));
    AddFact("title", row.m_Name);
    AddFact("binning kind", row.m_Type);
    AddFact("particle", std::to_string(row.m_Particle));
    return true;
}

bool CVolumeLoader::ChooseFlukaTextBinning(const std::string& path, EFlukaBinning binning,
                                           int& index)
{
    static const char* const kinds[] = {"cartesian", "R-Z", "R-Phi-Z"};
    std::vector<CBinningRow> rows;
    for (const CFlukaHeader& h : ScanFlukaBinnings(path, binning))
        rows.push_back({h.m_Number, h.m_Name, kinds[static_cast<int>(binning)], BinCounts(h.m_Axis),
                        h.m_GenParticle});
    return ChooseFlukaBinning(rows, index);
}

void CVolumeLoader::SetGridEdges(int axis, const std::vector<double>& edges)
{
    m_Grid.SetEdges(axis, edges);
    if (m_Grid.Uneven(axis))
        m_Log.AddLine(Format("The %c bins are of unequal width: each is drawn with its own edges",
                             "xyz"[axis]));
}

double CVolumeLoader::CylinderResolution() const
{
    if (m_CylinderResolution > 0 || !m_pSettings) return m_CylinderResolution;
    return m_pSettings->GetCylinderVoxel();
}

double CVolumeLoader::Factor() const
{
    return m_RelativeErrors ? 1.0 : m_Grid.m_Normalization;
}

void CVolumeLoader::ReadRelativeErrors()
{
    m_RelativeErrors = true;
    if (m_Grid.m_Normalization != 1.0)
        m_Log.AddLine(Format("Relative errors are ratios: the normalization factor %g does not "
                             "apply to them.",
                             m_Grid.m_Normalization));
}

void CVolumeLoader::LogElapsed(DWORD startTicks)
{
    m_Log.AddLine(Format("Time elapsed %lf s", (GetTickCount() - startTicks) / 1000.0));
}

void CVolumeLoader::LogError(const std::string& text)
{
    m_LastError = text;
    m_Log.AddLine(text, ILoadLog::IconError);
}

void CVolumeLoader::ReportProblem(const std::string& text, UINT icon)
{
    LogError(text);
    ShowProblem(text, icon);
}

void CVolumeLoader::ShowProblem(const std::string& text, UINT icon)
{
    m_Reported = true;
    AfxMessageBox(text, icon);
}
bool CVolumeLoader::AskStatistics() const
{
    m_OfferedStatistics = true;
    if (m_pChoices) return m_pChoices->m_Errors;
    return !m_ValuesOnly &&
           AfxMessageBox("Do you want to display the statistics information instead of the data?",
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}
} // namespace volumira3d
