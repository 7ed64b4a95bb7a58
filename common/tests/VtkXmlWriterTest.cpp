#include "common/VtkXmlWriter.h"
#include "testkit/Scratch.h"
#include "testkit/VtkReadBack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace testkit;

namespace
{
CVtkArray Doubles(const std::string& name, std::vector<double> values, int components = 1)
{
    const std::uint64_t tuples = values.size() / components;
    return {name, EVtkScalar::Float64, components, tuples,
            [values](CVtkSink& sink) { sink.Put(values.data(), values.size()); }};
}

CVtkArray Ints(const std::string& name, std::vector<std::int32_t> values)
{
    return {name, EVtkScalar::Int32, 1, values.size(),
            [values](CVtkSink& sink) { sink.Put(values.data(), values.size()); }};
}

// A 3 x 2 x 1 image whose cell values are 10 * index in VTK's order.
CVtkImageData SmallImage()
{
    CVtkImageData image;
    image.m_Cells[0] = 3;
    image.m_Cells[1] = 2;
    image.m_Cells[2] = 1;
    const double origin[3] = {-3, 0.5, 10}, spacing[3] = {2, 1, 5};
    std::copy(origin, origin + 3, image.m_Origin);
    std::copy(spacing, spacing + 3, image.m_Spacing);
    image.m_CellData.push_back(Doubles("dose & <rate>", {0, 10, 20, 30, 40, 50}));
    image.m_CellData.push_back(Ints("index", {0, 1, 2, 3, 4, 5}));
    return image;
}

// Two polylines of 3 and 2 points with a time per point and a type per line.
CVtkPolyData TwoLines()
{
    CVtkPolyData poly;
    poly.m_CellKind = CVtkPolyData::ECells::Lines;
    poly.m_Points = Doubles("Points", {0, 0, 0, 1, 0, 0, 1, 1, 0, 5, 5, 5, 6, 6, 6}, 3);
    poly.m_CellOffsets = {"offsets", EVtkScalar::Int64, 1, 2,
                          [](CVtkSink& sink)
                          {
                              const std::int64_t ends[2] = {3, 5};
                              sink.Put(ends, 2);
                          }};
    poly.m_PointData.push_back(Doubles("time", {1, 2, 3, 0.5, 0.75}));
    poly.m_CellData.push_back(Ints("type", {7, 66}));
    poly.m_FieldData.push_back({"names", EVtkScalar::String, 1, 2,
                                [](CVtkSink& sink)
                                {
                                    sink.Put(std::string("PHOTON"));
                                    sink.Put(std::string("Xi c plus"));
                                }});
    return poly;
}

std::string Written(const CVtkImageData& image, EVtkEncoding encoding, const char* name)
{
    const std::string path = (TestDir() / name).string();
    std::string error;
    EXPECT_TRUE(CVtkXmlWriter(encoding).Write(path, image, error)) << error;
    return path;
}

template <class T> T At(const std::string& bytes, std::size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}
} // namespace

TEST(VtkAppendedData, EachArrayIsAByteCountAndItsRawValuesAtItsOffset)
{
    const std::string bytes = ReadText(Written(SmallImage(), EVtkEncoding::AppendedRaw, "a.vti"));
    EXPECT_NE(bytes.find("header_type=\"UInt64\""), std::string::npos);
    EXPECT_NE(bytes.find("byte_order=\"LittleEndian\""), std::string::npos);
    EXPECT_NE(bytes.find("Name=\"dose &amp; &lt;rate&gt;\" format=\"appended\" offset=\"0\""),
              std::string::npos);
    // The second array starts after the first one's 8-byte count and six doubles.
    EXPECT_NE(bytes.find("Name=\"index\" format=\"appended\" offset=\"56\""), std::string::npos);
    const std::size_t data = bytes.find("<AppendedData encoding=\"raw\">\n   _") + 34;
    ASSERT_LT(data, bytes.size());
    EXPECT_EQ(At<std::uint64_t>(bytes, data), 48u);
    EXPECT_EQ(At<double>(bytes, data + 8 + 5 * 8), 50.0);
    EXPECT_EQ(At<std::uint64_t>(bytes, data + 56), 24u);
    EXPECT_EQ(At<std::int32_t>(bytes, data + 64 + 4 * 4), 4);
    EXPECT_EQ(bytes.substr(data + 64 + 24), "\n  </AppendedData>\n</VTKFile>\n");
}

TEST(VtkImageData, VtkReadsExtentPlacementAndCellValuesInBothEncodings)
{
    for (EVtkEncoding encoding : {EVtkEncoding::AppendedRaw, EVtkEncoding::Ascii})
    {
        CVtkImageData image = SmallImage();
        image.m_Direction[0] = 0, image.m_Direction[1] = -1, image.m_Direction[3] = 1,
        image.m_Direction[4] = 0;
        const CVtkFileView view = ReadVtkFile(Written(image, encoding, "image.vti"));
        SKIP_WITHOUT_VTK_READER(view);
        ASSERT_EQ(view.m_Error, "");
        EXPECT_EQ(view.Fact("extent"), (std::vector<std::string>{"0", "3", "0", "2", "0", "1"}));
        EXPECT_EQ(view.Numbers("origin"), (std::vector<double>{-3, 0.5, 10}));
        EXPECT_EQ(view.Numbers("spacing"), (std::vector<double>{2, 1, 5}));
        EXPECT_EQ(view.Numbers("direction"), (std::vector<double>{0, -1, 0, 1, 0, 0, 0, 0, 1}));
        EXPECT_EQ(view.Count("cells"), 6);
        EXPECT_EQ(view.Values("cell/dose & <rate>"), (std::vector<double>{0, 10, 20, 30, 40, 50}));
        EXPECT_EQ(view.Fact("array\tcell\tindex").at(2), "int");
        EXPECT_EQ(view.Values("cell/index"), (std::vector<double>{0, 1, 2, 3, 4, 5}));
    }
}

