#include "platform/DialogTemplate.h"

const char* CtrlKindName(ECtrlKind kind)
{
    switch (kind)
    {
    case ECtrlKind::Static:
        return "static";
    case ECtrlKind::GroupBox:
        return "group";
    case ECtrlKind::Edit:
        return "edit";
    case ECtrlKind::Button:
        return "button";
    case ECtrlKind::CheckBox:
        return "check";
    case ECtrlKind::Radio:
        return "radio";
    case ECtrlKind::ListBox:
        return "list";
    case ECtrlKind::CheckListBox:
        return "checklist";
    case ECtrlKind::ComboBox:
        return "combo";
    case ECtrlKind::Slider:
        return "slider";
    case ECtrlKind::Progress:
        return "progress";
    case ECtrlKind::ListView:
        return "listview";
    case ECtrlKind::Custom:
        return "custom";
    }
    return "?";
}

std::string CCtrlTemplate::KindName() const
{
    return m_Kind == ECtrlKind::Custom ? m_Class : CtrlKindName(m_Kind);
}

CDlgTemplate CDlgTemplate::Dialog(int id, std::string caption, int width, int height)
{
    CDlgTemplate d;
    d.m_Id = id;
    d.m_Caption = std::move(caption);
    d.m_Width = width;
    d.m_Height = height;
    return d;
}

CDlgTemplate& CDlgTemplate::Add(ECtrlKind kind, int id, std::string text, int x, int y, int w,
                                int h, unsigned style)
{
    m_Controls.push_back({id, kind, std::move(text), {x, y, x + w, y + h}, style, {}});
    return *this;
}

CDlgTemplate& CDlgTemplate::Label(std::string text, int x, int y, int w, int h, unsigned style)
{
    return Add(ECtrlKind::Static, -1, std::move(text), x, y, w, h, style);
}

CDlgTemplate& CDlgTemplate::Custom(const char* className, int id, int x, int y, int w, int h,
                                   unsigned style)
{
    Add(ECtrlKind::Custom, id, {}, x, y, w, h, style);
    m_Controls.back().m_Class = className;
    return *this;
}

const CCtrlTemplate* CDlgTemplate::Find(int id) const
{
    for (const auto& c : m_Controls)
        if (c.m_Id == id) return &c;
    return nullptr;
}
