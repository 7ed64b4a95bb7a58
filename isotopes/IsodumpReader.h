// Emitters from a FLUKA isodump file: every record of the chosen cooling time becomes an emitter
// of its nuclide, its weight multiplied by the nuclide's factor; factor lines give factors,
// decay blocks replace the nuclide by its listed nuclides and add one emitter per further one.
#pragma once
#include "isodump/IsodumpReading.h"
#include "isotopes/IsotopeDataReader.h"

#include <string>
#include <vector>

namespace nuclira3d
{
class CIsodumpReader : public isodump::CIsodumpReading<CIsotopeDataReader>
{
private:
    bool OnRecord(const isodump::CRecord& record, int coolingTime,
                  isodump::CRecordLines& lines) override;
    // False when the record is to be dropped (a warning says why).
    bool ApplyFactorLine(const isodump::CRecord& record, int coolingTime,
                         isodump::CRecordLines& lines, CIsotope& emitter);
    bool ApplyDecayBlock(const isodump::CRecord& record, int coolingTime,
                         isodump::CRecordLines& lines, CIsotope& emitter);
    bool AddEmitter(std::unique_ptr<CIsotope> emitter);
};
} // namespace nuclira3d
