#include "platform/UiServices.h"

#include "platform/Dialog.h"
#include "platform/HeadlessBackend.h"
#include "platform/ScriptedAnswers.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <filesystem>

namespace
{
CUiBackend* g_pBackend = nullptr;
std::string g_AppName = "Tessaron";
} // namespace

void DeliverTicksInOrder(int count, const std::function<TimerList()>& running)
{
    for (int i = 0; i < count; ++i)
    {
        const TimerList round = running();
        for (const auto& timer : round)
        {
            const TimerList now = running();
            if (std::find(now.begin(), now.end(), timer) != now.end())
                timer.first->OnTimer(timer.second);
        }
    }
}

CUiBackend& UiBackend()
{
    return g_pBackend ? *g_pBackend : CHeadlessBackend::Instance();
}
void SetUiBackend(CUiBackend* pBackend)
{
    g_pBackend = pBackend;
}

void AfxSetAppName(const std::string& name)
{
    g_AppName = name;
}
const std::string& AfxGetAppName()
{
    return g_AppName;
}

UINT CUiBackend::PopupMenu(CDialog*, int, const std::vector<CPopupMenuItem>&)
{
    return CScriptedAnswers::Instance().TakeMenuChoice().value_or(0);
}

UINT TrackPopupMenu(CDialog* pOwner, int nCtrlId, const std::vector<CPopupMenuItem>& items)
{
    const UINT chosen = UiBackend().PopupMenu(pOwner, nCtrlId, items);
    const bool offered =
        std::any_of(items.begin(), items.end(),
                    [&](const CPopupMenuItem& item) { return item.m_Id == chosen; });
    return offered ? chosen : 0;
}

int AfxMessageBox(const std::string& text, UINT nType)
{
    return UiBackend().MessageBox(nullptr, text, g_AppName, nType);
}

const char* MessageIconName(UINT nType)
{
    switch (nType & MB_ICONMASK)
    {
    case MB_ICONERROR:
        return "error";
    case MB_ICONQUESTION:
        return "question";
    case MB_ICONWARNING:
        return "warning";
    case MB_ICONINFORMATION:
        return "information";
    default:
        return "none";
    }
}

std::string Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    va_end(args);
    return out;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CDialog* pParentWnd)
    : m_pParent(pParentWnd)
{
    m_Request.m_Open = bOpenFileDialog != FALSE;
    m_Request.m_DefExt = lpszDefExt ? lpszDefExt : "";
    m_Request.m_FileName = lpszFileName ? lpszFileName : "";
    m_Request.m_Flags = dwFlags;
    m_Request.m_Filter = lpszFilter ? lpszFilter : "";
}

INT_PTR CFileDialog::DoModal()
{
    return UiBackend().FileDialog(m_pParent, m_Request) ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetFileName() const
{
    return std::filesystem::path(m_Request.m_Result).filename().string();
}

std::string CFileDialog::GetFileExt() const
{
    const std::string ext = std::filesystem::path(m_Request.m_Result).extension().string();
    return ext.empty() ? ext : ext.substr(1);
}

std::string CFileDialog::GetFolderPath() const
{
    return std::filesystem::path(m_Request.m_Result).parent_path().string();
}

INT_PTR CColorDialog::DoModal()
{
    return UiBackend().ColorDialog(m_pParent, m_Color, m_Flags) ? IDOK : IDCANCEL;
}

CWaitCursor::CWaitCursor()
{
    UiBackend().BeginWaitCursor();
}
CWaitCursor::~CWaitCursor()
{
    End();
}
void CWaitCursor::End()
{
    if (!m_Active) return;
    m_Active = false;
    UiBackend().EndWaitCursor();
}
