// "Chart...": the bar chart of a statistic with "OK" and "Save image". A failed save shows its
// error; a cancelled one shows nothing.
#pragma once
#include "isotopes/BarChart.h"
#include "isotopes/BarObject.h"
#include "platform/Dialog.h"

#include <string>
#include <vector>

namespace nuclira3d
{
enum : int
{
    IDD_BARCHART = 2200,
    IDC_CHART = 1000,
    IDC_CHART_TITLE = 1001,
    IDC_CHART_SAVE = 1002,
};

class CBarChartDlg : public CDialog
{
public:
    CBarChartDlg(std::string title, std::vector<CBarObject> bars, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    const CBarChart& Chart() const { return m_Chart; }

private:
    void OnSaveImage();

    CBarChart m_Chart;
    std::string m_Title;
    std::vector<CBarObject> m_Bars;
};
} // namespace nuclira3d
