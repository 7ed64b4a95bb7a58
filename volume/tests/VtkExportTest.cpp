#include "TestHelpers.h"
#include "platform/Profile.h"
#include "testkit/BatchRun.h"
#include "testkit/FakeHost.h"
#include "testkit/VtkReadBack.h"
#include "volume/GridVtkExport.h"
#include "volume/Volumira3DDlg.h"
#include "volume/display/Transform.h"

#include <filesystem>

namespace volumira3d
{
using namespace test;

namespace
{
class CCollect : public CVtkSink
{
public:
    void Put(const double* v, std::size_t n) override { m_Values.insert(m_Values.end(), v, v + n); }
    void Put(const std::int32_t*, std::size_t) override {}
    void Put(const std::int64_t*, std::size_t) override {}
    void Put(const std::string&) override {}
    std::vector<double> m_Values;
};

// The grid's values in VTK's cell order, x fastest.
std::vector<double> XFastest(const CVoxelGrid& grid)
{
    std::vector<double> values;
    for (int iz = 0; iz < grid.m_NrZBins; ++iz)
        for (int iy = 0; iy < grid.m_NrYBins; ++iy)
            for (int ix = 0; ix < grid.m_NrXBins; ++ix)
                values.push_back(grid.m_Voxels[ix][iy][iz]);
    return values;
}

void FillCounting(CVoxelGrid& grid, int nx, int ny, int nz)
{
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(nx, ny, nz, error)) << error;
    for (int ix = 0; ix < nx; ++ix)
        for (int iy = 0; iy < ny; ++iy)
            for (int iz = 0; iz < nz; ++iz)
                grid.m_Voxels[ix][iy][iz] = ix + 100 * iy + 10000 * iz;
}
} // namespace

class GridVtkExportTest : public CLoaderTest
{
protected:
    std::string Export(const CGridExportInfo& info = {}, const char* name = "grid.vti")
    {
        const std::string path = (TestDir() / name).string();
        std::string error;
        EXPECT_TRUE(WriteGridVtk(m_Grid, info, CVtkXmlWriter(), path, error)) << error;
        return path;
    }
};

TEST_F(GridVtkExportTest, EverySlabDepthAndTheRowFallbackGiveXFastestOrder)
{
    FillCounting(m_Grid, 5, 4, 7);
    const std::vector<double> expected = XFastest(m_Grid);
    // 3 layers per slab leave a short last slab; 1 byte forces one x-row at a time.
    for (std::size_t slabBytes : {GridSlabBytes, std::size_t(5 * 4 * 8 * 3), std::size_t(1)})
    {
        CCollect sink;
        GridCellArray("v", m_Grid.m_Voxels, 5, 4, 7, slabBytes).m_Produce(sink);
        EXPECT_EQ(sink.m_Values, expected) << "slab of " << slabBytes << " bytes";
    }
}

TEST_F(GridVtkExportTest, ARealFlukaGridReadsBackWithItsGeometryAndEveryValue)
{
    const std::string real =
        TESSARON_SOURCE_DIR "/../shared/realdata/fluka_usrbin_ascii/mphys_100MeV1cmHydrogen_51.txt";
    if (!std::filesystem::exists(real)) GTEST_SKIP() << "real FLUKA data not found at " << real;
    ASSERT_TRUE(Loader().Load("FLUKA cartesian USRBIN", real));
    CGridExportInfo info;
    info.m_ValueName = "DOSE-EQ pSv/primary";
    const CVtkFileView view = ReadVtkFile(Export(info));
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Fact("extent"), (std::vector<std::string>{"0", "10", "0", "10", "0", "10"}));
    EXPECT_EQ(view.Numbers("origin"),
              (std::vector<double>{m_Grid.m_GridMin[0], m_Grid.m_GridMin[1], m_Grid.m_GridMin[2]}));
    EXPECT_EQ(
        view.Numbers("spacing"),
        (std::vector<double>{m_Grid.m_BinWidth[0], m_Grid.m_BinWidth[1], m_Grid.m_BinWidth[2]}));
    EXPECT_EQ(view.Values("cell/DOSE-EQ pSv/primary"), XFastest(m_Grid));
    EXPECT_TRUE(view.Fact("values\tfield/placement").empty()) << "no transformation, no field";
}

TEST_F(GridVtkExportTest, AnUnevenGridIsARectilinearGridWithItsOwnEdges)
{
    FillCounting(m_Grid, 3, 2, 2);
    m_Grid.SetEdges(0, {-200, -50, 100, 200});
    m_Grid.SetEdges(2, {0, 1, 5});
    m_Grid.m_GridMin[1] = 3, m_Grid.m_BinWidth[1] = 2; // even y: from its origin and width
    const CVtkFileView view = ReadVtkFile(Export({}, "uneven.vtr"));
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Fact("class"), (std::vector<std::string>{"vtkRectilinearGrid"}));
    EXPECT_EQ(view.Fact("extent"), (std::vector<std::string>{"0", "3", "0", "2", "0", "2"}));
    EXPECT_EQ(view.Values("coordinates/x"), (std::vector<double>{-200, -50, 100, 200}));
    EXPECT_EQ(view.Values("coordinates/y"), (std::vector<double>{3, 5, 7}));
    EXPECT_EQ(view.Values("coordinates/z"), (std::vector<double>{0, 1, 5}));
    EXPECT_EQ(view.Values("cell/value"), XFastest(m_Grid));
}

