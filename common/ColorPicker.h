// A push button showing a colour swatch and an arrow; a click drops a popup of 40 named colours
// with a "More colors..." box that opens the colour dialog. The parent dialog is told what
// happens through messages carrying the colour (first) and the picker's control id (second).
// The picker is a control kind ("ColorPicker"): the colour is its state, and how its popup is
// shown belongs to it: headless, the next colour queued by the batch verb "pick ID R G B"; in a
// window, the popup of common/wx. The host registers the kind at start-up (RegisterColorPicker),
// so that plug-ins, which carry their own copy of this code, share the host's kind and queue.
#pragma once
#include "platform/ControlKind.h"
#include "platform/Controls.h"
#include "platform/UiServices.h"

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

enum : UINT
{
    CPN_SELCHANGE = 2025,    // live tracking, and at the end when the colour changed
    CPN_DROPDOWN = 2026,     // the popup opened
    CPN_CLOSEUP = 2027,      // the popup closed (always, before 2028 or 2029)
    CPN_SELENDOK = 2028,     // the selection ended with a choice
    CPN_SELENDCANCEL = 2029, // the selection was cancelled
};

struct CNamedColor
{
    COLORREF m_Color;
    const char* m_Name;
};

// What a colour popup shows: named colour boxes in rows, a box for the colour dialog, and a
// callback for live tracking while the pointer moves over the boxes.
struct CColorPopupRequest
{
    std::vector<CNamedColor> m_Colors;
    int m_Columns = 8;
    COLORREF m_Current = 0;
    std::string m_CustomText; // the box that opens the colour dialog ("More colors...")
    std::function<void(COLORREF)> m_OnHover;
};

enum class EPopupResult
{
    Cancelled,
    Chosen, // one of the named colours
    Custom, // the colour dialog is wanted
};

struct CColorPickerState : CControlKindState
{
    static constexpr const char* KindName = "ColorPicker";
    COLORREF m_Color = 0;
};

class CColorPickerKind : public CControlKind
{
public:
    static constexpr const char* KindName = "ColorPicker";
    // Drops the popup below control ctrlId of owner; on Chosen, color is the choice.
    using PopupRunner = std::function<EPopupResult(CDialog& owner, int ctrlId,
                                                   const CColorPopupRequest&, COLORREF& color)>;

    std::string Name() const override { return KindName; }
    std::unique_ptr<CControlKindState> NewState() const override;
    std::string Describe(const CControlState& s) const override;

    // The colour the next headless popup is left with: a named colour is chosen from the boxes
    // (passing over it first), any other through the colour dialog. Without one: cancelled.
    void QueuePick(COLORREF color) { m_Picks.push_back(color); }
    void ClearPicks() { m_Picks.clear(); }
    // A windowed host shows its own popup instead of taking queued picks.
    void SetPopupRunner(PopupRunner runner) { m_Runner = std::move(runner); }
    EPopupResult RunPopup(CDialog& owner, int ctrlId, const CColorPopupRequest& request,
                          COLORREF& color);

private:
    EPopupResult TakePick(const CColorPopupRequest& request, COLORREF& color);

    std::deque<COLORREF> m_Picks;
    PopupRunner m_Runner;
};

// The registered picker kind (registering this copy's when none is yet).
CColorPickerKind& ColorPickerKind();
// Registers the kind and the batch verb "pick ID R G B"; the host calls it at start-up.
void RegisterColorPicker();

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
    // Makes sure the kind is known before the dialog builds its controls.
    CColorPicker() { ColorPickerKind(); }
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
