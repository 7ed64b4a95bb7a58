// The configuration dialog of the isotope viewer: the shared colour editor with the weight
// filter range and the general scaling factor of the emitters' size.
#pragma once
#include "isodump/WeightFilterConfigDlg.h"

namespace nuclira3d
{
using namespace isodump::weightfilter;
enum : int
{
    IDC_CFG_SCALE = 1045,
};

class CIsotopeConfigDlg : public isodump::CWeightFilterConfigDlg
{
public:
    explicit CIsotopeConfigDlg(CDialog* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    float m_ScaleFactor = 1.0f;
};
} // namespace nuclira3d
