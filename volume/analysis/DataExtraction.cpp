#include "volume/analysis/DataExtraction.h"

#include "common/TextCase.h"
#include "platform/Controls.h"
#include "platform/SafeWrite.h"
#include "platform/UiServices.h"
#include "volume/analysis/DataProbe.h"
#include "volume/analysis/DataSrcDlg.h"
#include "volume/analysis/ExtractionWriters.h"
#include "volume/analysis/ProfileExtractionDlgs.h"
#include "volume/analysis/RebinningParamsDlg.h"
#include "volume/formats/XYZAsciiIO.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VolumeSettings.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace volumira3d
{
const char* const SourceFormatNames[SourceFormatCount] = {
    "Plane",     "Profile",          "Averaged profile",     "Octant", "Arbitrary averaging volume",
    "COMSOL 3D", "Volumix3D native", "Rebinned FLUKA USRBIN"};

namespace
{
const char* const PlaneFilter = "2D matrix ASCII file (*.2dmat)|*.2dmat| Indexed ASCII file "
                                "(*.txt)|*.txt|Preproc XYZ file (*.out)|*.out|All Files (*.*)|*.*|";
const char* const TextFilter = "ASCII file (*.txt)|*.txt|All Files (*.*)|*.*|";
const char* const XYZFilter = "XYZ voxel files (*.xyz)|*.xyz|All Files (*.*)|*.*|";
const char* const UsrbinFilter = "FLUKA USRBIN (*.usrbin)|*.usrbin|All Files (*.*)|*.*|";

const char* const ExtractionOk = "Data extraction successful";
const char* const ExtractionFailed = "Data extraction was not successful";
const char* const AllPlanes = "All 3 projection planes need to be activated!";

std::string LowerExtension(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return LowerCase(path.substr(dot + 1));
}

// Reports and returns false when the file cannot be created.
bool Opened(const CSafeOutput& file, const std::string& path)
{
    if (file.IsOpen()) return true;
    AfxMessageBox(Format("Cannot open %s for writing.", path.c_str()), MB_ICONERROR);
    return false;
}
} // namespace

void CDataExtraction::Run(int entry)
{
    switch (entry)
    {
    case SourcePlane:
        ExtractPlane();
        break;
    case SourceProfile:
        ExtractProfile();
        break;
    case SourceAvgProfile:
        ExtractAvgProfile();
        break;
    case SourceOctant:
        ExtractOctants();
        break;
    case SourceAvgVolume:
        ExtractAvgVolume();
        break;
    case SourceComsol:
        ExtractComsol();
        break;
    case SourceNative:
        ExtractNative();
        break;
    case SourceRebinned:
        ExtractRebinned();
        break;
    default:
        break;
    }
}

std::string CDataExtraction::AskPath(int entry)
{
    const bool rebinned = entry == SourceRebinned;
    const char* ext = entry == SourcePlane    ? "txt"
                      : entry == SourceNative ? "xyz"
                      : rebinned              ? "usrbin"
                                              : "txt";
    const char* filter = entry == SourcePlane    ? PlaneFilter
                         : entry == SourceNative ? XYZFilter
                         : rebinned              ? UsrbinFilter
                                                 : TextFilter;
    const auto key =
        rebinned ? CVolumeSettings::EPath::RebinnedUSRBIN : CVolumeSettings::EPath::Data;
    CFileDialog dlg(FALSE, ext, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, m_pOwner);
    if (m_pSettings) dlg.SetInitialDir(m_pSettings->GetPath(key));
    if (dlg.DoModal() != IDOK) return "";
    const std::string path = dlg.GetPathName();
    if (m_pSettings) m_pSettings->SetPath(key, path);
    return path;
}

void CDataExtraction::Report(bool ok, const char* success, const char* failure)
{
    AfxMessageBox(ok ? success : failure, ok ? MB_ICONINFORMATION : MB_ICONERROR);
}

void CDataExtraction::Report(CSafeOutput& file, bool ok, const char* success, const char* failure)
{
    // A failed write leaves no file under the name, and an earlier one as it was.
    if (ok && !file.Commit()) AfxMessageBox(file.Error(), MB_ICONERROR);
    Report(ok && file.Error().empty(), success, failure);
}

bool CDataExtraction::AllPlanesOn()
{
    if (m_State.m_PlaneEnabled[0] && m_State.m_PlaneEnabled[1] && m_State.m_PlaneEnabled[2])
        return true;
    AfxMessageBox(AllPlanes, MB_ICONINFORMATION);
    return false;
}

void CDataExtraction::ExtractPlane()
{
    CDataSrcDlg source(0, m_pOwner);
    if (source.DoModal() != IDOK || source.m_Plane < 0 || source.m_Plane > 2) return;
    const int plane = source.m_Plane;
    if (!m_State.m_PlaneEnabled[plane])
    {
        AfxMessageBox("Extraction is only possible for enabled projection planes!",
                      MB_ICONINFORMATION);
        return;
    }
    const std::string path = AskPath(SourcePlane);
    if (path.empty()) return;
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!Opened(file, path)) return;
    std::ostream& out = file.Stream();
    const int layer = m_State.m_PlaneLayer[plane];
    const std::string ext = LowerExtension(path);
    bool ok;
    if (ext == "out")
        ok = WritePlanePreproc(out, m_Grid, plane, layer);
    else if (ext == "2dmat")
        ok = WritePlaneMatrix(out, m_Grid, plane, layer, LocalNow());
    else
        ok = WritePlaneIndexed(out, m_Grid, plane, layer, LocalNow());
    Report(file, ok, ExtractionOk, ExtractionFailed);
}

