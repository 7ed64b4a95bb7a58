#include "python/MeshReading.h"

#include "platform/ScriptedAnswers.h"
#include "python/Quiet.h"
#include "volume/loading/FormatDispatch.h"
#include "volume/model/LoadLog.h"

#include <new>

namespace tessaron
{
using namespace volumira3d;

std::vector<std::string> MeshFormatNames()
{
    std::vector<std::string> names;
    for (const CVolumeFormat& format : VolumeFormats())
        names.emplace_back(format.m_Name);
    return names;
}

namespace
{
// The format as the plug-in picks it: by a name part of the path, then by content.
const CVolumeFormat* PickFormat(const CMeshRequest& request, std::string& error)
{
    if (!request.m_Format.empty())
    {
        const CVolumeFormat* format = FormatNamed(request.m_Format);
        if (!format) error = "No volume format is named \"" + request.m_Format + "\".";
        return format;
    }
    const CVolumeFormat* format = FormatFromPath(request.m_Path);
    if (!format) format = IdentifyContent(request.m_Path);
    if (!format) error = "Invalid file type: no volume format reads " + request.m_Path + ".";
    return format;
}

std::vector<double> EdgesOf(const CVoxelGrid& grid, int axis)
{
    if (grid.Uneven(axis)) return grid.Edges(axis);
    std::vector<double> edges(static_cast<size_t>(grid.BinCount(axis)) + 1);
    for (size_t i = 0; i < edges.size(); ++i)
        edges[i] = grid.Edge(axis, static_cast<std::int64_t>(i));
    return edges;
}

void TakeCartesian(CVoxelGrid& grid, CMeshResult& result)
{
    for (int a = 0; a < 3; ++a)
        result.m_Edges[a] = EdgesOf(grid, a);
    result.m_Values = std::make_unique<CVoxelArray>(std::move(grid.m_Voxels));
}

void TakeCylinder(CCylinderData cylinder, CMeshResult& result)
{
    result.m_Cylindrical = true;
    result.m_Edges[0] = std::move(cylinder.m_Mesh.m_R);
    result.m_Edges[1] = std::move(cylinder.m_Mesh.m_Phi);
    result.m_Edges[2] = std::move(cylinder.m_Mesh.m_T);
    result.m_Mesh = cylinder.m_Mesh;
    result.m_CylinderValues = std::move(cylinder.m_Values);
}

size_t BinCount(const CMeshResult& result)
{
    size_t count = 1;
    for (const auto& edges : result.m_Edges)
        count *= edges.empty() ? 0 : edges.size() - 1;
    return count;
}

size_t ValueCount(const CMeshResult& result)
{
    if (result.m_Cylindrical) return result.m_CylinderValues.size();
    return result.m_Values ? result.m_Values->Count() : 0;
}

bool HasFact(const CVolumeLoader& loader, const std::string& key)
{
    for (const auto& fact : loader.Facts())
        if (fact.first == key) return true;
    return false;
}

void TakeHeader(const CVolumeLoader& loader, const CVoxelGrid& grid, CMeshResult& result)
{
    result.m_Header = loader.Facts();
    // Only a USRBIN has a run header; other formats leave neutral figures the file never stated.
    if (result.m_Format.find("USRBIN") == std::string::npos) return;
    // A text file without the run's totals leaves them 0.
    if (grid.m_TotalWeight > 0)
        result.m_Header.emplace_back("weight", Format("%.17g", grid.m_TotalWeight));
    if (grid.m_NrOfParticles > 0)
        result.m_Header.emplace_back("primaries", std::to_string(grid.m_NrOfParticles));
    if (!HasFact(loader, "particle"))
        result.m_Header.emplace_back("particle", std::to_string(grid.m_GenParticle));
}

void TakeLog(const CStringLog& log, CMeshResult& result)
{
    for (const auto& line : log.m_Lines)
    {
        result.m_Log.push_back(line);
        if (line.second != ILoadLog::IconInformation) result.m_Warnings.push_back(line.first);
    }
    for (const CMessageRecord& box : CScriptedAnswers::Instance().Messages())
        result.m_Warnings.push_back(box.m_Text);
}

// The error a failed load leaves: its last error line, else its last message box.
std::string FailureText(const CVolumeLoader& loader)
{
    if (!loader.LastError().empty()) return loader.LastError();
    const auto& boxes = CScriptedAnswers::Instance().Messages();
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box)
        if ((box->m_Type & MB_ICONMASK) != MB_ICONQUESTION) return box->m_Text;
    return "the file could not be read";
}
} // namespace

std::string IdentifyMeshFormat(const std::string& path)
{
    CMeshRequest request;
    request.m_Path = path;
    std::string error;
    const CVolumeFormat* format = PickFormat(request, error);
    return format ? std::string(format->m_Name) : std::string();
}

CFileOperation RunAverager(const std::vector<CAverageInput>& inputs, const std::string& result,
                           const CAverageOptions& options)
{
    CQuietUi quiet;
    CStringLog log;
    CFileOperation operation;
    try
    {
        operation.m_Ok = CFlukaAverager(log).Run(inputs, result, options);
    }
    catch (const std::bad_alloc&)
    {
        log.AddLine("Not enough memory for the operation", ILoadLog::IconError);
    }
    for (const auto& [text, icon] : log.m_Lines)
    {
        operation.m_Log.push_back(text);
        if (icon == ILoadLog::IconError) operation.m_Error = text;
    }
    if (!operation.m_Ok && operation.m_Error.empty())
        operation.m_Error =
            operation.m_Log.empty() ? "the operation failed" : operation.m_Log.back();
    return operation;
}

CMeshResult ReadMesh(const CMeshRequest& request)
{
    CMeshResult result;
    CQuietUi quiet;
    const CVolumeFormat* format = PickFormat(request, result.m_Error);
    if (!format) return result;
    result.m_Format = std::string(format->m_Name);
    CVoxelGrid grid;
    grid.m_Normalization = request.m_Normalisation;
    CStringLog log;
    CVolumeLoader loader(grid, log);
    CLoadChoices choices = request.m_Choices;
    choices.m_KeepCylinder = true;
    loader.SetChoices(&choices);
    try
    {
        result.m_Ok = loader.Load(*format, request.m_Path);
    }
    catch (const std::bad_alloc&)
    {
        loader.LogError("Not enough memory to load " + request.m_Path);
    }
    TakeLog(log, result);
    result.m_OfferedErrors = loader.OfferedStatistics();
    if (!result.m_Ok)
    {
        result.m_Error = FailureText(loader);
        result.m_Large = loader.LargeGridRefused();
        return result;
    }
    TakeHeader(loader, grid, result);
    CCylinderData cylinder = loader.TakeCylinder();
    if (!cylinder.m_Mesh.m_R.empty())
        TakeCylinder(std::move(cylinder), result);
    else
        TakeCartesian(grid, result);
    if (ValueCount(result) != BinCount(result))
    {
        result.m_Ok = false;
        result.m_Error = "The values read do not fill the mesh's bins.";
    }
    return result;
}
} // namespace tessaron
