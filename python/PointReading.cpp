#include "python/PointReading.h"

#include "cloud/CloudFormats.h"
#include "common/FileSystem.h"
#include "isodump/IsodumpReaderDlg.h"
#include "isotopes/Nuclira3DDlg.h"
#include "platform/Controls.h"
#include "python/Quiet.h"
#include "tracks/ParticleDataReader.h"

#include <new>
#include <sstream>

namespace tessaron
{
namespace
{
void Push(std::vector<double>& column, const CVector& v)
{
    column.insert(column.end(), {v.x, v.y, v.z});
}

void SplitLines(const std::string& text, std::vector<std::string>& lines)
{
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
}

// The status of a read: the message boxes it showed become its warnings, and the last one its
// error when it failed.
template <class TColumns> void Finish(bool ok, TColumns& columns)
{
    for (const CMessageRecord& box : CScriptedAnswers::Instance().Messages())
        columns.m_Warnings.push_back(box.m_Text);
    columns.m_Ok = ok;
    if (ok) return;
    if (columns.m_Error.empty() && !columns.m_Warnings.empty())
        columns.m_Error = columns.m_Warnings.back();
    if (columns.m_Error.empty()) columns.m_Error = "the file could not be read";
}

// Files that cannot be opened fail before a reader sees them: some readers say nothing then.
bool Openable(const std::string& path, CReadStatus& status)
{
    if (IsRegularFile(path)) return true;
    status.m_Error = "Cannot open " + path + ": no such file.";
    return false;
}

template <class TColumns, class TRead> TColumns Guarded(const std::string& path, TRead read)
{
    TColumns columns;
    CQuietUi quiet;
    if (!Openable(path, columns)) return columns;
    try
    {
        Finish(read(columns), columns);
    }
    catch (const std::bad_alloc&)
    {
        columns = TColumns();
        columns.m_Error = "Not enough memory to read " + path;
    }
    return columns;
}
} // namespace

namespace
{
// The store's tracks group by group, each with its points, then the groups' bounds.
void TakeTracks(const trakor3d::CParticleDataReader& reader, CTrackColumns& columns)
{
    for (size_t g = 0; g < reader.m_Particles.size(); ++g)
        for (const auto& [type, track] : reader.m_Particles[g])
        {
            for (const trakor3d::CSegment& p : track.m_Points)
            {
                Push(columns.m_Points, p);
                columns.m_Times.push_back(p.t);
            }
            columns.m_Offsets.push_back(static_cast<long long>(columns.m_Times.size()));
            columns.m_Types.push_back(type);
            columns.m_Groups.push_back(static_cast<int>(g));
            columns.m_Energies.push_back(track.m_Energy);
        }
    for (const trakor3d::CEnergyGroup& group : reader.m_EnergyGroups)
    {
        columns.m_GroupBounds.insert(columns.m_GroupBounds.end(), {group.m_Lower, group.m_Upper});
        columns.m_GroupLabels.push_back(group.m_Label);
    }
}
} // namespace

CTrackColumns ReadTracks(const std::string& path)
{
    return Guarded<CTrackColumns>(path,
                                  [&](CTrackColumns& columns)
                                  {
                                      trakor3d::CParticleDataReader reader;
                                      std::ostringstream problems;
                                      reader.SetErrorStream(problems);
                                      const bool ok = reader.ReadFile(path, nullptr);
                                      SplitLines(problems.str(), columns.m_Warnings);
                                      TakeTracks(reader, columns);
                                      return ok;
                                  });
}

CParticleColumns ReadParticles(const std::string& path)
{
    return Guarded<CParticleColumns>(path,
                                     [&](CParticleColumns& columns)
                                     {
                                         const nebulo3d::CCloudFormat& format =
                                             nebulo3d::CloudFormatOf(path);
                                         columns.m_Format = format.m_Name;
                                         nebulo3d::CParticle::PrepareAllocator();
                                         const auto reader = format.m_Make(nullptr);
                                         const bool ok = reader->Read(path, nullptr);
                                         columns.m_Warnings = reader->Warnings();
                                         columns.m_Notes = reader->Notes();
                                         columns.m_MeVPerEnergyUnit = reader->MeVPerEnergyUnit();
                                         for (const int type : reader->Types())
                                         {
                                             const auto range =
                                                 reader->AllParticles().equal_range(type);
                                             for (auto it = range.first; it != range.second; ++it)
                                             {
                                                 const nebulo3d::CParticle& p = *it->second;
                                                 Push(columns.m_Positions, p.m_Position);
                                                 Push(columns.m_Directions, p.m_Direction);
                                                 columns.m_Energies.push_back(p.m_Energy);
                                                 columns.m_Weights.push_back(p.m_Weight);
                                                 columns.m_Times.push_back(p.m_Time);
                                                 columns.m_Types.push_back(p.m_Type);
                                             }
                                         }
                                         return ok;
                                     });
}

CEmitterColumns ReadEmitters(const std::string& path, int coolingTime)
{
    return Guarded<CEmitterColumns>(
        path,
        [&](CEmitterColumns& columns)
        {
            const nuclira3d::EDataKind kind = nuclira3d::KindFromPath(path);
            columns.m_Format = kind == nuclira3d::EDataKind::Collector ? "collector" : "isodump";
            columns.m_CoolingTime = -1;
            bool missing = false;
            // The isodump's chooser of cooling times answers with the one asked for.
            CScriptedAnswers::Instance().QueueModal(
                "Isodump reader",
                [&](CDialog& dlg)
                {
                    CListBox list(&dlg, isodump::IDC_ISO_TIMES);
                    for (int i = 0; i < list.GetCount(); ++i)
                        columns.m_CoolingTimes.push_back(list.GetText(i));
                    missing = coolingTime < 0 || coolingTime >= list.GetCount();
                    if (missing)
                        dlg.EndDialog(IDCANCEL);
                    else
                        list.SetCurSel(coolingTime);
                });
            nuclira3d::CIsotope::PrepareAllocator();
            const auto reader = nuclira3d::MakeReader(kind);
            const bool ok = reader->Read(path, nullptr);
            if (missing)
            {
                columns.m_Error = Format("Cooling time %d was asked for; the file has %d.",
                                         coolingTime, int(columns.m_CoolingTimes.size()));
                return false;
            }
            if (!columns.m_CoolingTimes.empty()) columns.m_CoolingTime = coolingTime;
            columns.m_Warnings = reader->Warnings();
            if (reader->WarningCount() > reader->Warnings().size())
                columns.m_Warnings.push_back(Format("%zu problems in all", reader->WarningCount()));
            for (const auto& [key, emitter] : reader->AllEmitters())
            {
                Push(columns.m_Positions, emitter->m_Position);
                columns.m_Weights.push_back(emitter->m_Weight);
                columns.m_Z.push_back(emitter->m_Z);
                columns.m_A.push_back(emitter->m_A);
            }
            return ok;
        });
}
} // namespace tessaron
