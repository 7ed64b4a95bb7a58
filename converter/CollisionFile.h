#pragma once

#include "RecordReader.h"

namespace trakor
{

// The collision file that trakor's own FLUKA user routine writes: reals in double precision,
// trajectories with the event number in their header and the particle's age at every point.
// Every count is checked against its record before anything is allocated or read; records
// longer than needed are accepted.
class CCollisionFile : public CRecordReader
{
public:
    // Its headers hold at least three integers and two doubles.
    static bool ClaimsHeader(std::size_t length);

    const char* Description() const override;
    bool HasTimes() const override { return true; }

protected:
    ERecord ReadPair(std::uint64_t headerAt) override;

private:
    ERecord ReadTrajectory(std::uint64_t headerAt);
    ERecord ReadDeposition(std::uint64_t headerAt);
    ERecord ReadSource(std::uint64_t headerAt);
};

} // namespace trakor
