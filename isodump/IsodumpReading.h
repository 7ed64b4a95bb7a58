// The read entries every plug-in's isodump reader has: TContainer is the plug-in's reader class
// (its Read replaced, its m_Loaded and extent set here); what a record becomes is the plug-in's
// OnRecord.
#pragma once
#include "isodump/IsodumpFormat.h"

#include <cstdint>
#include <istream>
#include <string>

class CProgressCtrl;

namespace isodump
{
template <class TContainer> class CIsodumpReading : public TContainer, private IIsodumpRecords
{
public:
    bool Read(const std::string& fileName, CProgressCtrl* pProgress) override
    {
        this->m_Loaded = ReadIsodump(fileName, pProgress, *this);
        return this->m_Loaded;
    }
    bool ReadStream(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress)
    {
        this->m_Loaded = ReadIsodump(in, size, pProgress, *this);
        return this->m_Loaded;
    }

private:
    void OnSkipped(const std::string& text) override { this->Warn(text); }
    // The same start as the MCNPX table: a cloud at negative coordinates reaches the origin.
    void ResetExtent() override
    {
        this->m_ExtentMin = {1e12, 1e12, 1e12};
        this->m_ExtentMax = {1e-12, 1e-12, 1e-12};
    }
};
} // namespace isodump
