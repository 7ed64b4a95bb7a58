#include "cloud/MCNPXReader.h"
#include "cloud/McplExport.h"
#include "cloud/McplHeader.h"
#include "cloud/McplReader.h"
#include "cloud/McplSamplingDlg.h"
#include "cloud/PdgCodes.h"
#include "cloud/Statistics.h"
#include "platform/Controls.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>
#include <mcpl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

using namespace nebulo3d;
using testkit::TestDir;

namespace
{
// Flags of a written list: which of the optional MCPL fields it stores.
constexpr unsigned Double = 1, Polarised = 2, Flagged = 4, OnePdg = 8, OneWeight = 16, Gzipped = 32;

struct CWritten
{
    double m_Ekin, m_X, m_Y, m_Z, m_U, m_V, m_W, m_Time, m_Weight;
    std::int32_t m_Pdg;
};

const CWritten Proton{2.5, 1, 2, 3, 0, 0.6, 0.8, 2.0, 0.5, 2212};
const CWritten Alpha{4000, -1, 0, 0, 1, 0, 0, 0, 0.5, 1000020040};
const CWritten Lead{1e4, 0, 0, 5, 0, 0, 1, 0, 0.5, 1000822080};

std::string WriteList(const std::string& name, const std::vector<CWritten>& particles,
                      unsigned flags = 0)
{
    const std::string path = (TestDir() / name).string();
    mcpl_outfile_t f = mcpl_create_outfile(path.c_str());
    mcpl_hdr_set_srcname(f, "test writer");
    if (flags & Double) mcpl_enable_doubleprec(f);
    if (flags & Polarised) mcpl_enable_polarisation(f);
    if (flags & Flagged) mcpl_enable_userflags(f);
    if (flags & OnePdg) mcpl_enable_universal_pdgcode(f, 2212);
    if (flags & OneWeight) mcpl_enable_universal_weight(f, 0.5);
    mcpl_particle_t* p = mcpl_get_empty_particle(f);
    for (const CWritten& w : particles)
    {
        *p = {};
        p->ekin = w.m_Ekin;
        p->position[0] = w.m_X, p->position[1] = w.m_Y, p->position[2] = w.m_Z;
        p->direction[0] = w.m_U, p->direction[1] = w.m_V, p->direction[2] = w.m_W;
        p->time = w.m_Time;
        p->weight = w.m_Weight;
        p->pdgcode = w.m_Pdg;
        mcpl_add_particle(f, p);
    }
    if (flags & Gzipped)
    {
        EXPECT_TRUE(mcpl_closeandgzip_outfile(f));
        return path + ".gz";
    }
    mcpl_close_outfile(f);
    return path;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string WriteBytes(const std::string& name, const std::string& bytes)
{
    return testkit::WriteScratch(name, bytes);
}

template <class T> void Patch(std::string& bytes, size_t at, T value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

bool HasLine(const std::vector<std::string>& lines, const std::string& part)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& l : lines)
        all += l + "\n";
    return all;
}

const CParticle& OnlyOf(const CParticleDataReader& r, int type)
{
    EXPECT_EQ(r.CountOfType(type), 1u) << "type " << type;
    return *r.AllParticles().find(type)->second;
}

class McplTest : public testkit::CUiTest
{
};
} // namespace

TEST(PdgCodes, FlukaTypesAndTheirCodesMapBothWays)
{
    EXPECT_EQ(TypeOfPdgCode(2112), 8);
    EXPECT_EQ(TypeOfPdgCode(22), 7);
    EXPECT_EQ(TypeOfPdgCode(2212), 1);
    EXPECT_EQ(TypeOfPdgCode(-13), 10) << "mu+ is the antiparticle of the muon";
    EXPECT_EQ(TypeOfPdgCode(13), 11);
    EXPECT_EQ(TypeOfPdgCode(-2112), 9);
    EXPECT_EQ(TypeOfPdgCode(1000010020), 67);
    EXPECT_EQ(TypeOfPdgCode(1000020040), 70);
    for (std::int32_t other : {0, 999, 1000822080, 1000020050, -22})
        EXPECT_EQ(TypeOfPdgCode(other), OtherType) << other;
    int named = 0;
    for (int type = 0; type <= OtherType; ++type)
        if (const std::int32_t code = PdgCodeOfType(type))
        {
            EXPECT_EQ(TypeOfPdgCode(code), type) << code;
            ++named;
        }
    EXPECT_EQ(named, 62) << "every FLUKA particle with a PDG number, none twice";
    for (int unnumbered : {0, 26, 65, 66, OtherType, 200})
        EXPECT_EQ(PdgCodeOfType(unnumbered), 0) << unnumbered;
}

