// Standard uncompressed 24-bit BMP files (bottom-up rows padded to four bytes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// rgb holds width * height pixels, three bytes each (red, green, blue), rows top first. False
// when the sizes do not fit the data or the file cannot be written completely (error, when
// given, says why; an earlier file of the name stays as it was).
bool WriteBmp(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string* error = nullptr);
