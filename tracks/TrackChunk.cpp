#include "tracks/TrackChunk.h"

#include "common/LineReader.h"
#include "tracks/TrackText.h"

#include <sstream>

namespace trakor3d
{
namespace
{
constexpr std::string_view CommentChars = "#$/&*";

std::string_view LeftTrimSpaces(std::string_view line)
{
    const size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

// The start of the line after the one holding from (the end when there is none).
size_t NextLine(std::string_view text, size_t from)
{
    const size_t end = text.find('\n', from);
    return end == std::string_view::npos ? text.size() : end + 1;
}

bool IsGroupLine(std::string_view line)
{
    for (std::string_view key : {"EnergyGroup_Tot", "energygroup_tot", "ENERGYGROUP_TOT",
                                 "EnergyGroup_Kin", "energygroup_kin", "ENERGYGROUP_KIN"})
        if (Contains(line, key)) return true;
    return false;
}

bool IsParticleLine(std::string_view line)
{
    return Contains(line, "Particle") || Contains(line, "particle") || Contains(line, "PARTICLE");
}

// A line that, outside a block, begins one; most lines inside blocks do not look like it.
bool MayBeginBlock(std::string_view line)
{
    line = LeftTrimSpaces(line);
    return !line.empty() && !ContainsAny(line, CommentChars) && !IsGroupLine(line) &&
           IsParticleLine(line) && !Contains(line, "End") && !Contains(line, "END") &&
           !Contains(line, "end");
}
} // namespace

void ReadTrackChunk(std::string_view text, bool last, size_t maxLine, CTrackChunk& chunk)
{
    chunk = CTrackChunk();
    CLineReader in(text, maxLine);
    using EKind = CTrackEvent::EKind;
    std::ostringstream errors;
    std::string_view raw;
    for (size_t start = 0; in.Next(raw); start = size_t(in.BytesRead()))
    {
        const size_t eventsBefore = chunk.m_Events.size();
        ++chunk.m_Lines;
        if (in.HadNul())
        {
            chunk.m_Events.push_back({EKind::Binary, chunk.m_Lines, {}});
            return;
        }
        if (in.Truncated()) chunk.m_Events.push_back({EKind::Truncated, chunk.m_Lines, {}});
        const std::string_view line = LeftTrimSpaces(raw);
        if (ContainsAny(line, CommentChars) || line.empty() || line == "\t\t\t\t") continue;
        if (IsGroupLine(line))
            chunk.m_Events.push_back({EKind::Group, chunk.m_Lines, std::string(line)});
        else if (IsParticleLine(line))
        {
            const int before = chunk.m_Lines - 1;
            CParticle particle;
            errors.str({});
            particle.Read(in, errors);
            // The block goes on in the next piece: read it again from its first line there.
            if (in.Exhausted() && !in.HadNul() && !last)
            {
                chunk.m_Lines = before;
                chunk.m_Events.resize(eventsBefore);
                chunk.m_OpenAt = start;
                return;
            }
            chunk.m_Lines += static_cast<int>(particle.m_Points.size()) + 4;
            chunk.m_Events.push_back(
                {EKind::Particle, chunk.m_Lines, errors.str(), chunk.m_Particles.size()});
            chunk.m_Particles.push_back(std::move(particle));
            if (in.HadNul())
            {
                chunk.m_Events.push_back({EKind::Binary, chunk.m_Lines, {}});
                return;
            }
        }
        else
            chunk.m_Events.push_back({EKind::Unknown, chunk.m_Lines, {}});
    }
}

size_t NextTrackCut(std::string_view text, size_t from)
{
    if (from >= text.size()) return text.size();
    size_t at = from == 0 ? 0 : NextLine(text, from - 1);
    while (at < text.size() && !MayBeginBlock(text.substr(at, NextLine(text, at) - at)))
        at = NextLine(text, at);
    return at;
}
} // namespace trakor3d