TEST_F(McplTest, EveryFieldLayoutReadsTheSameParticles)
{
    for (unsigned flags :
         {0u, Double, Polarised, Flagged, OnePdg, OneWeight,
          Double | Polarised | Flagged | OnePdg | OneWeight, Gzipped, Gzipped | Double})
    {
        SCOPED_TRACE("flags " + std::to_string(flags));
        const std::string path =
            WriteList("fields" + std::to_string(flags) + ".mcpl", {Proton, Proton}, flags);
        CMcplReader r;
        ASSERT_TRUE(r.Read(path, nullptr)) << testkit::MessageTexts().back();
        EXPECT_TRUE(r.Warnings().empty()) << Joined(r.Warnings());
        ASSERT_EQ(r.CountOfType(1), 2u);
        const CParticle& p = *r.AllParticles().find(1)->second;
        const double tolerance = flags & Double ? 1e-12 : 1e-6;
        EXPECT_NEAR(p.m_Energy, 0.0025, tolerance * 0.0025) << "MeV into GeV";
        EXPECT_NEAR(p.m_Position.x, 1, tolerance);
        EXPECT_NEAR(p.m_Position.z, 3, tolerance);
        EXPECT_NEAR(p.m_Direction.y, 0.6, tolerance);
        EXPECT_NEAR(p.m_Direction.z, 0.8, tolerance);
        EXPECT_NEAR(p.m_Time, 0.002, tolerance * 0.002) << "ms into s";
        EXPECT_NEAR(p.m_Weight, 0.5, tolerance);
        EXPECT_EQ(p.m_ExtentMax.z, p.m_Position.z + p.m_Direction.z);
        EXPECT_EQ(HasLine(r.Notes(), "Polarisation vectors are stored in the file and ignored"),
                  (flags & Polarised) != 0);
        EXPECT_EQ(HasLine(r.Notes(), "User flags are stored in the file and ignored"),
                  (flags & Flagged) != 0);
        EXPECT_EQ(HasLine(r.Notes(), "(gzipped)"), (flags & Gzipped) != 0);
        EXPECT_TRUE(HasLine(r.Notes(), "Energies converted from MeV to GeV"));
    }
}

TEST_F(McplTest, IonsAndUnknownCodesAreOneCountedType)
{
    const std::string path =
        WriteList("ions.mcpl", {Alpha, Lead, {1, 0, 0, 0, 0, 0, 1, 0, 1, 777}});
    CMcplReader r;
    ASSERT_TRUE(r.Read(path, nullptr));
    EXPECT_EQ(OnlyOf(r, 70).m_Energy, 4.0) << "4He has its FLUKA type";
    EXPECT_EQ(r.CountOfType(OtherType), 2u);
    EXPECT_TRUE(HasLine(r.Notes(), "2 particles of codes without a FLUKA type"))
        << Joined(r.Notes());
    EXPECT_NE(TypeReport(r).find("Other"), std::string::npos);
    EXPECT_NE(TypeReport(r).find("Read 3 of the 3 particles in the file"), std::string::npos)
        << TypeReport(r);
}

