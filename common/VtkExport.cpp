#include "common/VtkExport.h"

#include "common/ParticleNames.h"
#include "platform/UiServices.h"

#include <algorithm>

namespace
{
constexpr const char* ExportSection = "Export";
constexpr const char* AsciiKey = "ASCII";
} // namespace

CVtkExportSettings::CVtkExportSettings()
{
    m_Profile.SetRegistryKey("Wendrik");
    m_Profile.SetAppName("VtkExport");
}

EVtkEncoding CVtkExportSettings::GetEncoding() const
{
    return m_Profile.GetProfileInt(ExportSection, AsciiKey, 0) ? EVtkEncoding::Ascii
                                                               : EVtkEncoding::AppendedRaw;
}

bool ExportVtkWithDialog(CDialog* pParent, const char* ext, const char* filter,
                         const VtkWriteFunction& write)
{
    CFileDialog dlg(FALSE, ext, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, pParent);
    if (dlg.DoModal() != IDOK) return false;
    const CVtkXmlWriter writer(CVtkExportSettings().GetEncoding());
    std::string message;
    bool ok;
    {
        CWaitCursor wait;
        ok = write(dlg.GetPathName(), writer, message);
    }
    if (!ok)
        AfxMessageBox(message, MB_ICONERROR);
    else if (!message.empty())
        AfxMessageBox(message, MB_ICONINFORMATION);
    return ok;
}

std::string CVtkTypeNames::NameOf(int type)
{
    const char* name = particles::ParticleName(type);
    // Unnamed codes ("---") would otherwise share one name.
    return name && std::string(name) != "---" ? name : "type " + std::to_string(type);
}

void CVtkTypeNames::Add(int type)
{
    const std::string name = NameOf(type);
    auto at = std::lower_bound(m_Names.begin(), m_Names.end(), name);
    if (at == m_Names.end() || *at != name) m_Names.insert(at, name);
}

std::int32_t CVtkTypeNames::Index(int type) const
{
    const std::string name = NameOf(type);
    return std::int32_t(std::lower_bound(m_Names.begin(), m_Names.end(), name) - m_Names.begin());
}

CVtkArray CVtkTypeNames::Array(const std::string& name) const
{
    return {name, EVtkScalar::String, 1, m_Names.size(),
            [this](CVtkSink& sink)
            {
                for (const std::string& text : m_Names)
                    sink.Put(text);
            }};
}
