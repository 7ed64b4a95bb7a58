#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/MCNPXAsciiIO.h"
#include "volume/loading/CartesianFill.h"
#include "volume/loading/MCNPXImportOptionsDlg.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>

namespace volumira3d
{
namespace
{
class CMCNPXLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);

private:
    int ChooseMCNPXDataSet(const std::vector<CMCNPXDescriptor>& descriptors);
    // With a load's choices: false (logged) for a data set the file does not have; the chosen
    // one's particle and reaction become facts.
    bool TakeDataSet(const std::vector<CMCNPXDescriptor>& descriptors);
};
} // namespace

int CMCNPXLoad::ChooseMCNPXDataSet(const std::vector<CMCNPXDescriptor>& descriptors)
{
    if (m_Loader.Choices()) return std::max(1, m_Loader.Choices()->m_DataSet);
    CMCNPXImportOptionsDlg dlg(descriptors, m_pSettings);
    dlg.DoModal();
    return dlg.m_DataSet;
}

bool CMCNPXLoad::TakeDataSet(const std::vector<CMCNPXDescriptor>& descriptors)
{
    if (!m_Loader.Choices()) return true;
    const int count = static_cast<int>(descriptors.size());
    const int set = std::max(1, m_Loader.Choices()->m_DataSet);
    if (set > count)
    {
        m_Loader.LogError(Format("Data set %d was asked for; the file has %d.", set, count));
        return false;
    }
    const CMCNPXDescriptor& d = descriptors[static_cast<size_t>(set - 1)];
    m_Loader.AddFact("data set", std::to_string(set));
    m_Loader.AddFact("particle", std::to_string(d.m_Particle));
    m_Loader.AddFact("reaction", std::to_string(d.m_Reaction));
    return true;
}

bool CMCNPXLoad::Load(const std::string& path)
{
    CDataStorage<CMCNPXAsciiIO<>> storage(path);
    storage.m_Choose = [this](const auto& descriptors) { return ChooseMCNPXDataSet(descriptors); };
    if (!storage.BeginRead())
    {
        m_Loader.LogError(storage.m_Error);
        return false;
    }
    if (!TakeDataSet(storage.m_Descriptors)) return false;
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!m_Loader.PrepareGrid(storage.GetNX(), storage.GetNY(), storage.GetNZ())) return false;
    const long long bins = m_Grid.VoxelCount();
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", long(bins), 0));
    const DWORD start = GetTickCount();
    CStorageSource source(storage, m_Grid.m_Normalization, CVolumeLoader::ChunkRecords);
    const CFillResult fill = FillCartesian(source, m_Grid, progress);
    storage.EndRead();
    if (!fill.Complete(m_Grid))
    {
        m_Loader.ReportProblem(
            fill.m_Overflow
                ? Format("Value %lld times the normalization factor exceeds the range "
                         "of numbers.",
                         fill.m_Consumed + 1)
                : Format("The MCNPX data set holds only %lld numbers for its %lld bins.",
                         fill.m_Consumed, bins),
            MB_ICONERROR);
        return false;
    }
    m_Loader.LogElapsed(start);
    for (int a = 0; a < 3; ++a)
        m_Loader.SetGridEdges(a, storage.m_Edges[a]);
    // An MCNPX tally has no FLUKA run header: neutral values.
    m_Grid.m_TotalWeight = 1.0;
    m_Grid.m_GenParticle = 1;
    m_Grid.m_NrOfParticles = 1;
    return true;
}

bool LoadMCNPX(CVolumeLoader& loader, const std::string& path)
{
    return CMCNPXLoad(loader).Load(path);
}
} // namespace volumira3d
