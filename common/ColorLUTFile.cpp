#include "common/ColorLUTFile.h"

#include "common/ColorTable.h"
#include "common/LineReader.h"
#include "common/ParticleNames.h"
#include "common/Tokens.h"
#include "platform/SafeWrite.h"
#include "platform/UiServices.h"

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

namespace ColorLUTFile
{
namespace
{
std::vector<std::string> Split(std::string_view line)
{
    static constexpr CSeparators separators(" ,;|\t");
    const std::vector<std::string_view> views = SplitTokens(line, separators);
    return {views.begin(), views.end()};
}

bool IsNumber(const std::string& token)
{
    char* end = nullptr;
    std::strtod(token.c_str(), &end);
    return end != token.c_str() && *end == '\0';
}

// Red, green and blue follow the name. A name with a blank ("Kaon zero", as the writer writes
// it) spans several tokens: the colour starts at the first token after the name's first word
// that is a number.
size_t ColourStart(const std::vector<std::string>& tokens)
{
    size_t k = 2;
    while (k + 3 < tokens.size() && !IsNumber(tokens[k]))
        ++k;
    return k;
}
} // namespace

bool Load(const std::string& path, CColorTable& table)
{
    if (path.empty())
    {
        AfxMessageBox("No file name specified!", MB_ICONWARNING);
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        AfxMessageBox("Error opening file!", MB_ICONERROR);
        return false;
    }
    CLineReader lines(file, 4096);
    std::string line;
    if (!lines.Next(line) || line.find("Trakor3D") == std::string::npos)
    {
        AfxMessageBox("Invalid file format!", MB_ICONERROR);
        return false;
    }
    CWaitCursor wait;
    while (lines.Next(line))
    {
        const std::vector<std::string> tokens = Split(line);
        if (tokens.size() <= 4)
        {
            wait.End();
            AfxMessageBox(Format("Line: \"%s\" contains too little information and is thus skipped",
                                 line.c_str()),
                          MB_ICONINFORMATION);
            continue;
        }
        const int index = std::atoi(tokens[0].c_str());
        if (!CColorTable::ValidIndex(index))
        {
            wait.End();
            AfxMessageBox("Invalid index for color LUT given! Entry is ignored.", MB_ICONWARNING);
            continue;
        }
        const size_t k = ColourStart(tokens);
        table.Set(index, {std::atof(tokens[k].c_str()), std::atof(tokens[k + 1].c_str()),
                          std::atof(tokens[k + 2].c_str())});
    }
    return true;
}

bool Save(const std::string& path, const CColorTable& table)
{
    CSafeOutput out(path);
    if (!out.IsOpen())
    {
        AfxMessageBox("Error opening file!", MB_ICONERROR);
        return false;
    }
    CWaitCursor wait;
    std::ostream& file = out.Stream();
    file << "# Trakor3D color LUT\n";
    for (int i = 1; i < CColorTable::Size; ++i)
    {
        const CVector& c = table.Get(i);
        file << i << ' ' << particles::ParticleName(i) << ' ' << c.x << ' ' << c.y << ' ' << c.z
             << '\n';
    }
    if (!out.Commit())
    {
        wait.End();
        AfxMessageBox("Error writing file!", MB_ICONERROR);
        return false;
    }
    return true;
}
} // namespace ColorLUTFile