TEST(VtkImageData, AsciiKeepsEveryDoubleExactly)
{
    const std::vector<double> awkward = {1.0 / 3, -1e-300, 6.02214076e23, 0.1, -0.0, 1e308};
    CVtkImageData image;
    image.m_Cells[0] = 6;
    image.m_Cells[1] = image.m_Cells[2] = 1;
    image.m_CellData.push_back(Doubles("v", awkward));
    const CVtkFileView view = ReadVtkFile(Written(image, EVtkEncoding::Ascii, "ascii.vti"));
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Values("cell/v"), awkward);
}

TEST(VtkPolyData, PolylinesKeepTheirPointsTimesTypesAndNames)
{
    for (EVtkEncoding encoding : {EVtkEncoding::AppendedRaw, EVtkEncoding::Ascii})
    {
        const std::string path = (TestDir() / "lines.vtp").string();
        std::string error;
        ASSERT_TRUE(CVtkXmlWriter(encoding).Write(path, TwoLines(), error)) << error;
        const CVtkFileView view = ReadVtkFile(path);
        SKIP_WITHOUT_VTK_READER(view);
        ASSERT_EQ(view.m_Error, "");
        EXPECT_EQ(view.Count("lines"), 2);
        EXPECT_EQ(view.Count("verts"), 0);
        EXPECT_EQ(view.Fact("cell\t0"), (std::vector<std::string>{"vtkPolyLine", "0", "1", "2"}));
        EXPECT_EQ(view.Fact("cell\t1"), (std::vector<std::string>{"vtkLine", "3", "4"}));
        EXPECT_EQ(view.Values("points")[9], 5.0);
        EXPECT_EQ(view.Values("point/time"), (std::vector<double>{1, 2, 3, 0.5, 0.75}));
        EXPECT_EQ(view.Values("cell/type"), (std::vector<double>{7, 66}));
        EXPECT_EQ(view.Fact("values\tfield/names"),
                  (std::vector<std::string>{"PHOTON", "Xi c plus"}));
    }
}

TEST(VtkPolyData, VerticesTakeOnePointEach)
{
    CVtkPolyData poly;
    poly.m_Points = Doubles("Points", {1, 2, 3, 4, 5, 6, 7, 8, 9}, 3);
    poly.m_CellOffsets = CVtkXmlWriter::VertexOffsets(3);
    poly.m_PointData.push_back(Doubles("direction", {1, 0, 0, 0, 1, 0, 0, 0, 1}, 3));
    const std::string path = (TestDir() / "cloud.vtp").string();
    std::string error;
    ASSERT_TRUE(CVtkXmlWriter().Write(path, poly, error)) << error;
    const CVtkFileView view = ReadVtkFile(path);
    SKIP_WITHOUT_VTK_READER(view);
    ASSERT_EQ(view.m_Error, "");
    EXPECT_EQ(view.Count("verts"), 3);
    EXPECT_EQ(view.Fact("cell\t2"), (std::vector<std::string>{"vtkVertex", "2"}));
    EXPECT_EQ(view.Fact("array\tpoint\tdirection").at(0), "3");
}

TEST(VtkWriteFailure, AShortProducerFailsAndKeepsTheEarlierFile)
{
    const std::string path = WriteScratch("kept.vti", "an earlier export");
    CVtkImageData image = SmallImage();
    image.m_CellData[0].m_Produce = [](CVtkSink& sink) { sink.Put(1.0); };
    std::string error;
    EXPECT_FALSE(CVtkXmlWriter().Write(path, image, error));
    EXPECT_EQ(error, "Cannot write " + path +
                         ": array \"dose & <rate>\" got 1 values where 6 were declared");
    EXPECT_EQ(ReadText(path), "an earlier export");
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST(VtkWriteFailure, ValuesOfTheWrongTypeOrCountAreRefused)
{
    const std::string path = (TestDir() / "bad.vti").string();
    std::string error;
    CVtkImageData image = SmallImage();
    image.m_CellData[1].m_Produce = [](CVtkSink& sink) { sink.Put(1.0); };
    EXPECT_FALSE(CVtkXmlWriter().Write(path, image, error));
    EXPECT_NE(error.find("\"index\" was given values of another type"), std::string::npos);

    image = SmallImage();
    image.m_CellData.push_back(Doubles("short", {1, 2}));
    EXPECT_FALSE(CVtkXmlWriter().Write(path, image, error));
    EXPECT_NE(error.find("array \"short\" has 2 tuples for 6 cells"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(VtkWriteFailure, AnEmptyGridOrAnUnwritableFolderIsAnError)
{
    std::string error;
    CVtkImageData empty;
    EXPECT_FALSE(CVtkXmlWriter().Write((TestDir() / "e.vti").string(), empty, error));
    EXPECT_NE(error.find("the grid holds no cells"), std::string::npos);
    const std::string missing = (TestDir() / "no-such-folder" / "x.vti").string();
    EXPECT_FALSE(CVtkXmlWriter().Write(missing, SmallImage(), error));
    EXPECT_EQ(error, "Cannot write " + missing + ": No such file or directory");
}
