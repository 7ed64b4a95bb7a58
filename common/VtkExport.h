// The "Export VTK..." command every plug-in puts into its dialog's window menu: the save
// dialog, the encoding setting, the wait cursor and the message on failure. Each plug-in only
// says what it writes.
#pragma once
#include "common/VtkXmlWriter.h"
#include "platform/Profile.h"
#include "platform/Win.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDialog;

enum : UINT
{
    IDM_EXPORT_VTK = 0x0030,       // everything the plug-in holds
    IDM_EXPORT_VTK_SHOWN = 0x0040, // only what is drawn
};
inline constexpr const char* ExportVtkMenuText = "Export VTK...";
inline constexpr const char* ExportVtkShownMenuText = "Export VTK (shown only)...";
inline constexpr const char* VtkImageFilter = "VTK ImageData (*.vti)|*.vti|All Files (*.*)|*.*|";
inline constexpr const char* VtkRectilinearFilter =
    "VTK RectilinearGrid (*.vtr)|*.vtr|All Files (*.*)|*.*|";
inline constexpr const char* VtkPolyFilter = "VTK PolyData (*.vtp)|*.vtp|All Files (*.*)|*.*|";

// The export's own profile ($XDG_CONFIG_HOME/Wendrik/VtkExport.ini): one setting for every
// plug-in, since the track viewer keeps no profile of its own.
class CVtkExportSettings
{
public:
    CVtkExportSettings();
    // "Export" / "ASCII": raw binary (0, the default) unless the user asks for text (1).
    EVtkEncoding GetEncoding() const;

private:
    CProfile m_Profile;
};

// Writes the file at path; false with the reason in message. On success message may hold a
// note for the user (what was left out).
using VtkWriteFunction =
    std::function<bool(const std::string& path, const CVtkXmlWriter& writer, std::string& message)>;

// Asks for the file (default extension ext), writes it and tells the user about a failure (error
// box) or a note (information box). False when cancelled or failed.
bool ExportVtkWithDialog(CDialog* pParent, const char* ext, const char* filter,
                         const VtkWriteFunction& write);

// The particle names of the types an export holds, sorted and without repeats (types 52 and 54
// are both "Xi_c_plus"), for a "type name index" array and the field that names its values.
class CVtkTypeNames
{
public:
    void Add(int type);
    // The position of the type's name; every type must have been added.
    std::int32_t Index(int type) const;
    // A String field array of the names; the table must outlive the write.
    CVtkArray Array(const std::string& name = "particle names") const;

private:
    static std::string NameOf(int type);
    std::vector<std::string> m_Names; // sorted
};