TEST_F(McplTest, ListsThatHoldOtherThanTheirHeaderSaysLoadWhatTheyHoldAndSaySo)
{
    const std::string good = ReadBytes(WriteList("ten.mcpl", std::vector<CWritten>(10, Proton)));
    const size_t header = good.size() - 10 * 36;
    struct CCase
    {
        const char* m_Name;
        std::string m_Bytes;
        size_t m_Loaded;
        const char* m_Warning;
    };
    std::string announcesMore = good, announcesFewer = good, announcesNone = good;
    Patch<std::uint64_t>(announcesMore, 8, 1000);
    Patch<std::uint64_t>(announcesFewer, 8, 3);
    Patch<std::uint64_t>(announcesNone, 8, 0);
    const CCase cases[] = {
        {"cut.mcpl", good.substr(0, header + 4 * 36 + 10), 4,
         "the header announces 10 particles, the file holds 4 whole ones: 4 were read"},
        {"more.mcpl", announcesMore, 10,
         "the header announces 1000 particles, the file holds 10 whole ones"},
        {"fewer.mcpl", announcesFewer, 3,
         "the header announces 3 particles, the file holds data for 10: the 3 announced were read"},
        {"none.mcpl", announcesNone, 10, "10 particles were recovered from its size"},
        {"header_only.mcpl", good.substr(0, header), 0, "the file holds 0 whole ones"},
        {"zero.mcpl", ReadBytes(WriteList("empty.mcpl", {})), 0, "the file holds no particles"},
    };
    for (const CCase& c : cases)
    {
        SCOPED_TRACE(c.m_Name);
        CMcplReader r;
        ASSERT_TRUE(r.Read(WriteBytes(c.m_Name, c.m_Bytes), nullptr));
        EXPECT_EQ(r.Count(), c.m_Loaded);
        EXPECT_TRUE(HasLine(r.Warnings(), c.m_Warning)) << Joined(r.Warnings());
    }
    EXPECT_TRUE(testkit::MessageTexts().empty());
}

TEST_F(McplTest, ACutGzippedListLoadsItsUnpackedPartWithAWarning)
{
    const std::string packed =
        ReadBytes(WriteList("long.mcpl", std::vector<CWritten>(2000, Proton), Gzipped));
    CMcplReader r;
    ASSERT_TRUE(r.Read(WriteBytes("cut.mcpl.gz", packed.substr(0, packed.size() - 20)), nullptr));
    EXPECT_TRUE(HasLine(r.Warnings(), "the compressed file ends early")) << Joined(r.Warnings());
    EXPECT_LE(r.Count(), 2000u);
}

TEST_F(McplTest, BrokenHeadersAreRefusedWithTheirReason)
{
    const std::string good = ReadBytes(WriteList("good.mcpl", {Proton}));
    std::string comments = good, particleSize = good, version = good, source = good,
                bigEndian = good, flag = good;
    Patch<std::uint32_t>(flag, 32, 0x4d01);
    // A common weight of 0 made the library misread every particle (a fuzz finding).
    std::string zeroWeight = ReadBytes(WriteList("weighted.mcpl", {Proton}, OneWeight));
    Patch<double>(zeroWeight, 48, 0.0);
    Patch<std::uint32_t>(comments, 16, 0xFFFFFFF0u); // crashes the library unchecked
    Patch<std::uint32_t>(particleSize, 40, 1000);    // stops it by an assertion
    version[6] = '2';
    bigEndian[7] = 'B';
    Patch<std::uint32_t>(source, 48, 0xFFFFFFF0u);
    const std::pair<std::string, const char*> cases[] = {
        {comments, "more than the file can hold"},
        {particleSize, "the header gives 1000 bytes per particle where its flags make 36"},
        {version, "MCPL format version 002 is not read"},
        {bigEndian, "a big-endian MCPL file is not read"},
        {source, "a header text runs past the end of the file"},
        {flag, "a header flag holds 19713 where 0 or 1 belongs"},
        {zeroWeight, "the header's common weight of every particle is 0"},
        {good.substr(0, 30), "the header ends before its fixed fields"},
        {"garbage that is no list\n", "not an MCPL file"},
        {"", "not an MCPL file"},
        {"\x1f\x8bnot really gzip", "not an MCPL file"},
    };
    int i = 0;
    for (const auto& [bytes, reason] : cases)
    {
        SCOPED_TRACE(reason);
        testkit::Ui().Reset();
        CMcplReader r;
        EXPECT_FALSE(r.Read(WriteBytes("bad" + std::to_string(i++) + ".mcpl", bytes), nullptr));
        EXPECT_EQ(r.Count(), 0u);
        ASSERT_EQ(testkit::MessageTexts(true).size(), 1u);
        EXPECT_NE(testkit::MessageTexts(true)[0].find(reason), std::string::npos)
            << testkit::MessageTexts(true)[0];
        EXPECT_EQ(testkit::MessageTexts(true)[0].rfind("error: ERROR: ", 0), 0u);
    }
    CMcplReader r;
    EXPECT_FALSE(r.Read((TestDir() / "no-such.mcpl").string(), nullptr));
    EXPECT_FALSE(r.Read("", nullptr));
    EXPECT_TRUE(testkit::Shown("ERROR: No filename specified!"));
}

