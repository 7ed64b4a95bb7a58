#include "volume/display/DisplayCtrl.h"

#include "platform/Clipboard.h"
#include "platform/UiServices.h"
#include "volume/display/DIB.h"
#include "volume/model/VolumeSettings.h"

namespace volumira3d
{
const char* const ImageFileFilter = "Image (*.bmp)|*.bmp|All Files (*.*)|*.*|";

void CDisplayCtrl::Attach(CDialog* pDlg, int id, CVolumeSettings* pSettings)
{
    m_pDlg = pDlg;
    m_pSettings = pSettings;
    m_Wnd.Attach(pDlg, id);
    CCanvas canvas(pDlg, id);
    canvas.AppendMenuItem(ID_DISPLAY_SAVE, "Save");
    canvas.AppendMenuItem(ID_DISPLAY_COPY_BITMAP, "Copy bitmap to clipboard");
    canvas.AppendMenuItem(ID_DISPLAY_COPY_METAFILE, "Copy windows metafile to clipboard");
    canvas.AppendMenuItem(ID_DISPLAY_SHOW_ALL, "Show all");
    pDlg->MapCommand(ID_DISPLAY_SAVE, BN_CLICKED, [this] { OnSave(); });
    pDlg->MapCommand(ID_DISPLAY_COPY_BITMAP, BN_CLICKED, [this] { OnCopyBitmap(); });
    pDlg->MapCommand(ID_DISPLAY_COPY_METAFILE, BN_CLICKED, [this] { OnCopyMetafile(); });
    pDlg->MapCommand(ID_DISPLAY_SHOW_ALL, BN_CLICKED, [this] { OnShowAll(); });
}

bool CDisplayCtrl::SaveBitmap(const std::string& path, std::string& error) const
{
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = m_Wnd.CaptureRgb(width, height);
    // Captures are 24-bit, a depth the bitmap class always takes.
    CDIB dib;
    if (!dib.FromRgb(width, height, rgb))
    {
        error = "The legend image could not be made.";
        return false;
    }
    return dib.Write(path, error);
}

void CDisplayCtrl::OnSave()
{
    CFileDialog dlg(FALSE, "*.bmp", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    ImageFileFilter, m_pDlg);
    if (m_pSettings) dlg.SetInitialDir(m_pSettings->GetPath(CVolumeSettings::EPath::Image));
    if (dlg.DoModal() != IDOK) return;
    if (m_pSettings) m_pSettings->SetPath(CVolumeSettings::EPath::Image, dlg.GetFolderPath());
    std::string error;
    if (!SaveBitmap(dlg.GetPathName(), error)) AfxMessageBox(error, MB_ICONERROR);
}

void CDisplayCtrl::OnCopyBitmap() const
{
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = m_Wnd.CaptureRgb(width, height);
    ClipboardSetBitmap(width, height, rgb);
}

void CDisplayCtrl::OnCopyMetafile() const
{
    ClipboardSetSvg(m_Wnd.CaptureSvg());
}

void CDisplayCtrl::OnShowAll()
{
    m_Wnd.SetWindow(m_Wnd.Extent());
    m_Wnd.Redraw();
}

void CTexDisplayCtrl::Attach(CDialog* pDlg, int id, CVolumeSettings* pSettings)
{
    CDisplayCtrl::Attach(pDlg, id, pSettings);
    m_Wnd.ShowCrosshair(true);
}
} // namespace volumira3d
