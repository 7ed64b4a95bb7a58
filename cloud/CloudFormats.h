// The file formats of the cloud viewer, declared once: the open dialog's filter, the choice of
// reader by a file's name and the reader itself come from this table.
#pragma once
#include "cloud/ParticleDataReader.h"

class CDialog;

#include <memory>
#include <span>
#include <string>

namespace nebulo3d
{
struct CCloudFormat
{
    const char* m_Name;
    // The open dialog's entries, "Text|*.ext|" each.
    const char* m_Filter;
    // Lower-case name endings this format is chosen by ("" for a name without extension);
    // none for the format every other name gets.
    std::span<const char* const> m_Endings;
    // The reader; one that asks questions asks them over pParent (none when null).
    std::unique_ptr<CParticleDataReader> (*m_Make)(CDialog* pParent);
};

std::span<const CCloudFormat> CloudFormats();
// By the end of the name, without regard to case: the table's first format that claims it,
// else the own format.
const CCloudFormat& CloudFormatOf(const std::string& path);
// Every format's entries and "All Files (*.*)|*.*|".
std::string CloudFileFilter();
} // namespace nebulo3d
