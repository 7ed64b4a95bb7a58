#include "isodump/HistogramForm.h"

#include "platform/Controls.h"
#include "platform/DataExchange.h"

namespace isodump
{
void FillBinningChoice(CDialog& dlg, const CHistogramFormIds& ids, const char* first,
                       const char* second)
{
    CComboBox binning(&dlg, ids.m_Binning);
    binning.AddString(first);
    binning.AddString(second);
}

void ExchangeHistogramForm(CDataExchange* pDX, const CHistogramFormIds& ids,
                           const CHistogramFormValues& values, unsigned maxBins)
{
    DDX_Text(pDX, ids.m_Min, values.m_Min);
    DDX_Text(pDX, ids.m_Max, values.m_Max);
    DDX_Text(pDX, ids.m_Bins, values.m_Bins);
    DDV_MinMaxUInt(pDX, values.m_Bins, 1, maxBins);
    DDX_CBIndex(pDX, ids.m_Binning, values.m_Binning);
}
} // namespace isodump
