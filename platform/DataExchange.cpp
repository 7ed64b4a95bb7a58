#include "platform/DataExchange.h"

#include "platform/Controls.h"
#include "platform/UiServices.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdlib>

void CDataExchange::Fail()
{
    throw CUserException{};
}

namespace
{
bool OnlyBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p == '\0';
}

[[noreturn]] void FailWith(CDataExchange* pDX, const std::string& message)
{
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

// Leading blanks, a number, trailing blanks: the framework's own scan rules.
bool ParseLong(const std::string& text, long& value)
{
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && errno == 0 && OnlyBlanks(end);
}

bool ParseDouble(const std::string& text, double& value)
{
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && errno != ERANGE && OnlyBlanks(end);
}

template <class T> void TextInteger(CDataExchange* pDX, int nIDC, T& value, long lo, long hi)
{
    pDX->PrepareCtrl(nIDC);
    if (!pDX->m_SaveAndValidate)
    {
        pDX->m_pDlgWnd->SetDlgItemText(nIDC, std::to_string(value));
        return;
    }
    long parsed = 0;
    if (!ParseLong(pDX->m_pDlgWnd->GetDlgItemText(nIDC), parsed) || parsed < lo || parsed > hi)
        FailWith(pDX, "Please enter an integer.");
    value = static_cast<T>(parsed);
}

template <class T> void TextReal(CDataExchange* pDX, int nIDC, T& value, int digits)
{
    pDX->PrepareCtrl(nIDC);
    if (!pDX->m_SaveAndValidate)
    {
        pDX->m_pDlgWnd->SetDlgItemText(nIDC, Format("%.*g", digits, static_cast<double>(value)));
        return;
    }
    double parsed = 0;
    if (!ParseDouble(pDX->m_pDlgWnd->GetDlgItemText(nIDC), parsed))
        FailWith(pDX, "Please enter a number.");
    value = static_cast<T>(parsed);
}

template <class T> void MinMax(CDataExchange* pDX, T value, T lo, T hi, const std::string& range)
{
    if (!pDX->m_SaveAndValidate || (lo <= value && value <= hi)) return;
    FailWith(pDX, range);
}
} // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.IsAttached()) rControl.Attach(pDX->m_pDlgWnd, nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    pDX->PrepareCtrl(nIDC);
    if (pDX->m_SaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(nIDC);
    else
        pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextInteger(pDX, nIDC, value, INT_MIN, INT_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextInteger(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, unsigned& value)
{
    TextInteger(pDX, nIDC, value, 0, UINT_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    TextReal(pDX, nIDC, value, DBL_DIG);
}
void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    TextReal(pDX, nIDC, value, FLT_DIG);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    pDX->PrepareCtrl(nIDC);
    if (pDX->m_SaveAndValidate)
        value = pDX->m_pDlgWnd->IsDlgButtonChecked(nIDC);
    else
        pDX->m_pDlgWnd->CheckDlgButton(nIDC, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, bool& value)
{
    int check = value ? 1 : 0;
    DDX_Check(pDX, nIDC, check);
    value = check != 0;
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    pDX->PrepareCtrl(nIDC);
    CComboBox combo(pDX->m_pDlgWnd, nIDC);
    if (pDX->m_SaveAndValidate)
        index = combo.GetCurSel();
    else
        combo.SetCurSel(index);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    pDX->PrepareCtrl(nIDC);
    CListBox list(pDX->m_pDlgWnd, nIDC);
    if (pDX->m_SaveAndValidate)
        index = list.GetCurSel();
    else
        list.SetCurSel(index);
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value)
{
    pDX->PrepareCtrl(nIDC);
    CSliderCtrl slider(pDX->m_pDlgWnd, nIDC);
    if (pDX->m_SaveAndValidate)
        value = slider.GetPos();
    else
        slider.SetPos(value);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    MinMax(pDX, value, minVal, maxVal,
           Format("Please enter an integer between %d and %d.", minVal, maxVal));
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    MinMax(pDX, value, minVal, maxVal,
           Format("Please enter an integer between %ld and %ld.", minVal, maxVal));
}

void DDV_MinMaxUInt(CDataExchange* pDX, unsigned value, unsigned minVal, unsigned maxVal)
{
    MinMax(pDX, value, minVal, maxVal,
           Format("Please enter an integer between %u and %u.", minVal, maxVal));
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal)
{
    MinMax(
        pDX, value, minVal, maxVal,
        Format("Please enter a number between %.*g and %.*g.", DBL_DIG, minVal, DBL_DIG, maxVal));
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal)
{
    MinMax(pDX, value, minVal, maxVal,
           Format("Please enter a number between %.*g and %.*g.", FLT_DIG, double(minVal), FLT_DIG,
                  double(maxVal)));
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars)
{
    if (pDX->m_SaveAndValidate && static_cast<int>(value.size()) > nChars)
        FailWith(pDX, Format("Please enter no more than %d characters.", nChars));
}