TEST_F(McplTest, ParticlesWithBrokenNumbersAreSkippedAndCounted)
{
    CWritten broken = Proton;
    broken.m_X = std::nan("");
    CWritten infinite = Proton;
    infinite.m_Weight = INFINITY;
    CMcplReader r;
    ASSERT_TRUE(r.Read(WriteList("nan.mcpl", {Proton, broken, infinite}, Double), nullptr));
    EXPECT_EQ(r.Count(), 1u);
    EXPECT_TRUE(HasLine(r.Warnings(), "2 particles with a coordinate, energy, weight or time that "
                                      "is not a finite number were skipped"))
        << Joined(r.Warnings());
}

TEST_F(McplTest, LongListsAskAndReadEveryNthOrTheFirstN)
{
    std::vector<CWritten> list;
    for (int i = 0; i < 25; ++i)
        list.push_back({double(i + 1), double(i), 0, 0, 0, 0, 1, 0, 1, 22});
    const std::string path = WriteList("long.mcpl", list);
    struct CCase
    {
        CMcplSampling m_Sampling;
        std::vector<double> m_X;
    };
    using M = CMcplSampling::EMode;
    const CCase cases[] = {
        {{M::EveryNth, 10}, {0, 10, 20}},
        {{M::FirstN, 2}, {0, 1}},
        {{M::FirstN, 100}, {}},
    };
    for (const CCase& c : cases)
    {
        CMcplReader r;
        r.SetLargeList(20);
        std::uint64_t asked = 0;
        double megabytes = 0;
        r.SetSamplingQuestion(
            [&](std::uint64_t n, double mb, CMcplSampling& s)
            {
                asked = n, megabytes = mb;
                s = c.m_Sampling;
                return true;
            });
        ASSERT_TRUE(r.Read(path, nullptr));
        EXPECT_EQ(asked, 25u);
        EXPECT_NEAR(megabytes, 25 * CMcplReader::BytesPerParticle() / 1e6, 1e-12);
        std::vector<double> xs;
        for (const auto& [type, p] : r.AllParticles())
            xs.push_back(p->m_Position.x);
        std::sort(xs.begin(), xs.end());
        if (!c.m_X.empty())
            EXPECT_EQ(xs, c.m_X);
        else
            EXPECT_EQ(xs.size(), 25u);
        EXPECT_TRUE(HasLine(r.Notes(), "of the 25 particles in the file")) << Joined(r.Notes());
    }
    CMcplReader cancelled;
    cancelled.SetLargeList(20);
    cancelled.SetSamplingQuestion([](std::uint64_t, double, CMcplSampling&) { return false; });
    EXPECT_FALSE(cancelled.Read(path, nullptr));
    EXPECT_EQ(cancelled.Count(), 0u);
    CMcplReader small;
    small.SetSamplingQuestion([](std::uint64_t, double, CMcplSampling&) -> bool { throw 1; });
    EXPECT_TRUE(small.Read(path, nullptr)) << "25 particles are not a long list";
}

TEST_F(McplTest, TheSamplingDialogOffersAThinnedListAndSaysTheMemory)
{
    std::string label;
    testkit::Ui().QueueModal("MCPL particles",
                             [&](CDialog& dlg)
                             {
                                 label = dlg.GetTemplate().m_Controls.front().m_Text;
                                 EXPECT_EQ(CComboBox(&dlg, IDC_MCPL_WHICH).GetCurSel(), 1);
                                 dlg.UserSelect(IDC_MCPL_WHICH, 2);
                                 dlg.UserSetText(IDC_MCPL_N, "1000");
                                 dlg.UserClick(IDOK);
                             });
    CMcplSampling sampling;
    ASSERT_TRUE(CMcplSamplingDlg::Question(nullptr)(123456789, 9876.4, sampling));
    EXPECT_EQ(label,
              "The file holds 123456789 particles; all of them take about 9876 MB of memory.");
    EXPECT_EQ(sampling.m_Mode, CMcplSampling::EMode::FirstN);
    EXPECT_EQ(sampling.m_N, 1000u);
    testkit::Ui().QueueModal("MCPL particles", [](CDialog& dlg) { dlg.UserClick(IDCANCEL); });
    EXPECT_FALSE(CMcplSamplingDlg::Question(nullptr)(123456789, 9876.4, sampling));
}

