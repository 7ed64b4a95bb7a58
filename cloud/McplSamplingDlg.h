// "MCPL particles": asked before a long list is read, whether to read all of it, every N-th
// particle or the first N, with the memory the choice takes.
#pragma once
#include "cloud/McplReader.h"
#include "platform/Dialog.h"

namespace nebulo3d
{
enum : int
{
    IDD_MCPL_SAMPLING = 1220,
    IDC_MCPL_WHICH = 1001,
    IDC_MCPL_N = 1002,
};

class CMcplSamplingDlg : public CDialog
{
public:
    CMcplSamplingDlg(std::uint64_t particles, double megabytes, CDialog* pParent);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The question of CMcplReader, answered by this dialog over pParent.
    static CMcplReader::SamplingQuestion Question(CDialog* pParent);

    int m_Which = 1; // all, every N-th, first N: a thinned list is the safe default
    unsigned m_N = 10;
};
} // namespace nebulo3d
