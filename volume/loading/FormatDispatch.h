// The volume formats, each declared once: its name, the name part that selects it, the phrases
// that identify its content, its log line, its entries in the input-file filter and its load
// function. Dispatch, identification and the browse filter all read these declarations.
//
// A new format is one more entry in the table of FormatDispatch.cpp, its reader in formats/ and
// its load function in loading/LoadFoo.cpp (a free function, declared above the table; the
// loader gains no member). Beside them: its fuzz target in fuzz/FuzzTargets.cpp (one line, by
// the format's name) and its line in README's table of formats read.
#pragma once
#include <span>
#include <string>
#include <string_view>

namespace volumira3d
{
class CVolumeLoader;

// One entry of the input-file dialog's filter; entries of all formats are listed by rank.
struct CFilterEntry
{
    int m_Rank;
    std::string_view m_Text;
    std::string_view m_Pattern;
};

struct CVolumeFormat
{
    using LoadFn = bool (*)(CVolumeLoader& loader, const std::string& path);

    std::string_view m_Name;
    // Selects the format when it occurs anywhere in the lower-cased path (empty: never); one that
    // starts with '/' selects it when the file's name begins with the rest.
    std::string_view m_NamePart;
    // Identify the content when one occurs in one of the first 10 lines (empty: never).
    std::string_view m_Phrases[2];
    std::string_view m_IdentifiedLine;
    std::span<const CFilterEntry> m_Filter;
    LoadFn m_Load;
    // Identifies the content of a binary format (nullptr: text phrases only); tried before the
    // phrases of any format.
    bool (*m_Recognize)(const std::string& path) = nullptr;
};

// All formats, in the order their name parts and phrases are tried.
std::span<const CVolumeFormat> VolumeFormats();
// The format of this name in the table; nullptr when none has it.
const CVolumeFormat* FormatNamed(std::string_view name);
// The format named by the first name part (in table order) that occurs in the path; nullptr
// when none does.
const CVolumeFormat* FormatFromPath(const std::string& path);
// The binary format whose framing the file has, else the format named by the first of the
// file's first 10 lines that holds an identifying phrase; nullptr when none does, or the file
// cannot be opened.
const CVolumeFormat* IdentifyContent(const std::string& path);
// The input-file dialog's filter: every format's entries by rank, then "All Files".
const std::string& InputFileFilter();
// The name of a format, or "unknown" for nullptr (for tests and logs).
std::string_view FormatName(const CVolumeFormat* format);
} // namespace volumira3d
