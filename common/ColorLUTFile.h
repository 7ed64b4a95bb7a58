// The colour table file (".lut"): a header line holding "Trakor3D", then one line per entry:
// index, name, red, green, blue. Loading and saving report problems in message boxes.
#pragma once
#include <string>

class CColorTable;

namespace ColorLUTFile
{
bool Load(const std::string& path, CColorTable& table);
bool Save(const std::string& path, const CColorTable& table);
} // namespace ColorLUTFile
