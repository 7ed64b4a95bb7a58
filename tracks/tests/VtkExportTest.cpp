#include "common/ParticleNames.h"
#include "testkit/BatchRun.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"
#include "testkit/VtkReadBack.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/TrackVtkExport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace trakor3d;
using namespace testkit;

namespace
{
// Group 0 holds a photon (3 points), a Xi_c_plus of type 52 and one of type 54 (two points
// each), a heavy ion (-2, stored as 66) without points and a deuteron of one point; group 1 a
// neutron (2 points).
constexpr const char* Tracks =
    "EnergyGroup_Tot 1.0E-03 1.0E-01\n"
    "EnergyGroup_Tot 1.0E-01 1.0E+01\n"
    "PARTICLE\nType 7\nEnergy 5.0E-02\n"
    "s 0 0 0 1e-9\ns 10 0 0 2e-9\ns 10 10 0 3e-9\nEND PARTICLE\n"
    "PARTICLE\nType 8\nEnergy 1.5\ns 0 10 0\ns 5 5 0\nEND PARTICLE\n"
    "PARTICLE\nType 52\nEnergy 0.01\ns 1 1 1 5\ns 1 1 2 6\nEND PARTICLE\n"
    "PARTICLE\nType 54\nEnergy 0.02\ns 2 2 2 6\ns 2 2 3 7\nEND PARTICLE\n"
    "PARTICLE\nType -2\nEnergy 0.03\nEND PARTICLE\n"
    "PARTICLE\nType -3\nEnergy 0.04\ns 3 3 3\nEND PARTICLE\n";

class TrackVtkExportTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        std::istringstream in(Tracks);
        ASSERT_TRUE(m_Store.ReadStream(in, nullptr));
    }
    CVtkFileView Export(ETrackSelection selection, std::string& message)
    {
        const std::string path = (TestDir() / "tracks.vtp").string();
        EXPECT_TRUE(WriteTracksVtk(m_Store, selection, CVtkXmlWriter(), path, message)) << message;
        return ReadVtkFile(path);
    }
    CParticleDataReader m_Store;
};

std::vector<double> Doubles(std::initializer_list<double> values)
{
    return values;
}
} // namespace

TEST_F(TrackVtkExportTest, EveryTrackIsAPolylineWithItsTimesTypeEnergyAndGroup)
{
    std::string message;
    const CVtkFileView view = Export(ETrackSelection::All, message);
    EXPECT_EQ(message, "2 track(s) with fewer than two points were not exported.");
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Count("lines"), 4);
    EXPECT_EQ(view.Count("points"), 9);
    // Group order, then type order within a group: 7, 52, 54 | 8.
    EXPECT_EQ(view.Fact("cell\t0"), (std::vector<std::string>{"vtkPolyLine", "0", "1", "2"}));
    EXPECT_EQ(view.Fact("cell\t3"), (std::vector<std::string>{"vtkLine", "7", "8"}));
    EXPECT_EQ(view.Values("cell/type"), Doubles({7, 52, 54, 8}));
    EXPECT_EQ(view.Values("cell/energy"), Doubles({0.05, 0.01, 0.02, 1.5}));
    EXPECT_EQ(view.Values("cell/energy group"), Doubles({0, 0, 0, 1}));
    EXPECT_EQ(view.Values("point/time"), Doubles({1e-9, 2e-9, 3e-9, 5, 6, 6, 7, 1, 2}));
    EXPECT_EQ(view.Values("field/energy group bounds"), Doubles({1e-3, 0.1, 0.1, 10}));
    EXPECT_EQ(view.Values("points")[3], 10.0);
}

TEST_F(TrackVtkExportTest, TheTypeNameIndexNamesEachTracksParticleAndJoinsSharedNames)
{
    std::string message;
    const CVtkFileView view = Export(ETrackSelection::All, message);
    SKIP_WITHOUT_VTK_READER(view);
    const std::vector<std::string>& names = view.Fact("values\tfield/particle names");
    EXPECT_EQ(names, (std::vector<std::string>{"Neutron", "Photon", "Xi_c_plus"}));
    const std::vector<double> types = view.Values("cell/type");
    const std::vector<double> index = view.Values("cell/type name index");
    ASSERT_EQ(index.size(), types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(names.at(std::size_t(index[i])), particles::ParticleName(int(types[i])));
    EXPECT_EQ(index[1], index[2]) << "52 and 54 are both Xi_c_plus";
}

TEST_F(TrackVtkExportTest, TheShownChoiceLeavesOutDisabledGroupsAndHiddenTypes)
{
    m_Store.m_EnergyGroups[1].m_Enabled = false;
    m_Store.m_Particles[0].find(52)->second.m_Visible = false;
    std::string message;
    const CVtkFileView view = Export(ETrackSelection::Shown, message);
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Values("cell/type"), Doubles({7, 54}));
    const CVtkFileView all = Export(ETrackSelection::All, message);
    EXPECT_EQ(all.Values("cell/type"), Doubles({7, 52, 54, 8})) << "all ignores the switches";
}

TEST_F(TrackVtkExportTest, NothingToWriteIsAnErrorAndNoFile)
{
    for (auto& group : m_Store.m_EnergyGroups)
        group.m_Enabled = false;
    const std::string path = (TestDir() / "none.vtp").string();
    std::string message;
    EXPECT_FALSE(WriteTracksVtk(m_Store, ETrackSelection::Shown, CVtkXmlWriter(), path, message));
    EXPECT_EQ(message, "No tracks are shown; nothing was exported.");
    m_Store.Clear();
    EXPECT_FALSE(WriteTracksVtk(m_Store, ETrackSelection::All, CVtkXmlWriter(), path, message));
    EXPECT_EQ(message, "No tracks are loaded; nothing was exported.");
}

TEST(TrackVtkExportBatch, TheWindowMenuExportsAllOrTheShownTracks)
{
    const CBatchResult run = RunBatch("plugin libTrakor3D.so\n"
                                      "toolbar Trakor3D\n"
                                      "set 1001 $SOURCE/tracks/tests/e2e/two_groups.tracks\n"
                                      "click 1005\n"
                                      "file $WORK/all.vtp\n"
                                      "sysmenu 48\n"
                                      "sysmenu 64\n"
                                      "click 1014\n"
                                      "click 1009\n"
                                      "checkitem 1004 0 1\n"
                                      "file $WORK/shown.vtp\n"
                                      "sysmenu 64\n"
                                      "messages\n");
    ASSERT_EQ(run.m_ExitCode, 0) << run.m_Out << run.m_Err;
    EXPECT_NE(run.m_Out.find("information: No tracks are shown; nothing was exported."),
              std::string::npos)
        << run.m_Out;
    const CVtkFileView all = ReadVtkFile((TestDir() / "all.vtp").string());
    SKIP_WITHOUT_VTK_READER(all);
    ASSERT_EQ(all.m_Error, "");
    EXPECT_EQ(all.Values("cell/type"), Doubles({7, 8}));
    const CVtkFileView shown = ReadVtkFile((TestDir() / "shown.vtp").string());
    ASSERT_EQ(shown.m_Error, "");
    EXPECT_EQ(shown.Values("cell/type"), Doubles({7})) << "only the photon's group is on";
}
