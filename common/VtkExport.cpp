#include "common/VtkExport.h"

#include "platform/Profile.h"
#include "platform/UiServices.h"

EVtkEncoding VtkEncodingSetting()
{
    CProfile profile;
    profile.SetRegistryKey("Wendrik");
    profile.SetAppName("VtkExport");
    return profile.GetProfileInt("Export", "ASCII", 0) ? EVtkEncoding::Ascii
                                                       : EVtkEncoding::AppendedRaw;
}

bool ExportVtkWithDialog(CDialog* pParent, const char* ext, const char* filter,
                         const VtkWriteFunction& write)
{
    CFileDialog dlg(FALSE, ext, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, pParent);
    if (dlg.DoModal() != IDOK) return false;
    const CVtkXmlWriter writer(VtkEncodingSetting());
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
