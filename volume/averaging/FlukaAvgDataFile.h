// One input of the averaging tool: a FLUKA USRBIN text file read one data set (binning) at a
// time, header then values, through a read-ahead buffer, so that memory does not grow with the
// file. The header is kept for copying to the output; its binning description and bin count are
// kept for checking that all inputs agree.
#pragma once
#include "volume/formats/TextScanner.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace volumira3d
{
class CFLUKAAvgDataFile
{
public:
    CFLUKAAvgDataFile(std::string path, double userNormalization, size_t readAhead);
    virtual ~CFLUKAAvgDataFile() = default;

    bool Open();
    // Reads the header of the next data set. False at the end of the file (Error() empty) or
    // for a header without binning or bin counts (Error() says why).
    bool ReadHeader();
    // Reads the next run of values ahead when the last one is used up. Inputs may read ahead on
    // threads of their own, each its own file; what the reading has to tell the user waits for
    // ShowPendingWarning on the thread that shows messages.
    void ReadAhead();
    bool NeedsReadAhead() const { return m_Next == m_ReadAhead.size() && m_Left > 0; }
    void ShowPendingWarning();
    // Values read ahead and not yet consumed; none once the data set's bins are all read or the
    // file holds no further number (Error() then says why).
    size_t Buffered() const { return m_ReadAhead.size() - m_Next; }
    // The k-th buffered value times the user normalisation, for k < Buffered().
    double Value(size_t k) const { return m_ReadAhead[m_Next + k] * m_UserNormalization; }
    void Consume(size_t count) { m_Next += std::min(count, Buffered()); }
    // The share of the file consumed, 0..1.
    double Progress() const;

    bool m_HasWeight = false;
    std::int64_t m_NrOfParticles = 0;
    float m_Weight = 1.0f;
    float m_WeightAsRead = 1.0f;
    double m_UserNormalization;
    std::string m_Path;
    std::vector<std::string> m_HeaderLines;
    // The coordinate lines of the data set (bounds and counts), and its number of bins.
    std::string m_Binning;
    std::int64_t m_Bins = 0;

    const std::string& Error() const { return m_Error; }

private:
    void TakeWeightLine(const std::string& line);
    void TakeCoordinateLine(const std::string& line);
    bool ReadRemarkLines();
    void SkipNumbers(std::int64_t count);
    void Refill();
    bool ExtractRepaired(double& value);

    CTextScanner m_In;
    std::vector<double> m_ReadAhead;
    size_t m_Capacity, m_Next = 0;
    std::int64_t m_Left = 0; // values of the data set not yet buffered
    std::string m_Error;
    std::string m_PendingWarning;
};

// The broken-exponent warning is shown once in the plug-in's life; tests start afresh.
void ResetAverageNotationWarning();
} // namespace volumira3d
