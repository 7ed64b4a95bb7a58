// The palettes of the "Palette" combo box and the user palette file (.col).
#pragma once
#include <string>

namespace volumira3d
{
class CColorLUT;

// Items of the "Palette" combo box, in this order.
enum EPalette : int
{
    Palette21 = 0,
    Palette64,
    Palette128,
    Palette256,
    Palette512,
    Palette1024,
    PaletteHot,
    PaletteGray,
    PaletteMoreland,
    PaletteUser,
    PaletteCount
};

extern const char* const PaletteNames[PaletteCount];
extern const char* const PaletteFileFilter;

// The rainbow with pivots every spacing entries: 21 * spacing entries.
void InstallRainbow(CColorLUT& lut, int spacing);
// A built-in palette (items 0 .. 8); the user palette falls back to the rainbow "21".
void InstallPalette(CColorLUT& lut, int item);

enum class EPaletteFile
{
    Ok,
    CannotOpen,        // "Cannot open color lookup table"
    InvalidFormat,     // first line without "ColorLUT"
    MissingDescriptor, // a line with fewer than four numbers
    InvalidPivots,     // fewer than two pivots, first key not 0, or a key above MaxPivotKey
};

// The largest pivot key a palette file may use: the table has that many entries.
constexpr int MaxPivotKey = 65536;

// Reads a user palette into lut. On any failure the rainbow "21" is installed instead, so the
// table is never empty.
EPaletteFile ReadPaletteFile(const std::string& path, CColorLUT& lut);
// The message a failure shows (empty for Ok).
std::string PaletteFileMessage(EPaletteFile result);
} // namespace volumira3d
