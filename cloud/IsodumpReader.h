// Particles from a FLUKA isodump file: every record of the chosen cooling time becomes a
// proton-coloured particle with direction (0, 0, 1), energy 1 and the record's weight.
#pragma once
#include "cloud/ParticleDataReader.h"
#include "isodump/IsodumpReading.h"

namespace nebulo3d
{
class CIsodumpReader : public isodump::CIsodumpReading<CParticleDataReader>
{
private:
    bool OnRecord(const isodump::CRecord& record, int coolingTime,
                  isodump::CRecordLines& lines) override;
};
} // namespace nebulo3d
