#include "geometry/GeometryFormats.h"

#include "common/FileSystem.h"
#include "geometry/FlukaGeometryReader.h"
#include "geometry/McnpGeometryReader.h"
#include "geometry/PhitsInput.h"

#include <fstream>

namespace
{
constexpr size_t HeadBytes = 1 << 20;

// A reader class with Read, Errors and Notes as the table's reading function.
template <typename TReader>
bool ReadWith(const std::string& path, CGeometry& geometry, std::vector<std::string>& errors,
              std::vector<std::string>& notes)
{
    TReader reader;
    const bool ok = reader.Read(path, geometry);
    errors = reader.Errors();
    notes = reader.Notes();
    return ok;
}

std::string Head(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string head(HeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return head;
}
} // namespace

const std::vector<CGeometryFormat>& GeometryFormats()
{
    static const std::vector<CGeometryFormat> formats = {
        {"FLUKA input", "FLUKA input (*.inp)|*.inp", LooksLikeFlukaInput,
         ReadWith<CFlukaGeometryReader>},
        {"PHITS input", "PHITS input (*.inp)|*.inp", LooksLikePhitsInput, ReadPhitsGeometry},
        {"MCNP input", "MCNP input (*.i;*.inp;*.mcnp)|*.i;*.inp;*.mcnp", LooksLikeMcnpInput,
         ReadWith<CMcnpGeometryReader>},
    };
    return formats;
}

bool ReadGeometry(const std::string& path, CGeometry& geometry, std::vector<std::string>& errors,
                  std::vector<std::string>& notes)
{
    errors.clear();
    notes.clear();
    if (!IsRegularFile(path))
    {
        errors.push_back("The file " + path + " cannot be opened.");
        return false;
    }
    const std::string head = Head(path);
    std::string tried;
    for (const CGeometryFormat& format : GeometryFormats())
    {
        if (format.m_Recognise(head)) return format.m_Read(path, geometry, errors, notes);
        tried += (tried.empty() ? "" : ", ") + std::string(format.m_Name);
    }
    errors.push_back("The file " + path +
                     " is not a geometry input that is read here (tried: " + tried + ").");
    return false;
}
