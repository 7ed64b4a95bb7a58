#include "platform/Bmp.h"

#include "platform/SafeWrite.h"

#include <fstream>

namespace
{
void Put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}
} // namespace

bool WriteBmp(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string* error)
{
    if (width <= 0 || height <= 0 || width > 1 << 15 || height > 1 << 15) return false;
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    if (rgb.size() != w * h * 3) return false;
    const size_t rowBytes = (w * 3 + 3) / 4 * 4;
    const std::uint32_t headerBytes = 14 + 40;
    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + rowBytes * h);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(headerBytes + rowBytes * h));
    Put32(out, 0);
    Put32(out, headerBytes);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height)); // positive: bottom row first
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // no compression
    Put32(out, static_cast<std::uint32_t>(rowBytes * h));
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (size_t y = h; y-- > 0;)
    {
        const std::uint8_t* row = &rgb[y * w * 3];
        for (size_t x = 0; x < w; ++x)
        {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3]);
        }
        out.resize(out.size() + rowBytes - w * 3, 0);
    }
    CSafeOutput file(path);
    file.Stream().write(reinterpret_cast<const char*>(out.data()),
                        static_cast<std::streamsize>(out.size()));
    const bool written = file.Commit();
    if (!written && error) *error = file.Error();
    return written;
}