namespace
{
using CKey = std::tuple<int, double, double, double, double, double, double, double, double>;

std::vector<CKey> Keys(const CParticleDataReader& r, double energyFactor)
{
    std::vector<CKey> keys;
    for (const auto& [type, particle] : r.AllParticles())
    {
        const CParticle& p = *particle;
        const CVector& d = p.m_Direction;
        keys.emplace_back(p.m_Type, p.m_Position.x, p.m_Position.y, p.m_Position.z, d.x, d.y, d.z,
                          p.m_Energy * energyFactor, p.m_Weight);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}
} // namespace

TEST_F(McplTest, AnMcnpTableExportedAndReadBackIsTheSameCloud)
{
    CMCNPXReader table;
    ASSERT_TRUE(table.Read(testkit::SourcePath("cloud/tests/data/table110.mout"), nullptr));
    for (const char* name : {"table.mcpl", "table.mcpl.gz"})
    {
        SCOPED_TRACE(name);
        const std::string path = (TestDir() / name).string();
        std::string message;
        ASSERT_TRUE(WriteCloudMcpl(table, nullptr, path, message)) << message;
        EXPECT_EQ(message, "") << "MeV stays MeV; every type has its code";
        EXPECT_FALSE(std::filesystem::exists(path + ".part"));
        EXPECT_FALSE(std::filesystem::exists(path + ".part.mcpl"));
        CMcplReader back;
        ASSERT_TRUE(back.Read(path, nullptr));
        // The table's MeV came back as GeV.
        EXPECT_EQ(Keys(back, 1000.0), Keys(table, 1.0));
    }
}

TEST_F(McplTest, TheShownOnlyExportWritesWhatTheFilterPasses)
{
    CMCNPXReader table;
    ASSERT_TRUE(table.Read(testkit::SourcePath("cloud/tests/data/table110.mout"), nullptr));
    const std::string path = (TestDir() / "neutrons.mcpl").string();
    std::string message;
    ASSERT_TRUE(WriteCloudMcpl(
        table, [](const CParticle& p) { return p.m_Type == 8; }, path, message));
    CMcplReader back;
    ASSERT_TRUE(back.Read(path, nullptr));
    EXPECT_EQ(back.Count(), table.CountOfType(8));
    EXPECT_EQ(back.Types(), std::vector<int>{8});
}

TEST_F(McplTest, ExportNotesWhatItChangedAndKeepsTheOldFileWhenItFails)
{
    CParticleDataReader own;
    auto p = std::make_unique<CParticle>();
    p->m_Type = 66; // heavy ion: no PDG number
    p->m_Energy = 1;
    own.Add(std::move(p));
    const std::string path = (TestDir() / "own.mcpl").string();
    std::string message;
    ASSERT_TRUE(WriteCloudMcpl(own, nullptr, path, message));
    EXPECT_EQ(message, "Energies were taken as GeV (the file states no unit) and written in MeV.\n"
                       "1 particles of a type without a PDG number were written with code 0.\n"
                       "1 particles without a direction were written pointing along +z.");
    // A folder where the temporary file would go makes the write fail, even for root.
    const std::string old = testkit::WriteScratch("old.mcpl", "old contents");
    std::filesystem::create_directories(old + ".part.mcpl");
    EXPECT_FALSE(WriteCloudMcpl(own, nullptr, old, message));
    EXPECT_EQ(message.rfind("Cannot write " + old + ": ", 0), 0u) << message;
    EXPECT_EQ(testkit::ReadText(old), "old contents");
    std::filesystem::remove(old + ".part.mcpl");
    EXPECT_FALSE(WriteCloudMcpl(own, nullptr, (TestDir() / "missing/x.mcpl").string(), message));
    EXPECT_NE(message.find("Cannot write"), std::string::npos) << message;
    for (const auto& entry : std::filesystem::directory_iterator(TestDir()))
        EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
}
