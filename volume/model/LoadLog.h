// Where the loaders write their log lines: the main dialog's message log, or a plain list in tests
// and benchmarks.
#pragma once
#include "platform/Dialog.h"

#include <string>
#include <utility>
#include <vector>

namespace volumira3d
{
class ILoadLog
{
public:
    enum : int
    {
        IconInformation = static_cast<int>(EListIcon::Information),
        IconWarning = static_cast<int>(EListIcon::Warning),
        IconError = static_cast<int>(EListIcon::Error),
    };
    virtual ~ILoadLog() = default;
    // Appends a line and returns its index.
    virtual int AddLine(const std::string& text, int icon = IconInformation) = 0;
    // Rewrites the line at index in place.
    virtual void SetLine(int index, const std::string& text) = 0;
};

// A log kept as lines, for tests and benchmarks.
class CStringLog : public ILoadLog
{
public:
    int AddLine(const std::string& text, int icon = IconInformation) override;
    void SetLine(int index, const std::string& text) override;
    std::vector<std::pair<std::string, int>> m_Lines;
    int m_Rewrites = 0;
};

// A log line that shows the progress of a long operation: written once, then rewritten in place
// whenever the percentage changes (so at most about a hundred times).
class CProgressLine
{
public:
    CProgressLine(ILoadLog& log, const std::string& text);
    // Rewrites the line as "Mapping %ld bins to XYZ... %d%%" when percent differs from the last.
    void Update(long bins, int percent);
    void SetText(const std::string& text);
    int Index() const { return m_Index; }

private:
    ILoadLog& m_Log;
    int m_Index;
    int m_Percent = -1;
};
} // namespace volumira3d
