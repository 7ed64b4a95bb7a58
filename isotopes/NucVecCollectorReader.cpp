#include "isotopes/NucVecCollectorReader.h"

#include "common/LineReader.h"
#include "common/Tokens.h"
#include "isodump/IsodumpFormat.h"
#include "platform/UiServices.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace nuclira3d
{
namespace
{
constexpr CSeparators CollectorSeparators(" \t,;");

std::optional<int> WholeInt(std::string_view field)
{
    if (!field.empty() && field[0] == '+') field.remove_prefix(1);
    int value = 0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), value);
    if (r.ec != std::errc() || r.ptr != field.data() + field.size()) return std::nullopt;
    return value;
}

std::string Quoted(std::string_view line)
{
    std::string quoted(1, '"');
    quoted.append(line.substr(0, 200));
    quoted.append(line.size() > 200 ? "...\"" : "\"");
    return quoted;
}
} // namespace

std::optional<double> CollectorNumber(std::string_view field)
{
    if (field.empty() || field[0] == '?') return std::numeric_limits<double>::quiet_NaN();
    // The fast path gives strtod's result wherever it takes the whole field; the rest (a sign
    // of +, hexadecimal, values out of range, text) goes to strtod itself.
    double fast = 0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), fast);
    if (r.ec == std::errc() && r.ptr == field.data() + field.size()) return fast;
    // strtod needs a terminated string; numbers are short, so no allocation for them.
    char buffer[64];
    std::string longer;
    const char* text = buffer;
    if (field.size() < sizeof buffer)
    {
        std::memcpy(buffer, field.data(), field.size());
        buffer[field.size()] = '\0';
    }
    else
        text = (longer = std::string(field)).c_str();
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || end != text + field.size()) return std::nullopt;
    return value;
}

bool CNucVecCollectorReader::Read(const std::string& fileName, CProgressCtrl* pProgress)
{
    return isodump::ReadNamedFile(fileName, [&](std::istream& in, std::uint64_t size)
                                  { return ReadStream(in, size, pProgress); });
}

bool CNucVecCollectorReader::ReadStream(std::istream& in, std::uint64_t size,
                                        CProgressCtrl* pProgress)
{
    m_Loaded = false;
    CLineReader lines(in);
    std::string_view line;
    if (!lines.Next(line) || line.find('#') == std::string_view::npos || !ReadHeader(line))
    {
        AfxMessageBox("ERROR: invalid file format!", MB_ICONERROR);
        return false;
    }
    m_ExtentMin = {1e12, 1e12, 1e12};
    m_ExtentMax = {1e-12, 1e-12, 1e-12};
    m_TotalWeight = 0;
    isodump::CReadProgress progress(pProgress, size);
    CWaitCursor wait;
    long lineNo = 1;
    while (lines.Next(line))
    {
        ++lineNo;
        progress.Update(lines.BytesRead());
        if (lines.Truncated())
            Warn(Format("line %ld: longer than %zu bytes, only its start was read", lineNo,
                        lines.MaxLine()));
        if (line.find('#') != std::string_view::npos)
        {
            if (!ReadHeader(line))
                Warn(Format("line %ld: a header without Z and A; the emitters after it are "
                            "skipped",
                            lineNo));
            continue;
        }
        if (ReadEmitter(line, lineNo) == ELine::Stop) break;
    }
    m_Loaded = true;
    return true;
}

bool CNucVecCollectorReader::ReadHeader(std::string_view line)
{
    const auto f = SplitTokens(line, CollectorSeparators);
    const auto z = f.size() >= 3 ? WholeInt(f[1]) : std::nullopt;
    const auto a = f.size() >= 3 ? WholeInt(f[2]) : std::nullopt;
    m_HeaderValid = z && a;
    if (m_HeaderValid)
    {
        m_Z = *z;
        m_A = *a;
    }
    return m_HeaderValid;
}

CNucVecCollectorReader::ELine CNucVecCollectorReader::ReadEmitter(std::string_view line,
                                                                  long lineNo)
{
    thread_local std::vector<std::string_view> f;
    SplitTokens(line, CollectorSeparators, f);
    if (f.empty()) return ELine::Next;
    if (f.size() < 3)
    {
        Warn(Format("line %ld: %s has fewer than 3 fields; skipped", lineNo, Quoted(line).c_str()));
        return ELine::Next;
    }
    if (!m_HeaderValid)
    {
        Warn(Format("line %ld: no nuclide for this emitter; skipped", lineNo));
        return ELine::Next;
    }
    double v[4];
    for (size_t i = 0; i < 4; ++i)
    {
        const auto value = CollectorNumber(i < f.size() ? f[i] : std::string_view());
        if (!value)
        {
            AfxMessageBox("unrecognized numeric data", MB_ICONERROR);
            Warn(Format("line %ld: %s is no number; the rest of the file was not read", lineNo,
                        Quoted(f[i]).c_str()));
            return ELine::Stop;
        }
        v[i] = *value;
    }
    // A missing weight ("?") is the format's own NaN; a point off every axis or an infinite
    // weight is no emitter.
    if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2]) || std::isinf(v[3]))
    {
        Warn(Format("line %ld: the %s is not finite; emitter skipped", lineNo,
                    std::isinf(v[3]) ? "weight" : "position"));
        return ELine::Next;
    }
    auto emitter = std::make_unique<CIsotope>();
    emitter->m_Direction = {0, 0, 1};
    emitter->m_Z = m_Z;
    emitter->m_A = m_A;
    emitter->m_Position = {v[0], v[1], v[2]};
    emitter->m_Weight = v[3];
    if (!CountedWeight(v[3]))
        Warn(Format("line %ld: the weight is not a number; it is left out of every total", lineNo));
    m_ExtentMin = CVector::Min(m_ExtentMin, emitter->m_Position);
    m_ExtentMax = CVector::Max(m_ExtentMax, emitter->m_Position);
    if (!Add(std::move(emitter)))
    {
        AfxMessageBox("Running out of memory while reading data. The rest of the data will be "
                      "ignored",
                      MB_ICONERROR);
        return ELine::Stop;
    }
    return ELine::Next;
}

} // namespace nuclira3d
