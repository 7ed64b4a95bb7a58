// "Log window": shows a report text and saves it, dated, to a result file.
#pragma once
#include "platform/Dialog.h"

#include <ctime>
#include <string>

class CProfile;

namespace isodump
{
enum : int
{
    IDD_LOG = 2101,
    IDC_LOG_TEXT = 1000,
    IDC_LOG_SAVE = 1001,
};

// The saved file: "# Date : d.m.yyyy", "# Time: h:m:s" (UTC, no leading zeros), the text, a
// line end. False when the file cannot be written completely.
bool WriteResultFile(const std::string& path, const std::string& text, const std::tm& utc);

class CLogDlg : public CDialog
{
public:
    // The profile keeps the result folder ("Result", "ResultPath"); it may be null.
    CLogDlg(std::string text, CProfile* pProfile, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    const std::string& Text() const { return m_Text; }

private:
    void OnSave();

    std::string m_Text;
    CProfile* m_pProfile;
};
} // namespace isodump
