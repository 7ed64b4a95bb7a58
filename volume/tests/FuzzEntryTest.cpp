// The fuzzing entry point: good bytes load, and hostile bytes (empty, noise, every cut of a good
// file) never give a success for a file they cannot be.
#include "volume/FuzzEntry.h"
#include "LoaderTest.h"
#include "volume/loading/FormatDispatch.h"

#include <random>

namespace volumira3d
{
using namespace test;

namespace
{
bool Load(std::string_view format, const std::string& bytes)
{
    return LoadVolumeBytes(format, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           bytes.size());
}
} // namespace

TEST(FuzzEntry, GoodBytesLoadThroughTheFormatsOwnLoader)
{
    EXPECT_TRUE(Load("MCNPX gridconv", ReadText(DataPath("one_set.mcnpx"))));
    EXPECT_TRUE(Load("FLUKA cartesian USRBIN", ReadText(DataPath("cartesian_3x2x2.usrbin"))));
    EXPECT_FALSE(Load("no such format", ReadText(DataPath("one_set.mcnpx"))));
    const std::string text = ReadText(DataPath("cartesian_3x2x2.usrbin"));
    EXPECT_TRUE(AverageBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(FuzzEntry, NoiseAndCutFilesNeverLoad)
{
    std::mt19937 random(11);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    for (const CVolumeFormat& format : VolumeFormats())
    {
        SCOPED_TRACE(std::string(format.m_Name));
        EXPECT_FALSE(Load(format.m_Name, ""));
        EXPECT_FALSE(Load(format.m_Name, noise));
    }
    const std::string mcnpx = ReadText(DataPath("one_set.mcnpx"));
    // Every cut before the last value fails (a cut inside the last number still reads a number).
    for (size_t cut = 0; cut + 4 < mcnpx.find("4.0"); cut += 3)
        EXPECT_FALSE(Load("MCNPX gridconv", mcnpx.substr(0, cut))) << cut;
    // A small meshtal file: any cut before its last row's error fails (the row count is off).
    const std::string meshtal = ReadText(DataPath("two_cells.meshtal"));
    EXPECT_TRUE(Load("MCNP meshtal", meshtal));
    for (size_t end = 0; end < meshtal.rfind(' '); end += 5)
        EXPECT_FALSE(Load("MCNP meshtal", meshtal.substr(0, end))) << end;
    const std::string binary = FortranFile("sum_stats.bin");
    if (binary.empty()) return;
    const std::string bytes = ReadText(binary);
    // Run record (8 + 128), binning record (8 + 86), values (8 + 48): a cut after them leaves
    // the first binning whole, which loads with a warning (FlukaBinaryTest).
    for (size_t cut = 0; cut < 286; cut += 7)
        EXPECT_FALSE(Load("FLUKA binary USRBIN", bytes.substr(0, cut))) << cut;
}
} // namespace volumira3d
