#include "TestHelpers.h"
#include "volume/FormatDispatch.h"

namespace volumira3d
{
using namespace test;

TEST(FormatDispatch, TheFirstNamePartInListOrderDecides)
{
    EXPECT_EQ(FormatFromPath("run.bin.txt"), EVolumeFormat::FlukaBinary);
    EXPECT_EQ(FormatFromPath("run.xyz.usrbin"), EVolumeFormat::XYZ);
    EXPECT_EQ(FormatFromPath("/data/RUN.USRBIN"), EVolumeFormat::FlukaCartesian);
    EXPECT_EQ(FormatFromPath("dose.rz"), EVolumeFormat::FlukaRZ);
    EXPECT_EQ(FormatFromPath("dose.rpz"), EVolumeFormat::FlukaRPhiZ);
    EXPECT_EQ(FormatFromPath("tally.mcnpx"), EVolumeFormat::MCNPX);
    EXPECT_EQ(FormatFromPath("track.out"), EVolumeFormat::PHITS);
    EXPECT_EQ(FormatFromPath("phantom.vxl"), EVolumeFormat::FlukaVoxel);
    EXPECT_EQ(FormatFromPath("/home/.binaries/dose.usrbin"), EVolumeFormat::FlukaBinary);
    EXPECT_EQ(FormatFromPath("mean.avg"), EVolumeFormat::Unknown);
    EXPECT_EQ(FormatFromPath("mean.err"), EVolumeFormat::Unknown);
}

TEST(FormatDispatch, ContentWithinTenLinesIdentifiesTheLoader)
{
    EXPECT_EQ(IdentifyContent(DataPath("identified.avg")), EVolumeFormat::FlukaCartesian);
    EXPECT_EQ(IdentifyContent(DataPath("line11.avg")), EVolumeFormat::Unknown);
    EXPECT_EQ(IdentifyContent(DataPath("rz_4x2.rz")), EVolumeFormat::FlukaRZ);
    EXPECT_EQ(IdentifyContent(DataPath("rpz_3x8x1.rpz")), EVolumeFormat::FlukaRPhiZ);
    EXPECT_EQ(IdentifyContent(DataPath("bad/garbage.usrbin")), EVolumeFormat::Unknown);
    EXPECT_EQ(IdentifyContent(DataPath("bad/empty.usrbin")), EVolumeFormat::Unknown);
    EXPECT_EQ(IdentifyContent(DataPath("no_such_file")), EVolumeFormat::Unknown);
    // The phrases are tested in table order within each line, lines in file order.
    EXPECT_EQ(IdentifyContent(WriteScratch("a", "x\n  R-Phi-Z   binning MCNPX\n")),
              EVolumeFormat::MCNPX);
    EXPECT_EQ(IdentifyContent(WriteScratch("b", "    title = [x]\nCartesian binning\n")),
              EVolumeFormat::PHITS);
    EXPECT_STREQ(IdentifiedLogLine(EVolumeFormat::FlukaCartesian),
                 "Identified FLUKA - cartesian USRBIN...");
}
} // namespace volumira3d
