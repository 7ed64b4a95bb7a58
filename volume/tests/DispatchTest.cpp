#include "LoaderTest.h"
#include "volume/loading/FormatDispatch.h"

namespace volumira3d
{
using namespace test;

TEST(FormatDispatch, TheFirstNamePartInListOrderDecides)
{
    EXPECT_EQ(FormatName(FormatFromPath("run.bin.txt")), "FLUKA binary USRBIN");
    EXPECT_EQ(FormatName(FormatFromPath("run.xyz.usrbin")), "XYZ voxel");
    EXPECT_EQ(FormatName(FormatFromPath("/data/RUN.USRBIN")), "FLUKA cartesian USRBIN");
    EXPECT_EQ(FormatName(FormatFromPath("dose.rz")), "FLUKA R-Z USRBIN");
    EXPECT_EQ(FormatName(FormatFromPath("dose.rpz")), "FLUKA R-Phi-Z USRBIN");
    EXPECT_EQ(FormatName(FormatFromPath("tally.mcnpx")), "MCNPX gridconv");
    EXPECT_EQ(FormatName(FormatFromPath("track.out")), "PHITS");
    EXPECT_EQ(FormatName(FormatFromPath("phantom.vxl")), "FLUKA voxel");
    EXPECT_EQ(FormatName(FormatFromPath("/home/.binaries/dose.usrbin")), "FLUKA binary USRBIN");
    EXPECT_EQ(FormatName(FormatFromPath("mean.avg")), "unknown");
    EXPECT_EQ(FormatName(FormatFromPath("mean.err")), "unknown");
    // A meshtal file by the start of its own name, never by a folder's.
    EXPECT_EQ(FormatName(FormatFromPath("/runs/MESHTAL_2")), "MCNP meshtal");
    EXPECT_EQ(FormatName(FormatFromPath("/work/meshtal/mean.avg")), "unknown");
}

TEST(FormatDispatch, ContentWithinTenLinesIdentifiesTheLoader)
{
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("identified.avg"))), "FLUKA cartesian USRBIN");
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("line11.avg"))), "unknown");
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("rz_4x2.rz"))), "FLUKA R-Z USRBIN");
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("rpz_3x8x1.rpz"))), "FLUKA R-Phi-Z USRBIN");
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("bad/garbage.usrbin"))), "unknown");
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("bad/empty.usrbin"))), "unknown");
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("no_such_file"))), "unknown");
    // The phrases are tested in table order within each line, lines in file order.
    EXPECT_EQ(FormatName(IdentifyContent(WriteScratch("a", "x\n  R-Phi-Z   binning MCNPX\n"))),
              "MCNPX gridconv");
    EXPECT_EQ(
        FormatName(IdentifyContent(WriteScratch("b", "    title = [x]\nCartesian binning\n"))),
        "PHITS");
    EXPECT_EQ(IdentifyContent(DataPath("identified.avg"))->m_IdentifiedLine,
              "Identified FLUKA - cartesian USRBIN...");
}

TEST(FormatDispatch, TheBrowseFilterListsEveryFormatInItsPlace)
{
    EXPECT_EQ(InputFileFilter(),
              "FLUKA average USRBIN - ASCII (*.avg)|*.avg|FLUKA error USRBIN - ASCII (*.err)|*.err|"
              "FLUKA cartesian USRBIN - ASCII (*.usrbin)|*.usrbin|FLUKA RZ symmetric USRBIN - "
              "ASCII (*.rz)|*.rz|FLUKA R-Phi-Z USRBIN - ASCII (*.rpz)|*.rpz|FLUKA USRBIN - BINARY "
              "(*.bin)|*.bin|XYZ voxel files (*.xyz)|*.xyz|PHITS (*.out)|*.out|MCNPX gridconv file "
              "(*.mcnpx)|*.mcnpx|Volumix3D/FLUKA averaged file (*.avg)|*.avg|Volumix3D/FLUKA error "
              "of average file (*.err)|*.err|FLUKA voxel file (*.vxl)|*.vxl|MCNP mesh tally "
              "(meshtal*)|meshtal*|All Files (*.*)|*.*|");
}

TEST(FormatDispatch, EveryFormatHasALoaderAndAFilterEntry)
{
    for (const CVolumeFormat& format : VolumeFormats())
    {
        EXPECT_NE(format.m_Load, nullptr) << format.m_Name;
        EXPECT_FALSE(format.m_Filter.empty()) << format.m_Name;
        const bool identifiable = !format.m_Phrases[0].empty() || format.m_Recognize;
        EXPECT_EQ(identifiable, !format.m_IdentifiedLine.empty()) << format.m_Name;
    }
}

namespace volumira3d
{
// FLUKA names its binary outputs fort.21 or *.bnn: no ".bin" in sight, so the content decides.
TEST(FormatDispatch, BinaryFlukaFilesAreRecognisedByTheirRecordFraming)
{
    SKIP_WITHOUT_REAL_DATA();
    const std::string real = RealData("fluka_usrbin_binary/pymchelper_dimensions001_fort.21");
    ASSERT_EQ(FormatName(IdentifyContent(real)), "FLUKA binary USRBIN");
    EXPECT_EQ(IdentifyContent(real)->m_IdentifiedLine, "Identified FLUKA - binary USRBIN...");
    const std::string bnn = WriteScratch("run_21.bnn", ReadText(real));
    EXPECT_EQ(FormatName(FormatFromPath("run_21.bnn")), "unknown");
    EXPECT_EQ(FormatName(IdentifyContent(bnn)), "FLUKA binary USRBIN");
    // Cut inside the second record, or text: no framing.
    EXPECT_EQ(FormatName(IdentifyContent(WriteScratch("cut.bnn", ReadText(real).substr(0, 200)))),
              "unknown");
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("identified.avg"))), "FLUKA cartesian USRBIN");
}
} // namespace volumira3d

// Tests and fuzz targets load a format by its name in the table: a name that names nothing fails
// with a line that says so, never a silent load of another format.
class FormatByName : public CFormatTest
{
};

TEST_F(FormatByName, EveryFormatLoadsByItsNameAndAnUnknownNameFails)
{
    for (const CVolumeFormat& format : VolumeFormats())
    {
        CVolumeLoader loader(m_Grid, m_Log);
        EXPECT_FALSE(loader.Load(format.m_Name, "/nonexistent")) << format.m_Name;
        EXPECT_NE(loader.LastError(),
                  "No volume format is named " + std::string(format.m_Name) + ".");
    }
    EXPECT_FALSE(Loader().Load("FLUKA cartesian", DataPath("cartesian_3x2x2.usrbin")));
    EXPECT_TRUE(Logged("No volume format is named FLUKA cartesian.", ILoadLog::IconError));
    EXPECT_TRUE(Loader().Load("FLUKA cartesian USRBIN", DataPath("cartesian_3x2x2.usrbin")));
}
} // namespace volumira3d
