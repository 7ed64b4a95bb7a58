// The configuration dialog of the cloud viewer: the shared colour editor with the weight filter
// range, the direction scaling factor and the arrow switch in place of the track settings.
#pragma once
#include "isodump/WeightFilterConfigDlg.h"

namespace nebulo3d
{
using namespace isodump::weightfilter;
enum : int
{
    IDC_CFG_DIRSCALE = 1045,
    IDC_CFG_ARROWS = 1046,
};

class CCloudConfigDlg : public isodump::CWeightFilterConfigDlg
{
public:
    explicit CCloudConfigDlg(CDialog* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    double m_DirectionScale = 10.0;
    bool m_DrawArrows = false;
};
} // namespace nebulo3d
