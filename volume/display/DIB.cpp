#include "volume/display/DIB.h"

#include "platform/SafeWrite.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

namespace volumira3d
{
namespace
{
constexpr std::uint32_t FileHeaderBytes = 14, InfoHeaderBytes = 40;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

std::uint32_t Get16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}

std::uint32_t Get32(const std::uint8_t* p)
{
    return Get16(p) | Get16(p + 2) << 16;
}
} // namespace

int CDIB::ColorCount(std::uint16_t bitCount)
{
    return bitCount < 15 ? 1 << bitCount : 0;
}

int CDIB::RowBytes(const CBitmapHeader& header)
{
    return int((std::int64_t(header.m_Width) * header.m_BitCount + 31) / 32 * 4);
}

bool CDIB::Accepts(const CBitmapHeader& h)
{
    const bool depth =
        h.m_BitCount == 1 || h.m_BitCount == 4 || h.m_BitCount == 8 || h.m_BitCount == 24;
    return depth && h.m_Compression == 0 && h.m_Width > 0 && h.m_Height > 0 &&
           h.m_Width <= MaxSide && h.m_Height <= MaxSide;
}

bool CDIB::Create(const CBitmapHeader& header, const std::vector<std::uint32_t>& colors,
                  const std::vector<std::uint8_t>& bits)
{
    if (!Accepts(header) || colors.size() != size_t(ColorCount(header.m_BitCount)) ||
        bits.size() != size_t(RowBytes(header)) * size_t(header.m_Height))
        return false;
    try
    {
        m_Colors = colors;
        m_Bits = bits;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    m_Header = header;
    LinkRows();
    return true;
}

void CDIB::LinkRows()
{
    m_Rows.resize(size_t(m_Header.m_Height));
    for (int r = 0; r < m_Header.m_Height; ++r)
        m_Rows[size_t(r)] = m_Bits.data() + size_t(r) * size_t(RowBytes());
}

bool CDIB::FromRgb(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    const CBitmapHeader header{width, height, 24, 0};
    if (!Accepts(header) || rgb.size() != size_t(width) * size_t(height) * 3) return false;
    const size_t rowBytes = size_t(RowBytes(header));
    std::vector<std::uint8_t> bits(rowBytes * size_t(height));
    for (int y = 0; y < height; ++y)
    {
        const std::uint8_t* src = &rgb[size_t(height - 1 - y) * size_t(width) * 3];
        std::uint8_t* dst = &bits[size_t(y) * rowBytes];
        for (int x = 0; x < width; ++x, src += 3, dst += 3)
        {
            dst[0] = src[2]; // blue, green, red
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    return Create(header, {}, bits);
}

std::vector<std::uint8_t> CDIB::ToRgb() const
{
    const int w = m_Header.m_Width, h = m_Header.m_Height;
    std::vector<std::uint8_t> rgb(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y)
    {
        const std::uint8_t* row = m_Rows[size_t(h - 1 - y)];
        std::uint8_t* out = &rgb[size_t(y) * size_t(w) * 3];
        for (int x = 0; x < w; ++x, out += 3)
        {
            if (m_Header.m_BitCount == 24)
            {
                out[0] = row[x * 3 + 2];
                out[1] = row[x * 3 + 1];
                out[2] = row[x * 3];
                continue;
            }
            const int bits = m_Header.m_BitCount, perByte = 8 / bits;
            const int shift = 8 - bits * (x % perByte + 1);
            const int index = (row[x / perByte] >> shift) & ((1 << bits) - 1);
            const std::uint32_t c = m_Colors[size_t(index)];
            out[0] = std::uint8_t(c >> 16);
            out[1] = std::uint8_t(c >> 8);
            out[2] = std::uint8_t(c);
        }
    }
    return rgb;
}

bool CDIB::Write(const std::string& path, std::string& error) const
{
    if (m_Bits.empty())
    {
        error = "no bitmap to write to " + path;
        return false;
    }
    const std::uint32_t offset =
        FileHeaderBytes + InfoHeaderBytes + 4 * std::uint32_t(m_Colors.size());
    std::vector<std::uint8_t> out;
    out.reserve(offset + m_Bits.size());
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + std::uint32_t(m_Bits.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, InfoHeaderBytes);
    Put32(out, std::uint32_t(m_Header.m_Width));
    Put32(out, std::uint32_t(m_Header.m_Height));
    Put16(out, 1);
    Put16(out, m_Header.m_BitCount);
    Put32(out, 0);
    Put32(out, std::uint32_t(m_Bits.size()));
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, std::uint32_t(m_Colors.size()));
    Put32(out, 0);
    for (std::uint32_t c : m_Colors)
        Put32(out, c & 0xffffff);
    out.insert(out.end(), m_Bits.begin(), m_Bits.end());
    CSafeOutput file(path);
    file.Stream().write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    if (file.Commit()) return true;
    error = file.Error();
    return false;
}

bool CDIB::Read(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
    if (data.size() < FileHeaderBytes + InfoHeaderBytes || data[0] != 'B' || data[1] != 'M' ||
        Get32(&data[14]) < InfoHeaderBytes)
    {
        error = path + " is no bitmap file";
        return false;
    }
    const std::uint8_t* info = &data[14];
    CBitmapHeader header;
    header.m_Width = std::int32_t(Get32(info + 4));
    header.m_Height = std::int32_t(Get32(info + 8));
    header.m_BitCount = std::uint16_t(Get16(info + 14));
    header.m_Compression = Get32(info + 16);
    if (!Accepts(header))
    {
        error = path + ": only uncompressed bitmaps of 1, 4, 8 or 24 bits per pixel are read";
        return false;
    }
    const std::uint32_t used = Get32(info + 32);
    const size_t colors = size_t(ColorCount(header.m_BitCount));
    const size_t tableAt = FileHeaderBytes + Get32(info);
    const size_t bitsAt = Get32(&data[10]);
    const size_t bytes = size_t(RowBytes(header)) * size_t(header.m_Height);
    const size_t tableEntries = used != 0 && used < colors ? used : colors;
    if (tableAt + 4 * tableEntries > data.size() || bitsAt > data.size() ||
        data.size() - bitsAt < bytes)
    {
        error = path + " is shorter than its header says";
        return false;
    }
    std::vector<std::uint32_t> table(colors, 0);
    for (size_t i = 0; i < tableEntries; ++i)
        table[i] = Get32(&data[tableAt + 4 * i]) & 0xffffff;
    return Create(header, table,
                  std::vector<std::uint8_t>(data.begin() + std::ptrdiff_t(bitsAt),
                                            data.begin() + std::ptrdiff_t(bitsAt + bytes))) ||
           (error = "not enough memory for " + path, false);
}
} // namespace volumira3d
