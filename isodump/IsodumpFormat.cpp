#include "isodump/IsodumpFormat.h"

#include "common/FileSystem.h"
#include "common/LineReader.h"
#include "common/NumberScan.h"
#include "common/Tokens.h"
#include "isodump/IsodumpReaderDlg.h"
#include "platform/Controls.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace isodump
{
namespace
{
constexpr CSeparators RecordSeparators(" \t");

bool IsBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Reads the fields first..first+2 into position; false with problem set at the first that is
// no number.
bool ReadPosition(const std::vector<std::string_view>& f, size_t first, CVector& position,
                  std::string& problem)
{
    double v[3];
    for (size_t i = 0; i < 3; ++i)
    {
        const std::optional<double> read = CheckedNumber(f[first + i], problem);
        if (!read) return false;
        v[i] = *read;
    }
    position = {v[0], v[1], v[2]};
    return true;
}

// False when the user wants the read aborted.
bool GoOnAfterShortRecord(std::string_view line)
{
    AfxMessageBox(Format("Error in line: \"%.*s\". Not enough data found!",
                         static_cast<int>(std::min<size_t>(line.size(), 2000)), line.data()),
                  MB_ICONWARNING);
    return AfxMessageBox("Should the reading be aborted?", MB_YESNO | MB_ICONQUESTION) != IDYES;
}
} // namespace

std::vector<int> LeadingIntegers(std::string_view line)
{
    std::vector<int> values;
    size_t i = 0;
    for (;;)
    {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        size_t start = i;
        if (start < line.size() && line[start] == '+') ++start;
        int value = 0;
        const auto r = std::from_chars(line.data() + start, line.data() + line.size(), value);
        if (r.ec != std::errc() || (start > i && line[i + 1] == '-')) return values;
        values.push_back(value);
        i = static_cast<size_t>(r.ptr - line.data());
    }
}

std::optional<int> HeaderCount(std::string_view line)
{
    const std::vector<int> values = LeadingIntegers(line);
    if (values.size() != 2) return std::nullopt;
    return values[1];
}

bool CRecordLines::Next(std::string_view& line)
{
    ++m_LineNo;
    if (m_Back)
    {
        m_Back = false;
        line = m_LastView = m_Last;
        return true;
    }
    if (!m_Lines.Next(line)) return false;
    m_LastView = line;
    return true;
}

void CRecordLines::PutBack()
{
    // The reader's view ends with its next line; a line already put back is its own copy.
    if (m_LastView.data() != m_Last.data()) m_Last.assign(m_LastView);
    m_Back = true;
    --m_LineNo;
}

std::uint64_t CRecordLines::BytesRead() const
{
    return m_Lines.BytesRead();
}

bool IsRecordLine(std::string_view line)
{
    return line.find('#') != std::string_view::npos;
}

std::string CoolingLabel(std::string_view line)
{
    return std::string(line.size() > 2 ? line.substr(2) : std::string_view());
}

ERecord ParseRecord(std::string_view line, int coolingTime, CRecord& record)
{
    if (!IsRecordLine(line)) return ERecord::NotData;
    record.m_Line = line;
    SplitTokens(line, RecordSeparators, record.m_Fields);
    const auto& f = record.m_Fields;
    if (f.size() < 9) return ERecord::Short;
    const std::optional<double> selector = CheckedNumber(f[1], record.m_Problem);
    if (!selector) return ERecord::Unreadable;
    record.m_Selector = static_cast<float>(*selector);
    if (static_cast<float>(coolingTime) > std::fabs(record.m_Selector)) return ERecord::OtherTime;
    if (f[0] == "#1" && f.size() < 10) return ERecord::Short;
    const std::optional<int> z = CheckedInteger(f[2], record.m_Problem);
    const std::optional<int> a = z ? CheckedInteger(f[3], record.m_Problem) : std::nullopt;
    if (!a) return ERecord::Unreadable;
    record.m_Z = *z;
    record.m_A = *a;
    record.m_HasPosition = f[0] == "#1" || f[0] == "#2";
    record.m_Position = {};
    record.m_Weight = 0;
    if (!record.m_HasPosition) return ERecord::Accepted;
    const size_t first = f[0] == "#1" ? 6 : 5;
    if (!ReadPosition(f, first, record.m_Position, record.m_Problem)) return ERecord::Unreadable;
    const std::optional<double> weight = CheckedNumber(f[first + 3], record.m_Problem);
    if (!weight) return ERecord::Unreadable;
    record.m_Weight = *weight;
    return ERecord::Accepted;
}

std::optional<int> DecayLineIndex(const std::vector<int>& counts, int coolingTime)
{
    if (coolingTime < 1 || coolingTime > static_cast<int>(counts.size())) return std::nullopt;
    if (counts[coolingTime - 1] == 0) return std::nullopt;
    const auto nonZero =
        std::count_if(counts.begin(), counts.begin() + coolingTime, [](int c) { return c != 0; });
    return static_cast<int>(nonZero) - 1;
}

CReadProgress::CReadProgress(CProgressCtrl* p, std::uint64_t total)
    : m_p(p), m_Total(std::max<std::uint64_t>(total, 1))
{
    if (m_p) m_p->SetRange32(1, 25000);
}

CReadProgress::~CReadProgress()
{
    if (m_p) m_p->SetPos(0);
}

void CReadProgress::Update(std::uint64_t done)
{
    if (!m_p || done < m_Next) return;
    m_Next = done + m_Total / 100 + 1;
    m_p->SetPos(1 + static_cast<int>(std::min(done, m_Total) * 24999 / m_Total));
    UiBackend().Refresh();
}

bool ReadNamedFile(const std::string& fileName,
                   const std::function<bool(std::istream& in, std::uint64_t size)>& read)
{
    if (fileName.empty())
    {
        AfxMessageBox("ERROR: No filename specified!", MB_ICONERROR);
        return false;
    }
    std::uint64_t size = 0;
    if (!RegularFileSize(fileName, size)) return false;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return false;
    return read(in, size);
}

bool ReadIsodump(const std::string& fileName, CProgressCtrl* pProgress, IIsodumpRecords& sink)
{
    return ReadNamedFile(fileName, [&](std::istream& in, std::uint64_t size)
                         { return ReadIsodump(in, size, pProgress, sink); });
}

bool ReadIsodump(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress,
                 IIsodumpRecords& sink)
{
    CReadProgress progress(pProgress, size);
    sink.ResetExtent();
    CLineReader lines(in);
    std::string_view line;
    const std::optional<int> count = lines.Next(line) ? HeaderCount(line) : std::nullopt;
    if (!count)
    {
        AfxMessageBox("Invalid 1st line encountered. Maybe this file is not a valid isodump file?",
                      MB_ICONERROR);
        return false;
    }
    std::vector<std::string> labels;
    while (static_cast<int>(labels.size()) < *count && lines.Next(line))
        labels.push_back(CoolingLabel(line));
    if (labels.empty())
    {
        AfxMessageBox("No cooling times found. Reading aborted!", MB_ICONERROR);
        return false;
    }
    CIsodumpReaderDlg dlg(labels);
    if (dlg.DoModal() != IDOK) return false;
    const int coolingTime = std::clamp(dlg.m_CoolingTime, 1, static_cast<int>(labels.size()));

    CWaitCursor wait;
    CRecord record;
    CRecordLines data(lines, 1 + static_cast<long>(labels.size()));
    while (data.Next(line))
    {
        progress.Update(data.BytesRead());
        switch (ParseRecord(line, coolingTime, record))
        {
        case ERecord::NotData:
        case ERecord::OtherTime:
            continue;
        case ERecord::Short:
            wait.End();
            if (!GoOnAfterShortRecord(line)) return false;
            continue;
        case ERecord::Unreadable:
            sink.OnSkipped("line " + std::to_string(data.LineNo()) +
                           ": record skipped: " + record.m_Problem);
            continue;
        case ERecord::Accepted:
            record.m_LineNo = data.LineNo();
            if (!sink.OnRecord(record, coolingTime, data)) return false;
            break;
        }
    }
    return true;
}
std::vector<std::string> FileHead(const std::string& path, int count)
{
    std::vector<std::string> head;
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path)) return head;
    CLineReader reader(in, 4096);
    std::string line;
    while (static_cast<int>(head.size()) < count && reader.Next(line))
        head.push_back(line);
    return head;
}

bool LooksLikeIsodump(const std::vector<std::string>& head)
{
    if (head.size() < 2) return false;
    long a = 0, b = 0;
    char tail = 0;
    if (std::sscanf(head[0].c_str(), "%ld %ld %c", &a, &b, &tail) != 2 || a < 0 || b < 0)
        return false;
    double time = 0;
    char unit = 0;
    return std::sscanf(head[1].c_str(), " %lf%c", &time, &unit) == 2 &&
           std::isalpha(static_cast<unsigned char>(unit));
}
} // namespace isodump
