#include "platform/BuiltinKinds.h"

#include "platform/Dialog.h"

#include <sstream>

namespace
{
// A kind of the framework's own, named by its ECtrlKind.
class CBuiltinKind : public CControlKind
{
public:
    explicit CBuiltinKind(ECtrlKind kind) : m_Kind(kind) {}
    std::string Name() const override { return CtrlKindName(m_Kind); }
    std::string DumpName() const override { return Name(); }

protected:
    ECtrlKind m_Kind;
};

// Labels and group boxes show their text and have no value of their own.
class CLabelKind : public CBuiltinKind
{
public:
    using CBuiltinKind::CBuiltinKind;
    void DumpValue(const CControlState&, std::ostream&) const override {}
};

// Buttons show their text; edits start empty whatever the template says.
class CTextKind : public CBuiltinKind
{
public:
    using CBuiltinKind::CBuiltinKind;
    void Init(CControlState& s) const override
    {
        if (m_Kind != ECtrlKind::Edit) CControlKind::Init(s);
    }
};

class CCheckKind : public CBuiltinKind
{
public:
    using CBuiltinKind::CBuiltinKind;
    void OnClick(CControlState& s) const override
    {
        s.m_Check = m_Kind == ECtrlKind::Radio ? 1 : (s.m_Check ? 0 : 1);
    }
    std::string Describe(const CControlState& s) const override
    {
        return std::to_string(s.m_Check);
    }
};

// Sliders and progress bars: a position in a range.
class CRangeKind : public CBuiltinKind
{
public:
    using CBuiltinKind::CBuiltinKind;
    std::string Describe(const CControlState& s) const override
    {
        std::ostringstream os;
        os << s.m_Pos << " [" << s.m_Min << ".." << s.m_Max << "]";
        return os.str();
    }
};

// List boxes, check lists, drop-down lists and list views: items and a selection.
class CListKind : public CBuiltinKind
{
public:
    using CBuiltinKind::CBuiltinKind;
    void Init(CControlState&) const override {}
    bool HasItems() const override { return true; }
    int SelectionCode() const override
    {
        return m_Kind == ECtrlKind::ListView ? LVN_ITEMCHANGED : LBN_SELCHANGE;
    }
    std::string Describe(const CControlState& s) const override
    {
        std::ostringstream os;
        os << "sel " << s.m_Sel;
        if (s.m_Sel >= 0 && s.m_Sel < static_cast<int>(s.m_Items.size()))
            os << " \"" << s.m_Items[s.m_Sel].m_Text << "\"";
        return os.str();
    }
    void PrintDetails(const CControlState& s, std::ostream& out) const override
    {
        PrintItems(s, out, m_Kind == ECtrlKind::ListView);
    }
    void DumpValue(const CControlState& s, std::ostream& out) const override
    {
        out << " = " << Describe(s) << " (" << s.m_Items.size() << " items)";
    }
    void DumpDetails(const CControlState& s, std::ostream& out) const override
    {
        PrintItems(s, out, false);
    }

private:
    void PrintItems(const CControlState& s, std::ostream& out, bool icons) const
    {
        for (size_t i = 0; i < s.m_Items.size(); ++i)
        {
            const CListItem& item = s.m_Items[i];
            out << "  " << i << " ";
            if (m_Kind == ECtrlKind::CheckListBox) out << (item.m_Check ? "[x] " : "[ ] ");
            if (icons) out << "(icon " << item.m_Image << ") ";
            out << item.m_Text;
            for (const auto& sub : item.m_SubItems)
                out << " | " << sub;
            out << "\n";
        }
    }
};
} // namespace

std::vector<std::shared_ptr<CControlKind>> BuiltinKinds()
{
    using K = ECtrlKind;
    return {
        std::make_shared<CLabelKind>(K::Static),   std::make_shared<CLabelKind>(K::GroupBox),
        std::make_shared<CTextKind>(K::Edit),      std::make_shared<CTextKind>(K::Button),
        std::make_shared<CCheckKind>(K::CheckBox), std::make_shared<CCheckKind>(K::Radio),
        std::make_shared<CListKind>(K::ListBox),   std::make_shared<CListKind>(K::CheckListBox),
        std::make_shared<CListKind>(K::ComboBox),  std::make_shared<CRangeKind>(K::Slider),
        std::make_shared<CRangeKind>(K::Progress), std::make_shared<CListKind>(K::ListView),
    };
}
