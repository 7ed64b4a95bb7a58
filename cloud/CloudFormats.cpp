#include "cloud/CloudFormats.h"

#include "cloud/IsodumpReader.h"
#include "cloud/MCNPXReader.h"
#include "cloud/McplReader.h"
#include "cloud/McplSamplingDlg.h"
#include "common/TextCase.h"
#include "isodump/PointCloudDlg.h"

#include <algorithm>
#include <cctype>

namespace nebulo3d
{
namespace
{
template <class TReader> std::unique_ptr<CParticleDataReader> Make(CDialog*)
{
    return std::make_unique<TReader>();
}

std::unique_ptr<CParticleDataReader> MakeMcpl(CDialog* pParent)
{
    auto reader = std::make_unique<CMcplReader>();
    if (pParent) reader->SetSamplingQuestion(CMcplSamplingDlg::Question(pParent));
    return reader;
}

constexpr const char* McnpxEndings[] = {"", "mout"};
constexpr const char* IsodumpEndings[] = {"out"};
constexpr const char* McplEndings[] = {"mcpl", "mcpl.gz"};

const CCloudFormat Formats[] = {
    {"Nebulo3D", "Nebulo3D (*.dat)|*.dat|", {}, Make<CParticleDataReader>},
    {"MCNPX table 110", "MCNPX (*.mout)|*.mout|MCNPX (*.*)|*.*|", McnpxEndings, Make<CMCNPXReader>},
    {"FLUKA isodump", "FLUKA isodump (*.out)|*.out|", IsodumpEndings, Make<CIsodumpReader>},
    {"MCPL", "MCPL particle lists (*.mcpl;*.mcpl.gz)|*.mcpl;*.mcpl.gz|", McplEndings, MakeMcpl},
};

bool Claims(const CCloudFormat& format, const std::string& path, const std::string& extension)
{
    const std::string name = LowerCase(path);
    return std::any_of(format.m_Endings.begin(), format.m_Endings.end(),
                       [&](std::string_view ending)
                       {
                           if (ending.empty()) return extension.empty();
                           const size_t n = ending.size();
                           return name.size() > n + 1 && name.ends_with(ending) &&
                                  name[name.size() - n - 1] == '.';
                       });
}
} // namespace

std::span<const CCloudFormat> CloudFormats()
{
    return Formats;
}

const CCloudFormat& CloudFormatOf(const std::string& path)
{
    const std::string extension = isodump::LowerExtension(path);
    for (const CCloudFormat& format : Formats)
        if (Claims(format, path, extension)) return format;
    return Formats[0];
}

std::string CloudFileFilter()
{
    std::string filter;
    for (const CCloudFormat& format : Formats)
        filter += format.m_Filter;
    return filter + "All Files (*.*)|*.*|";
}
} // namespace nebulo3d
