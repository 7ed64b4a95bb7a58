// A push button showing a colour swatch and an arrow; a click drops a popup of 40 named colours
// with a "More colors..." box that opens the colour dialog. The parent dialog is told what
// happens through messages carrying the colour (first) and the picker's control id (second).
#pragma once
#include "platform/Controls.h"
#include "platform/UiServices.h"

#include <array>
#include <string>

enum : UINT
{
    CPN_SELCHANGE = 2025,    // live tracking, and at the end when the colour changed
    CPN_DROPDOWN = 2026,     // the popup opened
    CPN_CLOSEUP = 2027,      // the popup closed (always, before 2028 or 2029)
    CPN_SELENDOK = 2028,     // the selection ended with a choice
    CPN_SELENDCANCEL = 2029, // the selection was cancelled
};

class CColorPopup
{
public:
    static constexpr int NrColors = 40;
    static constexpr int Columns = 8;
    static const std::array<CNamedColor, NrColors>& Colors();

    CColorPopup(CDialog& owner, int ctrlId, std::string customText)
        : m_Owner(owner), m_CtrlId(ctrlId), m_CustomText(std::move(customText))
    {
    }
    // Shows the popup; true with the chosen colour, false when cancelled. onHover sees every
    // colour the pointer passes over.
    bool Track(COLORREF current, COLORREF& chosen, const std::function<void(COLORREF)>& onHover);

private:
    CDialog& m_Owner;
    int m_CtrlId;
    std::string m_CustomText;
};

class CColorPicker : public CWnd
{
public:
    CColorPicker() = default;
    // Binds the picker to its control and takes over the control's clicks.
    void Attach(CDialog* pDlg, int id);
    COLORREF GetColor() const;
    void SetColor(COLORREF color);
    const std::string& GetDefaultText() const { return m_DefaultText; }
    const std::string& GetCustomText() const { return m_CustomText; }

private:
    void OnClicked();
    void Notify(UINT message, COLORREF color) const;

    std::string m_DefaultText;
    std::string m_CustomText = "More colors...";
};