void CDataExtraction::ExtractProfile()
{
    CProfileExtractionDlg dlg(m_Grid, m_State, m_pOwner);
    dlg.m_UnitText = m_UnitText;
    if (dlg.DoModal() != IDOK) return;
    const std::string path = AskPath(SourceProfile);
    if (path.empty()) return;
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!Opened(file, path)) return;
    std::ostream& out = file.Stream();
    const CProfileData profile =
        volumira3d::ExtractProfile(m_Grid, m_State, dlg.m_Source, dlg.m_Intersection);
    const int layer = m_State.m_PlaneLayer[dlg.m_Source];
    Report(
        file,
        WriteProfileFile(out, m_Grid, dlg.m_Source, dlg.m_Intersection, layer, profile, LocalNow()),
        "Profile extraction successful", "Profile extraction was not successful");
}

void CDataExtraction::ExtractAvgProfile()
{
    CAvgProfileExtractionDlg dlg(m_Grid, m_State, m_pOwner);
    dlg.m_UnitText = m_UnitText;
    if (dlg.DoModal() != IDOK) return;
    const CProfileData profile = ExtractAveragedProfile(m_Grid, m_State, dlg.m_Request);
    const std::string path = AskPath(SourceAvgProfile);
    if (path.empty()) return;
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!Opened(file, path)) return;
    std::ostream& out = file.Stream();
    Report(file,
           WriteAvgProfileFile(out, m_Grid, dlg.m_Request, CrossingPoint(m_State), profile,
                               LocalNow()),
           "Averaged profile extraction successful",
           "Averaged profile extraction was not successful");
}

void CDataExtraction::ExtractOctants()
{
    if (!AllPlanesOn()) return;
    const std::string path = AskPath(SourceOctant);
    if (path.empty()) return;
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!Opened(file, path)) return;
    std::ostream& out = file.Stream();
    Report(file,
           WriteOctantFile(out, m_Grid, OctantMeans(m_Grid, CrossingPoint(m_State)), LocalNow()),
           "Octant extraction successful", "Octant extraction was not successful");
}

void CDataExtraction::ExtractAvgVolume()
{
    if (!AllPlanesOn()) return;
    CBoxMean mean;
    // The box of "Arbitrary averaging volume" is the probing controls'.
    if (!GetAverageFromArbitraryVolume(m_Grid, CrossingPoint(m_State), m_State.m_AvgMinusDelta,
                                       m_State.m_AvgPlusDelta, mean))
    {
        AfxMessageBox(ProbeBoxExceedsMessage, MB_ICONERROR);
        return;
    }
    const std::string path = AskPath(SourceAvgVolume);
    if (path.empty()) return;
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!Opened(file, path)) return;
    std::ostream& out = file.Stream();
    bool fits = true;
    Report(file,
           WriteBoxFile(out, m_Grid, CrossingPoint(m_State), m_State.m_AvgMinusDelta,
                        m_State.m_AvgPlusDelta, LocalNow(), fits),
           "Extraction from averaging volume successful",
           "Extraction from averaging volume was not successful!");
}

void CDataExtraction::ExtractComsol()
{
    const std::string path = AskPath(SourceComsol);
    if (path.empty()) return;
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!Opened(file, path)) return;
    std::ostream& out = file.Stream();
    Report(file, WriteComsol(out, m_Grid), ExtractionOk, ExtractionFailed);
}

void CDataExtraction::ExtractNative()
{
    const std::string path = AskPath(SourceNative);
    if (path.empty()) return;
    std::string error;
    const bool ok = WriteXYZFile(m_Grid, path, error);
    if (!ok && error.rfind("Cannot open", 0) == 0)
    {
        AfxMessageBox(error, MB_ICONERROR);
        return;
    }
    Report(ok, ExtractionOk, ExtractionFailed);
}

void CDataExtraction::ExtractRebinned()
{
    CRebinningParamsDlg params(m_Grid, m_pOwner);
    if (params.DoModal() != IDOK) return;
    CVoxelGrid rebinned;
    std::string error;
    if (!Rebin(m_Grid, params.m_NewBins, rebinned, error))
    {
        AfxMessageBox(error, MB_ICONERROR);
        return;
    }
    const std::string path = AskPath(SourceRebinned);
    if (path.empty()) return;
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!Opened(file, path)) return;
    std::ostream& out = file.Stream();
    // A failed write must not be announced as finished.
    Report(file, WriteRebinnedUsrbin(out, rebinned, LocalNow()), "Extraction finished!",
           "Extraction was not successful: the file could not be written completely.");
}
} // namespace volumira3d
