// The clipboard: a bitmap and a vector image (SVG, where the original platform copies a
// metafile). Headless it is a store that tests read and the batch prints ("clipboard"); a
// backend with a system clipboard installs a sink that hands every change on to it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct CClipboardData
{
    int m_Width = 0, m_Height = 0;
    std::vector<std::uint8_t> m_Rgb; // three bytes per pixel, rows top first
    std::string m_Svg;
};

// Each call replaces what the clipboard held (as copying does).
void ClipboardSetBitmap(int width, int height, const std::vector<std::uint8_t>& rgb);
void ClipboardSetSvg(const std::string& svg);
void ClipboardClear();
const CClipboardData& ClipboardData();

using ClipboardSink = std::function<void(const CClipboardData&)>;
void SetClipboardSink(ClipboardSink sink);
