#include "isotopes/NucVecCollectorReader.h"
#include "isotopes/NuclideVtkExport.h"
#include "testkit/BatchRun.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"
#include "testkit/VtkReadBack.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace nuclira3d;
using namespace testkit;

namespace
{
// co_cs.dat by weight: (Z, A) and position of each emitter.
const std::map<double, std::pair<std::pair<int, int>, std::vector<double>>> CoCs = {
    {1.0, {{27, 60}, {1, 2, 3}}},
    {3.0, {{27, 60}, {4, 5, 6}}},
    {4.0, {{55, 137}, {7, 8, 9}}},
};

void ExpectCoCs(const CVtkFileView& view)
{
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Count("verts"), 3);
    const std::vector<double> weights = view.Values("point/weight");
    ASSERT_EQ(weights.size(), 3u);
    for (std::size_t i = 0; i < weights.size(); ++i)
    {
        ASSERT_EQ(CoCs.count(weights[i]), 1u) << weights[i];
        const auto& [za, position] = CoCs.at(weights[i]);
        EXPECT_EQ(view.Values("point/Z").at(i), za.first);
        EXPECT_EQ(view.Values("point/A").at(i), za.second);
        const std::vector<double> points = view.Values("points");
        EXPECT_EQ(
            std::vector<double>(points.begin() + long(3 * i), points.begin() + long(3 * i + 3)),
            position);
    }
}

class NuclideVtkExportTest : public CUiTest
{
};
} // namespace

TEST_F(NuclideVtkExportTest, EveryEmitterIsAVertexWithZAAndWeight)
{
    CNucVecCollectorReader nuclides;
    ASSERT_TRUE(nuclides.Read(SourcePath("isotopes/tests/data/co_cs.dat"), nullptr));
    const std::string path = (TestDir() / "nuclides.vtp").string();
    std::string message;
    ASSERT_TRUE(WriteNuclideVtk(nuclides, CVtkXmlWriter(), path, message)) << message;
    const CVtkFileView view = ReadVtkFile(path);
    SKIP_WITHOUT_VTK_READER(view);
    ExpectCoCs(view);
}

TEST_F(NuclideVtkExportTest, NothingLoadedWritesNothing)
{
    CNucVecCollectorReader nuclides;
    std::string message;
    EXPECT_FALSE(
        WriteNuclideVtk(nuclides, CVtkXmlWriter(), (TestDir() / "e.vtp").string(), message));
    EXPECT_EQ(message, "No nuclides are loaded; nothing was exported.");
}

TEST(NuclideVtkExportBatch, TheWindowMenuExportsTheLoadedEmitters)
{
    const CBatchResult run = RunBatch("plugin libNuclira3D.so\n"
                                      "toolbar Nuclira3D\n"
                                      "sysmenu 48\n"
                                      "file $SOURCE/isotopes/tests/data/co_cs.dat\n"
                                      "click 1002\n"
                                      "click 1005\n"
                                      "file $WORK/nuclides.vtp\n"
                                      "sysmenu 48\n"
                                      "messages\n");
    ASSERT_EQ(run.m_ExitCode, 0) << run.m_Out << run.m_Err;
    EXPECT_NE(run.m_Out.find("information: No nuclides are loaded; nothing was exported."),
              std::string::npos)
        << run.m_Out;
    const CVtkFileView view = ReadVtkFile((TestDir() / "nuclides.vtp").string());
    SKIP_WITHOUT_VTK_READER(view);
    ExpectCoCs(view);
}
