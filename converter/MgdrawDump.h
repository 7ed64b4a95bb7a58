#pragma once

#include "RecordReader.h"

namespace trakor
{

// The dump of FLUKA's default mgdraw routine: every header holds five 4-byte words (three
// integers, two single-precision reals), every real is single precision, and nothing records a
// time. Tracks take their event number from the source record that starts the event. Data
// records must be exactly as long as their header announces.
class CMgdrawDump : public CRecordReader
{
public:
    static constexpr std::size_t HeaderSize = 20;
    // FLUKA's track arrays are far smaller; the bound keeps a damaged count from passing.
    static constexpr int MaxSteps = 100000;
    static constexpr int MaxPrimaries = 100000;

    static bool ClaimsHeader(std::size_t length) { return length == HeaderSize; }

    const char* Description() const override;
    bool HasTimes() const override { return false; }

protected:
    void StartPass() override;
    ERecord ReadPair(std::uint64_t headerAt) override;

private:
    ERecord ReadTrack(std::uint64_t headerAt);
    ERecord ReadDeposition(std::uint64_t headerAt);
    ERecord ReadSource(std::uint64_t headerAt);
    // The fault of a data record that does not hold the `expected` bytes its header announced.
    ERecord WrongDataLength(std::uint64_t expected, const std::string& announced);

    int m_Event = 0; // of the latest source record
};

} // namespace trakor
