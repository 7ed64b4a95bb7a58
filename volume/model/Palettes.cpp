#include "volume/model/Palettes.h"

#include "common/LineReader.h"
#include "common/NumberScan.h"
#include "common/Tokens.h"
#include "volume/model/ColorLUT.h"

#include <cmath>
#include <fstream>
#include <string_view>
#include <vector>

namespace volumira3d
{
const char* const PaletteNames[PaletteCount] = {"21",   "64",  "128",  "256",      "512",
                                                "1024", "Hot", "Gray", "Moreland", "User def."};
const char* const PaletteFileFilter =
    "User defined color palette (*.col)|*.col|All Files (*.*)|*.*|";

namespace
{
struct CBytePivot
{
    int m_Key;
    int r, g, b;
};

constexpr int RainbowBytes[22][3] = {
    {0, 0, 100},   {0, 0, 255},   {0, 50, 255},  {0, 100, 255}, {0, 150, 255}, {0, 200, 255},
    {0, 255, 255}, {0, 230, 100}, {50, 210, 0},  {0, 255, 0},   {150, 255, 0}, {255, 255, 0},
    {255, 200, 0}, {255, 150, 0}, {255, 100, 0}, {255, 50, 0},  {255, 0, 0},   {200, 0, 0},
    {100, 0, 0},   {50, 0, 0},    {0, 0, 0},     {0, 0, 0}};

constexpr CBytePivot Moreland[] = {
    {0, 59, 76, 192},    {3, 68, 90, 204},    {6, 77, 104, 215},   {9, 87, 117, 225},
    {12, 98, 130, 234},  {15, 108, 142, 241}, {19, 119, 154, 247}, {22, 130, 165, 251},
    {25, 141, 176, 254}, {28, 152, 185, 255}, {31, 163, 194, 255}, {34, 174, 201, 253},
    {38, 184, 208, 249}, {40, 194, 213, 244}, {44, 204, 217, 238}, {47, 213, 219, 230},
    {50, 221, 221, 221}, {53, 229, 216, 209}, {56, 236, 211, 197}, {59, 241, 204, 185},
    {63, 245, 196, 173}, {66, 247, 187, 160}, {69, 247, 177, 148}, {72, 247, 166, 135},
    {75, 244, 154, 123}, {78, 241, 141, 111}, {81, 236, 127, 99},  {84, 229, 112, 88},
    {87, 222, 96, 77},   {91, 213, 80, 66},   {94, 203, 62, 56},   {97, 192, 40, 47},
    {100, 180, 4, 38}};

CVector FromBytes(int r, int g, int b)
{
    return CVector(r / 255.0, g / 255.0, b / 255.0);
}

void InstallMoreland(CColorLUT& lut)
{
    for (const CBytePivot& p : Moreland)
        lut.SetPivot(p.m_Key, FromBytes(p.r, p.g, p.b));
}

int RainbowSpacing(int item)
{
    return item == Palette21 ? 1 : 3 << (item - 1);
}

// One pivot line: index, red, green, blue; false when a field is missing or not a number.
bool ParsePivot(std::string_view line, int& key, CVector& colour)
{
    static constexpr CSeparators separators(" ,;|:\t");
    const auto tokens = SplitTokens(line, separators);
    if (tokens.size() < 4) return false;
    // Read as stream extraction reads them: the index as an integer, the colours as decimals.
    const CNumberSpan index = ScanInteger(tokens[0]);
    if (!index.Found()) return false;
    const double keyValue = NumberValue(tokens[0].substr(0, index.m_End));
    if (keyValue < -2147483648.0 || keyValue > 2147483647.0) return false;
    double rgb[3];
    for (size_t i = 0; i < 3; ++i)
    {
        const CNumberSpan span = ScanNumber(tokens[i + 1]);
        if (!span.Found()) return false;
        rgb[i] = NumberValue(tokens[i + 1].substr(0, span.m_End));
        if (!std::isfinite(rgb[i])) return false;
    }
    key = static_cast<int>(keyValue);
    colour = CVector(rgb[0], rgb[1], rgb[2]);
    return true;
}

bool SanePivots(const CColorLUT& lut)
{
    return lut.m_Pivots.size() >= 2 && lut.m_Pivots.begin()->first == 0 &&
           lut.m_Pivots.rbegin()->first <= MaxPivotKey;
}

EPaletteFile Refuse(CColorLUT& lut, EPaletteFile result)
{
    InstallPalette(lut, Palette21);
    return result;
}
} // namespace

void InstallRainbow(CColorLUT& lut, int spacing)
{
    lut.ClearPivots();
    for (int k = 0; k < 22; ++k)
        lut.SetPivot(k * spacing,
                     FromBytes(RainbowBytes[k][0], RainbowBytes[k][1], RainbowBytes[k][2]));
    lut.BuildLUT();
}

void InstallPalette(CColorLUT& lut, int item)
{
    if (item >= Palette21 && item <= Palette1024) return InstallRainbow(lut, RainbowSpacing(item));
    lut.ClearPivots();
    switch (item)
    {
    case PaletteHot:
        lut.SetPivot(0, CVector(1, 1, 0));
        lut.SetPivot(128, CVector(1, 0, 0));
        lut.SetPivot(255, CVector(0, 0, 0));
        break;
    case PaletteGray:
        lut.SetPivot(0, CVector(1, 1, 1));
        lut.SetPivot(255, CVector(0, 0, 0));
        break;
    case PaletteMoreland:
        InstallMoreland(lut);
        break;
    default:
        return InstallRainbow(lut, 1);
    }
    lut.BuildLUT();
}

EPaletteFile ReadPaletteFile(const std::string& path, CColorLUT& lut)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return Refuse(lut, EPaletteFile::CannotOpen);
    CLineReader reader(in);
    std::string line;
    if (!reader.Next(line) || line.find("ColorLUT") == std::string::npos)
        return Refuse(lut, EPaletteFile::InvalidFormat);
    CColorLUT read;
    while (reader.Next(line))
    {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        int key = 0;
        CVector colour;
        if (!ParsePivot(line, key, colour)) return Refuse(lut, EPaletteFile::MissingDescriptor);
        read.SetPivot(key, colour);
    }
    if (!SanePivots(read)) return Refuse(lut, EPaletteFile::InvalidPivots);
    lut.m_Pivots = read.m_Pivots;
    lut.BuildLUT();
    return EPaletteFile::Ok;
}

std::string PaletteFileMessage(EPaletteFile result)
{
    switch (result)
    {
    case EPaletteFile::Ok:
        return "";
    case EPaletteFile::CannotOpen:
        return "Cannot open color lookup table";
    case EPaletteFile::InvalidFormat:
        return "Invalid file format!";
    case EPaletteFile::MissingDescriptor:
        return "Invalid entry in color lookup table! One or more descriptors are missing.";
    case EPaletteFile::InvalidPivots:
        return "Invalid color lookup table! The pivot indices must start at 0, name at least two "
               "colors and stay at or below 65536.";
    }
    return "";
}
} // namespace volumira3d
