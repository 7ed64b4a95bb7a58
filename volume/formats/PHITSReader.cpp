#include "volume/formats/PHITSReader.h"

#include "common/NumberScan.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <cmath>
#include <cstdint>
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

// The number of values of one axis on an "hc:" line ("y = 1.975 to -1.975 by 5.0E-02"); 0 when
// the line does not say.
int PrintedCount(const std::string& line, char axis)
{
    const auto t = SplitTokens(line, CSeparators(" \t=;"));
    for (size_t i = 0; i + 5 < t.size(); ++i)
    {
        if (t[i].size() != 1 || t[i][0] != axis || t[i + 2] != "to" || t[i + 4] != "by") continue;
        double from = 0, to = 0, by = 0;
        if (ReadNumberField(t[i + 1], from) != EFieldProblem::None ||
            ReadNumberField(t[i + 3], to) != EFieldProblem::None ||
            ReadNumberField(t[i + 5], by) != EFieldProblem::None || by == 0)
            return 0;
        const double n = std::abs(to - from) / std::abs(by) + 1;
        return n < 1e9 ? static_cast<int>(std::lround(n)) : 0;
    }
    return 0;
}

std::string Trimmed(std::string_view key)
{
    const size_t start = key.find_first_not_of(' ');
    const size_t end = key.find(" =");
    return std::string(key.substr(start, end - start));
}

bool StartsWithNumber(std::string_view text)
{
    const size_t at = SkipStreamSpace(text, 0);
    return at < text.size() && ScanNumber(text.substr(at)).Found();
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
        if (Has(line, "hc: "))
        {
            m_PageLine = line;
            return true;
        }
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
        {"xmax =", &h.m_Max[0], nullptr},
        {"ymax =", &h.m_Max[1], nullptr},
        {"zmax =", &h.m_Max[2], nullptr},
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
        double number = 0;
        const bool read =
            ReadNumberField(value, number, EExponentLetter::EOrD) == EFieldProblem::None &&
            (key.m_Double ||
             (number == std::trunc(number) && number >= INT32_MIN && number <= INT32_MAX));
        if (!read) return Fail("The PHITS header line \"" + line + "\" cannot be read.");
        // A key given twice with two values leaves no way to tell which the pages follow.
        const std::string name = Trimmed(key.m_Key);
        if (!m_KeysSeen.insert(name).second &&
            number != (key.m_Double ? *key.m_Double : double(*key.m_Int)))
        {
            // A summary output echoes several tallies: say so in a box, not only in the log.
            const std::string twice =
                Format("The PHITS header gives %s twice, as %g and as %g.", name.c_str(),
                       key.m_Double ? *key.m_Double : double(*key.m_Int), number);
            return Fail(twice, twice);
        }
        if (key.m_Double)
            *key.m_Double = number;
        else
            *key.m_Int = static_cast<std::int32_t>(number);
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
    for (int a = 0; a < 3; ++a)
    {
        if (std::isnan(h.m_Max[a]) || (h.m_Cylindrical && a == 1)) continue;
        const char axis = "xyz"[a];
        if (!(h.m_Max[a] > h.m_Min[a]))
            return Fail(Format("The PHITS header gives %cmin = %g above or at %cmax = %g.", axis,
                               h.m_Min[a], axis, h.m_Max[a]));
        const double span = h.m_Width[a] * h.m_Bins[a];
        if (std::abs(span - (h.m_Max[a] - h.m_Min[a])) > 1e-4 * (h.m_Max[a] - h.m_Min[a]))
            return Fail(Format("The PHITS header contradicts itself: %c from %g to %g is not %d "
                               "bins of %g.",
                               axis, h.m_Min[a], h.m_Max[a], h.m_Bins[a], h.m_Width[a]));
    }
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
        if (atStart ? line.rfind(text, 0) == 0 : Has(line, text))
        {
            m_PageLine = line;
            return true;
        }
    return Fail(Format("The PHITS file ends before page %d (no \"%s\" line).", page + 1, text));
}

bool CPHITSReader::CheckPageShape(int page, int rows, int columns)
{
    const int printedRows = PrintedCount(m_PageLine, 'y');
    const int printedColumns = PrintedCount(m_PageLine, 'x');
    if (printedRows == 0 || printedColumns == 0 ||
        (printedRows == rows && printedColumns == columns))
        return true;
    return Fail(Format("Page %d of the PHITS file prints %d x %d values where its header "
                       "announces %d x %d.",
                       page + 1, printedRows, printedColumns, rows, columns));
}

bool CPHITSReader::CheckPageEnd(int page, const std::string& rest)
{
    std::string line = rest;
    while (SkipStreamSpace(line, 0) == line.size() && m_In.ReadLine(line))
    {
    }
    if (!StartsWithNumber(line)) return true;
    return Fail(
        Format("Page %d of the PHITS file holds more values than its header announces.", page + 1));
}

// Values are read a line at a time so that Fortran's letterless exponent ("2.987-103") stays one
// number.
bool CPHITSReader::ReadPlanePage(int page, int rows, int columns, const Store& store)
{
    if (!CheckPageShape(page, rows, columns)) return false;
    const long long total = static_cast<long long>(rows) * columns;
    long long done = 0;
    std::string line;
    std::vector<std::string_view> tokens;
    while (done < total)
    {
        if (!m_In.ReadLine(line))
            return Fail(Format("Page %d of the PHITS file ends after %lld of its %lld values.",
                               page + 1, done, total));
        SplitTokens(line, Blanks, tokens);
        size_t used = 0;
        for (; used < tokens.size() && done < total; ++used, ++done)
        {
            double value = 0;
            const EFieldProblem why = ReadNumberField(tokens[used], value, EExponentLetter::EOrD);
            if (why != EFieldProblem::None)
                return Fail(Format("Page %d of the PHITS file: value %lld %s.", page + 1, done + 1,
                                   FieldProblemText(tokens[used], why).c_str()));
            store(page, static_cast<int>(done / columns), static_cast<int>(done % columns), value);
        }
        if (done == total)
            return CheckPageEnd(page, used < tokens.size() ? std::string(tokens[used]) : "");
    }
    return CheckPageEnd(page, "");
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
