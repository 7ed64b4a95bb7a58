// A device-independent bitmap: a copy of the bitmap header, the colour table (2 entries for 1 bit
// per pixel, 16 for 4, 256 for 8, none otherwise), the pixel rows (each padded to a multiple of
// 4 bytes, stored bottom-up) and a table of row pointers. Only uncompressed bitmaps of 1, 4 or 8
// bits per pixel or of 24 bits are accepted; the others (compressed, 15, 16 or 32 bits) are
// refused with false, as are sizes that are not positive or do not fit the data.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace volumira3d
{
struct CBitmapHeader
{
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0; // rows stored bottom-up
    std::uint16_t m_BitCount = 24;
    std::uint32_t m_Compression = 0; // 0: uncompressed
};

class CDIB
{
public:
    static constexpr std::int32_t MaxSide = 1 << 15;

    virtual ~CDIB() = default;

    static bool Accepts(const CBitmapHeader& header);
    // Takes a header, its colour table (0x00RRGGBB) and the padded rows bottom-up.
    bool Create(const CBitmapHeader& header, const std::vector<std::uint32_t>& colors,
                const std::vector<std::uint8_t>& bits);
    // A 24-bit bitmap of an image given as three bytes per pixel, rows top first.
    bool FromRgb(int width, int height, const std::vector<std::uint8_t>& rgb);
    // The pixels as three bytes each, rows top first.
    std::vector<std::uint8_t> ToRgb() const;

    // Standard bitmap files; false with a message naming the file and the problem.
    bool Write(const std::string& path, std::string& error) const;
    bool Read(const std::string& path, std::string& error);

    const CBitmapHeader& Header() const { return m_Header; }
    int RowBytes() const { return RowBytes(m_Header); }
    static int RowBytes(const CBitmapHeader& header);
    static int ColorCount(std::uint16_t bitCount);

private:
    void LinkRows();

    CBitmapHeader m_Header;
    std::vector<std::uint32_t> m_Colors;
    std::vector<std::uint8_t> m_Bits;
    std::vector<std::uint8_t*> m_Rows; // m_Rows[0] is the bottom row
};
} // namespace volumira3d
