// The form of a histogram dialog of the point-cloud plug-ins: minimum, maximum, number of bins
// (1 to a maximum of the plug-in's) and the kind of binning, whose two names each dialog lists
// in its own order.
#pragma once

class CDialog;
class CDataExchange;

namespace isodump
{
struct CHistogramFormIds
{
    int m_Min, m_Max, m_Bins, m_Binning;
};

// What the form holds; the dialog keeps the values where its caller reads them.
struct CHistogramFormValues
{
    double& m_Min;
    double& m_Max;
    unsigned& m_Bins;
    int& m_Binning;
};

void FillBinningChoice(CDialog& dlg, const CHistogramFormIds& ids, const char* first,
                       const char* second);
void ExchangeHistogramForm(CDataExchange* pDX, const CHistogramFormIds& ids,
                           const CHistogramFormValues& values, unsigned maxBins);
} // namespace isodump
