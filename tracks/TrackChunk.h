// A piece of a track file read on its own: what the file says, in order, before it meets the
// store. Pieces are cut at lines that begin a particle block and read on every thread; the store
// then takes them one after another, so that groups, particles, line numbers and messages are
// those of reading the file from its start.
#pragma once
#include "tracks/Particle.h"

#include <string>
#include <string_view>
#include <vector>

namespace trakor3d
{
// One thing a line or a block of the file asks of the store; m_Line is the line count of the
// piece when it happened.
struct CTrackEvent
{
    enum class EKind
    {
        Group,     // an energy group line (m_Text)
        Particle,  // a particle block: m_Particle, its error lines m_Text
        Unknown,   // a line that is neither
        Truncated, // a line cut off at the reader's bound
        Binary,    // a line with a NUL byte: reading stops here
    };
    EKind m_Kind;
    int m_Line;
    std::string m_Text;
    size_t m_Particle = 0; // index into the piece's particles
};

struct CTrackChunk
{
    static constexpr size_t NoPlace = static_cast<size_t>(-1);
    std::vector<CTrackEvent> m_Events;
    // Points of each block only: the bounds each particle grows from its own points.
    std::vector<CParticle> m_Particles;
    int m_Lines = 0;
    // A block that begins here runs past the end of the piece, m_Lines counted before it.
    size_t m_OpenAt = NoPlace;
};

// Reads a piece that begins outside a block; last says it ends the file. maxLine bounds a line.
void ReadTrackChunk(std::string_view text, bool last, size_t maxLine, CTrackChunk& chunk);
// The first line start at or after from whose line may begin a block; the text's size when none.
size_t NextTrackCut(std::string_view text, size_t from);
} // namespace trakor3d
