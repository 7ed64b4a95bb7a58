#include "cloud/CloudVtkExport.h"
#include "cloud/ParticleDataReader.h"
#include "testkit/BatchRun.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"
#include "testkit/VtkReadBack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

using namespace nebulo3d;
using namespace testkit;

namespace
{
struct CExpected
{
    int m_Type;
    double m_Energy;
    std::vector<double> m_Position, m_Direction;
};

// cloud.dat by weight (each particle has its own): type, energy, position, direction.
const std::map<double, CExpected> CloudDat = {
    {1.0, {1, 0.5, {0, 0, 0}, {1, 0, 0}}},
    {2.0, {8, 5.0, {10, 0, 0}, {0, 1, 0}}},
    {3.0, {7, 1.0, {0, 10, 0}, {0, 0, 1}}},
    {0.5, {8, 0.1, {10, 10, 0}, {-1, 0, 0}}},
};

std::vector<double> Tuple(const std::vector<double>& values, std::size_t i, std::size_t n)
{
    return std::vector<double>(values.begin() + long(i * n), values.begin() + long((i + 1) * n));
}

// Every vertex carries the fields of the particle of its type.
void ExpectCloudDat(const CVtkFileView& view)
{
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Count("verts"), 4);
    const std::vector<double> weights = view.Values("point/weight");
    const std::vector<double> index = view.Values("point/type name index");
    const std::vector<std::string>& names = view.Fact("values\tfield/particle names");
    ASSERT_EQ(weights.size(), 4u);
    for (std::size_t i = 0; i < weights.size(); ++i)
    {
        ASSERT_EQ(CloudDat.count(weights[i]), 1u) << weights[i];
        const CExpected& want = CloudDat.at(weights[i]);
        EXPECT_EQ(view.Values("point/type").at(i), want.m_Type);
        EXPECT_EQ(view.Values("point/energy").at(i), want.m_Energy);
        EXPECT_EQ(Tuple(view.Values("points"), i, 3), want.m_Position);
        EXPECT_EQ(Tuple(view.Values("point/direction"), i, 3), want.m_Direction);
        EXPECT_EQ(view.Fact("cell\t" + std::to_string(i)),
                  (std::vector<std::string>{"vtkVertex", std::to_string(i)}));
        ASSERT_LT(std::size_t(index.at(i)), names.size());
        EXPECT_EQ(names[std::size_t(index[i])], want.m_Type == 8   ? "Neutron"
                                                : want.m_Type == 7 ? "Photon"
                                                                   : "Proton");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Neutron", "Photon", "Proton"}));
}

class CloudVtkExportTest : public CUiTest
{
};
} // namespace

TEST_F(CloudVtkExportTest, EveryParticleIsAVertexWithItsFields)
{
    CParticleDataReader cloud;
    ASSERT_TRUE(cloud.Read(SourcePath("cloud/tests/data/cloud.dat"), nullptr));
    cloud.SetTypeVisible(8, false); // hidden particles are exported too
    const std::string path = (TestDir() / "cloud.vtp").string();
    std::string message;
    ASSERT_TRUE(WriteCloudVtk(cloud, CVtkXmlWriter(), path, message)) << message;
    const CVtkFileView view = ReadVtkFile(path);
    SKIP_WITHOUT_VTK_READER(view);
    ExpectCloudDat(view);
}

TEST_F(CloudVtkExportTest, AnEmptyCloudWritesNothing)
{
    CParticleDataReader cloud;
    std::string message;
    EXPECT_FALSE(WriteCloudVtk(cloud, CVtkXmlWriter(), (TestDir() / "e.vtp").string(), message));
    EXPECT_EQ(message, "No particles are loaded; nothing was exported.");
}

TEST(CloudVtkExportBatch, TheWindowMenuExportsTheLoadedCloudAsAsciiWhenSet)
{
    // The user's setting asks for text files; the host reads it from its own settings folder.
    const std::string config = (TestDir() / "config").string();
    std::filesystem::create_directories(TestDir() / "config" / "Wendrik");
    WriteScratch("config/Wendrik/VtkExport.ini", "[Export]\nASCII=1\n");
    const std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const CBatchResult run = RunBatch("plugin libNebulo3D.so\n"
                                      "toolbar Nebulo3D\n"
                                      "sysmenu 48\n"
                                      "file $SOURCE/cloud/tests/data/cloud.dat\n"
                                      "click 1002\n"
                                      "click 1005\n"
                                      "file $WORK/cloud.vtp\n"
                                      "sysmenu 48\n"
                                      "messages\n");
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    ASSERT_EQ(run.m_ExitCode, 0) << run.m_Out << run.m_Err;
    EXPECT_NE(run.m_Out.find("information: No particles are loaded; nothing was exported."),
              std::string::npos)
        << run.m_Out;
    const std::string path = (TestDir() / "cloud.vtp").string();
    EXPECT_EQ(ReadText(path).find("format=\"appended\""), std::string::npos) << "all ASCII";
    const CVtkFileView view = ReadVtkFile(path);
    SKIP_WITHOUT_VTK_READER(view);
    ExpectCloudDat(view);
}
