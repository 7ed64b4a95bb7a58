#include "testkit/VtkReadBack.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace testkit
{
namespace
{
constexpr const char* Python = "/usr/bin/python3";
constexpr const char* NoReader = "VTK reader checks skipped: python3-vtk9 is not installed "
                                 "(./run deps installs it)";

std::string Quote(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0, tab;
    while ((tab = line.find('\t', start)) != std::string::npos)
    {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

// Facts whose key takes more than the first field.
std::size_t KeyFields(const std::string& first)
{
    if (first == "array") return 3;
    if (first == "values" || first == "cell") return 2;
    return 1;
}
} // namespace

const std::vector<std::string>& CVtkFileView::Fact(const std::string& key) const
{
    static const std::vector<std::string> none;
    auto it = m_Facts.find(key);
    return it == m_Facts.end() ? none : it->second;
}

std::vector<double> CVtkFileView::Numbers(const std::string& key) const
{
    std::vector<double> numbers;
    for (const std::string& text : Fact(key))
        numbers.push_back(std::strtod(text.c_str(), nullptr));
    return numbers;
}

long long CVtkFileView::Count(const std::string& key) const
{
    const auto& fact = Fact(key);
    return fact.empty() ? -1 : std::atoll(fact[0].c_str());
}

CVtkFileView ReadVtkFile(const std::string& path)
{
    CVtkFileView view;
    const std::string script = TESSARON_SOURCE_DIR "/testkit/vtk_dump.py";
    const std::string command =
        std::string(Python) + " " + Quote(script) + " " + Quote(path) + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
    {
        view.m_Skip = NoReader;
        return view;
    }
    std::string text;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        text.append(buf, n);
    const int status = pclose(pipe);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == 2 || code == 127)
    {
        view.m_Skip = NoReader;
        return view;
    }
    if (code != 0) view.m_Error = "the reader script failed (exit " + std::to_string(code) + ")";
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        std::vector<std::string> fields = SplitTabs(line);
        const std::size_t keyFields = std::min(KeyFields(fields[0]), fields.size());
        std::string key = fields[0];
        for (std::size_t i = 1; i < keyFields; ++i)
            key += "\t" + fields[i];
        view.m_Facts[key].assign(fields.begin() + long(keyFields), fields.end());
    }
    if (view.m_Facts.count("error")) view.m_Error = "VTK's reader reported an error";
    return view;
}
} // namespace testkit
