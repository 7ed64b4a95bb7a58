// Dialog templates declared in code, as a resource script would declare them: a caption, a size
// and per control its id, kind, text, rectangle (dialog units) and style.
#pragma once
#include <string>
#include <vector>

enum class ECtrlKind
{
    Static, // label
    GroupBox,
    Edit,
    Button,
    CheckBox, // BS_PUSHLIKE makes it a push-like check box
    Radio,
    ListBox,
    CheckListBox, // owner-drawn list box with a check mark per item
    ComboBox,     // drop-down list
    Slider,
    Progress,
    ListView, // report view with columns and an icon per row
    Custom,   // a kind registered by name (m_Class)
};

const char* CtrlKindName(ECtrlKind kind);

// Control styles; several may be or-ed.
enum : unsigned
{
    WS_DISABLED = 1u << 0,
    WS_HIDDEN = 1u << 1,
    ES_READONLY = 1u << 2,
    ES_MULTILINE = 1u << 3,
    BS_PUSHLIKE = 1u << 4,
    BS_DEFPUSHBUTTON = 1u << 5,
    LBS_SORT = 1u << 6,
    TBS_VERT = 1u << 7,
    ES_NUMBER = 1u << 8,
    SS_RIGHT = 1u << 9,
};

struct CRect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct CCtrlTemplate
{
    int m_Id = -1; // -1: a static whose id is never addressed
    ECtrlKind m_Kind = ECtrlKind::Static;
    std::string m_Text;
    CRect m_Rect; // x, y, width, height given in dialog units, stored as a rectangle
    unsigned m_Style = 0;
    std::string m_Class; // for ECtrlKind::Custom: the name its kind is registered under

    // The name of the control's kind in the kind table (platform/ControlKind.h).
    std::string KindName() const;
};

struct CDlgTemplate
{
    int m_Id = 0;
    std::string m_Caption;
    int m_Width = 200, m_Height = 100; // dialog units
    std::vector<CCtrlTemplate> m_Controls;

    // A dialog of this id, caption and size (dialog units), ready for the controls to be added.
    static CDlgTemplate Dialog(int id, std::string caption, int width, int height);

    // Builder calls; x, y, w, h in dialog units.
    CDlgTemplate& Add(ECtrlKind kind, int id, std::string text, int x, int y, int w, int h,
                      unsigned style = 0);
    CDlgTemplate& Label(std::string text, int x, int y, int w, int h, unsigned style = 0);
    CDlgTemplate& Custom(const char* className, int id, int x, int y, int w, int h,
                         unsigned style = 0);
    const CCtrlTemplate* Find(int id) const;
};
