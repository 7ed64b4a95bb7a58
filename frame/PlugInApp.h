// The application object every plug-in library holds exactly one of: it puts the button into the
// host toolbar, creates the main dialog, checks the host's interface version and shows the
// dialog on the plug-in's command. The nine exports forward to it.
#pragma once
#include "frame/HostApi.h"
#include "platform/Dialog.h"
#include "platform/Profile.h"

#include <map>
#include <memory>
#include <string>

// What the host asks of a file it opens beside the defaults: "key=value" lines.
class CFileOpenOptions
{
public:
    explicit CFileOpenOptions(const std::string& text);
    // The value of a key; empty when it is not given.
    std::string Get(const std::string& key) const;

private:
    std::map<std::string, std::string> m_Values;
};

class CPlugInApp
{
public:
    struct CIdentity
    {
        int m_CommandId;
        std::string m_ButtonCaption;
        std::string m_DisplayName;
        std::string m_IconName;
        std::string m_ProfileName; // empty: the plug-in keeps no settings
    };

    static constexpr double MinInterfaceVersion = 2.3;
    static constexpr const char* CompanyKey = "Wendrik";

    explicit CPlugInApp(CIdentity identity);
    virtual ~CPlugInApp();
    CPlugInApp(const CPlugInApp&) = delete;
    CPlugInApp& operator=(const CPlugInApp&) = delete;

    // The exports.
    int InitPlugIn(CHostToolbar* pToolbar, CHostInterface* pHost);
    void DestroyPlugIn();
    void GetPlugInName(std::string& name) const { name = m_Identity.m_DisplayName; }
    void GetPlugInResources(std::string& iconName) const { iconName = m_Identity.m_IconName; }
    bool PlugInEventHandler(int id, int code, void* pExtra, void* pHandlerInfo);
    virtual void OnRender(HDC dc, HGLRC rc, int pass, int mode) = 0;
    virtual void OnPostRender(HDC dc, HGLRC rc, int pass, int mode) = 0;
    virtual void Box(CVector& min, CVector& max) = 0;
    virtual std::ostream& ExportVRML(std::ostream& os) { return os; }
    // The optional file export (PFN_OpenFile): once the main dialog exists, the claim when
    // probing, else the claimed file opened by OpenClaimedFile; 0 for a file not claimed.
    int OpenFile(const std::string& path, bool probe, const CFileOpenOptions& options,
                 std::string& message);
    // How surely the plug-in reads a file: 2 by its content, 1 by its name, 0 not (the default:
    // a plug-in that opens no files for the host).
    virtual int ClaimFile(const std::string& /*path*/) const { return 0; }
    // Reads a claimed file with the defaults of its dialogs and shows it: 1, or -1 with the
    // reason in message.
    virtual int OpenClaimedFile(const std::string& /*path*/, const CFileOpenOptions& /*options*/,
                                std::string& /*message*/)
    {
        return -1;
    }
    virtual std::string FileFormats() const { return ""; }

    const CIdentity& Identity() const { return m_Identity; }
    CProfile& Profile() { return m_Profile; }
    CHostInterface* HostInterface() const { return m_pHostInterface; }
    CDialog* MainDialog() const { return m_pMainDlg.get(); }
    int ButtonIndex() const { return m_ButtonIndex; }

protected:
    // Start-up, once before the first InitPlugIn: the settings key is set here.
    virtual bool InitInstance();
    // Constructs the main dialog and creates it from its template, hidden.
    virtual std::unique_ptr<CDialog> CreateMainDialog(CHostInterface* pHost) = 0;
    // Command routing for the plug-in's own command id: shows the main dialog.
    virtual BOOL OnCmdMsg(int id, int code, void* pExtra, void* pHandlerInfo);

private:
    CIdentity m_Identity;
    CHostToolbar* m_pToolbar = nullptr;
    CHostInterface* m_pHostInterface = nullptr;
    std::unique_ptr<CDialog> m_pMainDlg;
    std::unique_ptr<CToolbarButton> m_pButton;
    int m_ButtonIndex = -1;
    CProfile m_Profile;
    bool m_Started = false;
};

// Defined once by each plug-in: its one application object.
CPlugInApp& AfxGetPlugInApp();