TEST_F(GridVtkExportTest, TheSettingsTransformationPlacesTheImageAndIsStated)
{
    ASSERT_TRUE(Loader().Load("FLUKA cartesian USRBIN", DataPath("cartesian_3x2x2.usrbin")));
    CGridExportInfo info;
    const double quarterTurn[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1}; // about z
    std::copy(quarterTurn, quarterTurn + 9, info.m_Rotation);
    info.m_Translation[2] = 100;
    const CVtkFileView view = ReadVtkFile(Export(info));
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    // The grid turns about its corner (-3, 0, 10), then is lifted by 100.
    EXPECT_EQ(view.Numbers("origin"), (std::vector<double>{-3, 0, 110}));
    EXPECT_EQ(view.Numbers("direction"), (std::vector<double>{0, -1, 0, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(view.Values("field/placement"),
              (std::vector<double>{0, -1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 100}));
}

TEST_F(GridVtkExportTest, TheImageLiesWhereTheDisplayDrawsTheGrid)
{
    CFakeHost host;
    CProfile profile;
    CVolumira3DDlg dlg(&host, &profile);
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(
        CVolumeLoader(dlg, dlg).Load("FLUKA cartesian USRBIN", DataPath("cartesian_3x2x2.usrbin")));
    const double shift[3] = {1, 2, 3}, angles[3] = {30, -45, 90};
    dlg.m_Transform = MakeTransform(shift, angles);
    const CGridExportInfo info = GridExportInfo(dlg.m_UnitText, dlg.m_Transform);
    std::string error;
    const std::string path = (TestDir() / "placed.vti").string();
    ASSERT_TRUE(WriteGridVtk(dlg, info, CVtkXmlWriter(), path, error)) << error;
    const CVtkFileView view = ReadVtkFile(path);
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    // The far corner of the grid, as VTK places it and as the renderer draws it.
    const std::vector<double> o = view.Numbers("origin"), d = view.Numbers("direction"),
                              s = view.Numbers("spacing");
    const double index[3] = {3, 2, 2};
    const CVector drawn = Apply(dlg.m_Transform, CVector(6, 2, 10));
    const double corner[3] = {-3 + drawn.x, 0 + drawn.y, 10 + drawn.z};
    for (int r = 0; r < 3; ++r)
    {
        double vtk = o[r];
        for (int c = 0; c < 3; ++c)
            vtk += d[r * 3 + c] * index[c] * s[c];
        EXPECT_NEAR(vtk, corner[r], 1e-12) << "axis " << r;
    }
}

TEST_F(GridVtkExportTest, RelativeErrorsBecomeASecondArrayOfTheSameShape)
{
    FillCounting(m_Grid, 3, 2, 2);
    CVoxelGrid errors;
    FillCounting(errors, 3, 2, 2);
    CGridExportInfo info;
    info.m_ValueName = "";
    info.m_pRelativeErrors = &errors.m_Voxels;
    const CVtkFileView view = ReadVtkFile(Export(info));
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Values("cell/value"), XFastest(m_Grid)) << "no unit text: \"value\"";
    EXPECT_EQ(view.Values("cell/relative error"), XFastest(errors));
}

TEST_F(GridVtkExportTest, NoGridOrErrorsOfAnotherShapeWriteNothing)
{
    const std::string path = (TestDir() / "none.vti").string();
    std::string error;
    EXPECT_FALSE(WriteGridVtk(m_Grid, {}, CVtkXmlWriter(), path, error));
    EXPECT_EQ(error, "There is no data set to export.");
    FillCounting(m_Grid, 3, 2, 2);
    CVoxelGrid errors;
    FillCounting(errors, 3, 2, 3);
    CGridExportInfo info;
    info.m_pRelativeErrors = &errors.m_Voxels;
    EXPECT_FALSE(WriteGridVtk(m_Grid, info, CVtkXmlWriter(), path, error));
    EXPECT_EQ(error, "The relative errors do not match the grid; nothing was exported.");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(GridVtkExportBatch, TheWindowMenuExportsTheLoadedGrid)
{
    const CBatchResult run = RunBatch("plugin libVolumira3D.so\n"
                                      "toolbar Volumix3D\n"
                                      "sysmenu 48\n"
                                      "set 1001 $SOURCE/volume/tests/data/cartesian_3x2x2.usrbin\n"
                                      "click 1003\n"
                                      "file $WORK/out.vti\n"
                                      "sysmenu 48\n"
                                      "print 1040\n"
                                      "messages\n");
    ASSERT_EQ(run.m_ExitCode, 0) << run.m_Out << run.m_Err;
    EXPECT_NE(run.m_Out.find("information: There is no data set to export."), std::string::npos)
        << run.m_Out;
    const std::string path = (TestDir() / "out.vti").string();
    EXPECT_NE(run.m_Out.find("Grid exported to " + path), std::string::npos) << run.m_Out;
    const CVtkFileView view = ReadVtkFile(path);
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Fact("extent"), (std::vector<std::string>{"0", "3", "0", "2", "0", "2"}));
    EXPECT_EQ(view.Values("cell/value"),
              (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}
} // namespace volumira3d
