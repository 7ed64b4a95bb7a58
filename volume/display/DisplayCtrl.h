// The legend area's control: a CDisplayWnd on a canvas with the context menu "Save", "Copy
// bitmap to clipboard", "Copy windows metafile to clipboard" (the vector copy is SVG here) and
// "Show all" (back from a zoom). CTexDisplayCtrl adds the crosshair that follows the pointer.
#pragma once
#include "volume/display/DisplayWnd.h"

#include <string>

namespace volumira3d
{
class CVolumeSettings;

// Context menu items; they arrive at the dialog as commands.
enum : int
{
    ID_DISPLAY_SAVE = 1060,
    ID_DISPLAY_COPY_BITMAP = 1061,
    ID_DISPLAY_COPY_METAFILE = 1062,
    ID_DISPLAY_SHOW_ALL = 1063,
};

extern const char* const ImageFileFilter;

class CDisplayCtrl
{
public:
    virtual ~CDisplayCtrl() = default;

    // Binds to canvas control id of the dialog, fills the menu and maps its commands.
    virtual void Attach(CDialog* pDlg, int id, CVolumeSettings* pSettings);
    CDisplayWnd& Wnd() { return m_Wnd; }
    const CDisplayWnd& Wnd() const { return m_Wnd; }

    // The picture as a 24-bit bitmap file; false with a message.
    bool SaveBitmap(const std::string& path, std::string& error) const;
    // Asks for a file (folder remembered under "Volumix3DPath" / "Image") and saves; a failure
    // is shown in a message box.
    void OnSave();
    void OnCopyBitmap() const;
    void OnCopyMetafile() const;
    void OnShowAll();

protected:
    CDisplayWnd m_Wnd;
    CDialog* m_pDlg = nullptr;
    CVolumeSettings* m_pSettings = nullptr;
};

class CTexDisplayCtrl : public CDisplayCtrl
{
public:
    void Attach(CDialog* pDlg, int id, CVolumeSettings* pSettings) override;
};
} // namespace volumira3d
