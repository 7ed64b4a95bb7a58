#include "volume/formats/PHITSReader.h"

#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <cmath>
#include <string_view>

namespace volumira3d
{
namespace
{
const CSeparators Blanks(" \t");
constexpr const char* LinearOnly = "Sorry, but for the moment only linear binning is supported!";

// The token after "=" (PHITS comments derived keys out with "#", which shifts the tokens).
std::string ValueOf(const std::string& line)
{
    const auto tokens = SplitTokens(line, Blanks);
    for (size_t i = 0; i + 1 < tokens.size(); ++i)
        if (tokens[i] == "=") return std::string(tokens[i + 1]);
    return "";
}

bool Has(const std::string& line, std::string_view key)
{
    return line.find(key) != std::string::npos;
}
} // namespace

bool CPHITSReader::Fail(const std::string& error, const std::string& message)
{
    m_Error = error;
    m_Message = message;
    return false;
}

bool CPHITSReader::Open(const std::string& path)
{
    m_Path = path;
    if (!m_In.Open(path))
        return Fail("Cannot open " + path, Format("Could not open %s!", path.c_str()));
    return ReadMeshType() && ReadHeaderKeys() && CheckHeader();
}

bool CPHITSReader::ReadMeshType()
{
    std::string line;
    while (m_In.ReadLine(line))
    {
        if (!Has(line, "mesh =")) continue;
        const std::string mesh = ValueOf(line);
        if (mesh == "xyz" || mesh == "r-z")
        {
            m_Header.m_Cylindrical = mesh == "r-z";
            return true;
        }
        break;
    }
    return Fail("No mesh of type xyz or r-z in " + m_Path, "Mesh type could not be identified!");
}

bool CPHITSReader::ReadHeaderKeys()
{
    std::string line;
    while (m_In.ReadLine(line))
    {
        if (Has(line, "hc: ")) return true;
        // Pages of one axis are tables introduced by "h:".
        if (OneDimensional() && line.rfind("h:", 0) == 0) return true;
        if (!TakeKey(line)) return false;
    }
    return Fail("The PHITS file ends before its first page.");
}

bool CPHITSReader::TakeKey(const std::string& line)
{
    const char* types[] = {"x-type =", "y-type =", "z-type =", "r-type ="};
    for (const char* type : types)
        if (Has(line, type) && ValueOf(line) != "2") return Fail(LinearOnly, LinearOnly);
    CPHITSHeader& h = m_Header;
    const int r = 0; // r-z meshes keep r in the x slot
    const struct
    {
        const char* m_Key;
        double* m_Double;
        std::int32_t* m_Int;
    } keys[] = {
        {"xmin =", &h.m_Min[0], nullptr},
        {"ymin =", &h.m_Min[1], nullptr},
        {"zmin =", &h.m_Min[2], nullptr},
        {"xdel =", &h.m_Width[0], nullptr},
        {"ydel =", &h.m_Width[1], nullptr},
        {"zdel =", &h.m_Width[2], nullptr},
        {"       nx =", nullptr, &h.m_Bins[0]},
        {"       ny =", nullptr, &h.m_Bins[1]},
        {"       nz =", nullptr, &h.m_Bins[2]},
        {"x0 =", &h.m_X0, nullptr},
        {"y0 =", &h.m_Y0, nullptr},
        {"rmin =", &h.m_Min[r], nullptr},
        {"rmax =", &h.m_RMax, nullptr},
        {"rdel =", &h.m_Width[r], nullptr},
        {"       nr =", nullptr, &h.m_Bins[r]},
    };
    for (const auto& key : keys)
    {
        if (!Has(line, key.m_Key)) continue;
        const std::string value = ValueOf(line);
        const bool read = key.m_Double ? ParseLeadingNumber(value, *key.m_Double)
                                       : ParseLeadingNumber(value, *key.m_Int);
        if (!read) return Fail("The PHITS header line \"" + line + "\" cannot be read.");
    }
    if (Has(line, "axis =")) h.m_Axis = ValueOf(line);
    return true;
}

bool CPHITSReader::CheckHeader()
{
    CPHITSHeader& h = m_Header;
    if (h.m_Cylindrical) h.m_Bins[1] = 1, h.m_Width[1] = 1;
    for (int a = 0; a < 3; ++a)
        if (h.m_Bins[a] < 1 || !(h.m_Width[a] > 0) || !std::isfinite(h.m_Width[a]) ||
            !std::isfinite(h.m_Min[a]))
            return Fail(Format("The PHITS mesh of %d x %d x %d bins of %g x %g x %g cannot be "
                               "mapped onto a grid.",
                               h.m_Bins[0], h.m_Bins[1], h.m_Bins[2], h.m_Width[0], h.m_Width[1],
                               h.m_Width[2]));
    const std::string& a = h.m_Axis;
    const bool known =
        h.m_Cylindrical ? a == "rz"
                        : (a == "xy" || a == "xz" || a == "yz" || a == "x" || a == "y" || a == "z");
    if (known) return true;
    return Fail("The PHITS output axis \"" + h.m_Axis + "\" cannot be mapped onto a grid.");
}

bool CPHITSReader::SkipToLine(const char* text, bool atStart, int page)
{
    std::string line;
    while (m_In.ReadLine(line))
        if (atStart ? line.rfind(text, 0) == 0 : Has(line, text)) return true;
    return Fail(Format("The PHITS file ends before page %d (no \"%s\" line).", page + 1, text));
}

bool CPHITSReader::ReadPlanePage(int page, int rows, int columns, const Store& store)
{
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
        {
            double value = 0;
            if (!m_In.Extract(value))
                return Fail(Format("Page %d of the PHITS file ends after %lld of its %lld values.",
                                   page + 1, static_cast<long long>(row) * columns + column,
                                   static_cast<long long>(rows) * columns));
            store(page, row, column, value);
        }
    return true;
}

// A page of one axis: a table of rows "lower upper value error" after comment lines.
bool CPHITSReader::ReadLinePage(int page, int rows, const Store& store)
{
    std::string line;
    int row = 0;
    while (row < rows && m_In.ReadLine(line))
    {
        const auto t = SplitTokens(line, Blanks);
        if (t.empty() || t[0][0] == '#') continue;
        double value = 0;
        if (t.size() < 3 || !ParseLeadingNumber(t[2], value)) break;
        store(page, 0, row++, value);
    }
    if (row == rows) return true;
    return Fail(
        Format("Page %d of the PHITS file ends after %d of its %d values.", page + 1, row, rows));
}

bool CPHITSReader::ReadPages(int pages, int rows, int columns, const Store& store,
                             const std::function<void(int page)>& pageDone)
{
    for (int page = 0; page < pages; ++page)
    {
        if (page > 0 &&
            (!SkipToLine("newpage:", false, page) ||
             !(OneDimensional() ? SkipToLine("h:", true, page) : SkipToLine("hc:", false, page))))
            return false;
        const bool read = OneDimensional() ? ReadLinePage(page, columns, store)
                                           : ReadPlanePage(page, rows, columns, store);
        if (!read) return false;
        pageDone(page);
    }
    return true;
}
} // namespace volumira3d
