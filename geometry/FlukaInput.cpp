#include "geometry/FlukaInput.h"

#include "common/FileSystem.h"
#include "common/LineReader.h"
#include "common/TextCase.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace
{
constexpr int MaxIncludeDepth = 16;
// Files read in all, so that a file including itself twice over cannot run on for long.
constexpr int MaxFiles = 256;

std::vector<std::string_view> Words(std::string_view text)
{
    static constexpr CSeparators Blanks(" \t");
    return SplitTokens(text, Blanks);
}
} // namespace

std::string CInputLine::Where(const std::string& mainFile) const
{
    if (m_File == mainFile) return Format("line %d", m_Line);
    return Format("%s line %d", std::filesystem::path(m_File).filename().string().c_str(), m_Line);
}

bool CFlukaInput::Read(const std::string& path)
{
    m_Path = path;
    m_Lines.clear();
    m_Errors.clear();
    m_Defined.clear();
    m_Conditions.clear();
    m_Files = 1;
    if (!ReadFile(path, 0)) return false;
    if (!m_Conditions.empty()) m_Errors.push_back("an #if is not closed by #endif");
    return true;
}

bool CFlukaInput::Active() const
{
    return std::all_of(m_Conditions.begin(), m_Conditions.end(),
                       [](const CCondition& c) { return c.m_Active; });
}

bool CFlukaInput::ReadFile(const std::string& path, int depth)
{
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path) || !in) return false;
    const std::string folder = std::filesystem::path(path).parent_path().string();
    CLineReader reader(in);
    std::string text;
    int number = 0;
    while (reader.Next(text))
    {
        CInputLine line{text, path, ++number};
        if (!text.empty() && text.back() == '\r') line.m_Text.pop_back();
        if (!line.m_Text.empty() && line.m_Text[0] == '#')
        {
            Directive(line, folder, depth);
            continue;
        }
        if (!Active() || line.m_Text.empty() || line.m_Text[0] == '*') continue;
        if (const size_t bang = line.m_Text.find('!'); bang != std::string::npos)
            line.m_Text.erase(bang);
        m_Lines.push_back(line);
    }
    return true;
}

void CFlukaInput::Directive(const CInputLine& line, const std::string& folder, int depth)
{
    const auto words = Words(line.m_Text);
    const std::string verb = LowerCase(std::string(words[0]));
    const std::string name(words.size() > 1 ? words[1] : std::string_view());
    const auto defined = [&]
    { return std::find(m_Defined.begin(), m_Defined.end(), name) != m_Defined.end(); };
    const auto error = [&](const std::string& text)
    { m_Errors.push_back(line.Where(m_Path) + ": " + text); };
    if (verb == "#if" || verb == "#ifdef" || verb == "#ifndef")
    {
        const bool holds = verb == "#ifndef" ? !defined() : defined();
        m_Conditions.push_back({holds, holds, false});
    }
    else if (verb == "#elif" || verb == "#else")
    {
        if (m_Conditions.empty() || m_Conditions.back().m_SeenElse)
            return error(verb + " without its #if");
        CCondition& c = m_Conditions.back();
        const bool holds = !c.m_Taken && (verb == "#else" || defined());
        c.m_Active = holds;
        c.m_Taken = c.m_Taken || holds;
        c.m_SeenElse = verb == "#else";
    }
    else if (verb == "#endif")
    {
        if (m_Conditions.empty()) return error("#endif without its #if");
        m_Conditions.pop_back();
    }
    else if (!Active())
        return;
    else if (verb == "#define")
    {
        if (name.empty()) return error("#define names nothing");
        if (!defined()) m_Defined.push_back(name);
    }
    else if (verb == "#undefine" || verb == "#undef")
        m_Defined.erase(std::remove(m_Defined.begin(), m_Defined.end(), name), m_Defined.end());
    else if (verb == "#include")
    {
        if (name.empty()) return error("#include names no file");
        if (depth + 1 > MaxIncludeDepth)
            return error(Format("#include nests deeper than %d files", MaxIncludeDepth));
        if (++m_Files > MaxFiles)
            return error(Format("#include reads more than %d files", MaxFiles));
        const std::filesystem::path file = std::filesystem::path(name).is_absolute()
                                               ? std::filesystem::path(name)
                                               : std::filesystem::path(folder) / name;
        if (!ReadFile(file.string(), depth + 1))
            error("the included file " + file.string() + " cannot be read");
    }
    else
        error("unknown preprocessor directive " + std::string(words[0]));
}
