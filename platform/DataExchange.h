// Data exchange between dialog members and controls, with the framework's parse and range
// messages. A failed validation shows its message, and UpdateData returns FALSE.
#pragma once
#include "platform/Win.h"

#include <string>

class CDialog;
class CWnd;

class CDataExchange
{
public:
    CDataExchange(CDialog* pDlg, BOOL bSaveAndValidate)
        : m_SaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlg)
    {
    }
    void PrepareCtrl(int nIDC) { m_idLastControl = nIDC; }
    // Ends the exchange; the message has already been shown.
    [[noreturn]] void Fail();

    BOOL m_SaveAndValidate;
    CDialog* m_pDlgWnd;
    int m_idLastControl = 0;
};

// Thrown by Fail and caught by UpdateData; never leaves the dialog layer.
struct CUserException
{
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, unsigned& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Check(CDataExchange* pDX, int nIDC, bool& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, unsigned value, unsigned minVal, unsigned maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);
