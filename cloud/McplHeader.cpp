#include "cloud/McplHeader.h"

#include <cmath>
#include <cstring>

namespace nebulo3d
{
namespace
{
// Little-endian fields from a stream, each checked against what is left of the file.
class CFieldReader
{
public:
    CFieldReader(std::istream& in, std::uint64_t bytes) : m_In(in), m_Left(bytes) {}

    bool Bytes(void* out, std::uint64_t n)
    {
        if (n > m_Left || !m_In.read(static_cast<char*>(out), std::streamsize(n))) return false;
        m_Left -= n;
        return true;
    }
    template <class T> bool Value(T& value) { return Bytes(&value, sizeof value); }
    bool Skip(std::uint64_t n)
    {
        if (n > m_Left || !m_In.seekg(std::streamoff(n), std::ios::cur)) return false;
        m_Left -= n;
        return true;
    }
    // A length-prefixed string; kept when out is given.
    bool String(std::string* out)
    {
        std::uint32_t length = 0;
        if (!Value(length) || length > m_Left) return false;
        if (!out) return Skip(length);
        out->resize(length);
        return Bytes(out->data(), length);
    }
    std::uint64_t Left() const { return m_Left; }

private:
    std::istream& m_In;
    std::uint64_t m_Left;
};
} // namespace

bool CMcplHeader::Read(std::istream& in, std::uint64_t fileBytes, std::string& error)
{
    CFieldReader f(in, fileBytes);
    char magic[8];
    if (!f.Bytes(magic, sizeof magic) || std::memcmp(magic, "MCPL", 4) != 0)
    {
        error = "not an MCPL file (no \"MCPL\" at its start)";
        return false;
    }
    if (std::memcmp(magic + 4, "003", 3) != 0)
    {
        error = "MCPL format version " + std::string(magic + 4, 3) + " is not read (only 003)";
        return false;
    }
    if (magic[7] != 'L')
    {
        error = "a big-endian MCPL file is not read on this machine";
        return false;
    }
    std::uint32_t comments = 0, blobs = 0, flags[3] = {}, universalWeight = 0;
    const bool fixed = f.Value(m_Particles) && f.Value(comments) && f.Value(blobs) &&
                       f.Value(flags) && f.Value(m_UniversalPdg) && f.Value(m_ParticleBytes) &&
                       f.Value(universalWeight) && (!universalWeight || f.Value(m_Weight));
    if (!fixed)
    {
        error = "the header ends before its fixed fields";
        return false;
    }
    for (std::uint32_t flag : {flags[0], flags[1], flags[2], universalWeight})
        if (flag > 1)
        {
            error = "a header flag holds " + std::to_string(flag) + " where 0 or 1 belongs";
            return false;
        }
    // The library takes a common weight of 0 for none and then misreads every particle.
    if (universalWeight && !(std::isfinite(m_Weight) && m_Weight != 0))
    {
        error = "the header's common weight of every particle is 0 or no finite number";
        return false;
    }
    m_UserFlags = flags[0] != 0;
    m_Polarisation = flags[1] != 0;
    m_DoublePrecision = flags[2] == 0;
    m_UniversalWeight = universalWeight != 0;
    // Every string takes at least its 4-byte length: counts beyond that cannot be true.
    if (std::uint64_t(comments) + 2 * std::uint64_t(blobs) > f.Left() / 4)
    {
        error = "the header announces " + std::to_string(comments) + " comments and " +
                std::to_string(blobs) + " data blobs, more than the file can hold";
        return false;
    }
    bool strings = f.String(&m_Source);
    for (std::uint32_t i = 0; strings && i < comments + 2 * blobs; ++i)
        strings = f.String(nullptr);
    if (!strings)
    {
        error = "a header text runs past the end of the file";
        return false;
    }
    if (m_ParticleBytes != ExpectedParticleBytes())
    {
        error = "the header gives " + std::to_string(m_ParticleBytes) +
                " bytes per particle where its flags make " +
                std::to_string(ExpectedParticleBytes());
        return false;
    }
    m_HeaderBytes = fileBytes - f.Left();
    return true;
}

std::uint64_t CMcplHeader::ParticlesInFile(std::uint64_t fileBytes) const
{
    if (m_ParticleBytes == 0 || fileBytes < m_HeaderBytes) return 0;
    return (fileBytes - m_HeaderBytes) / m_ParticleBytes;
}

std::uint32_t CMcplHeader::ExpectedParticleBytes() const
{
    const std::uint32_t fp = m_DoublePrecision ? 8 : 4;
    // Position, packed direction with the energy, time: seven numbers in every layout.
    std::uint32_t bytes = 7 * fp;
    if (m_Polarisation) bytes += 3 * fp;
    if (!m_UniversalWeight) bytes += fp;
    if (m_UniversalPdg == 0) bytes += 4;
    if (m_UserFlags) bytes += 4;
    return bytes;
}
} // namespace nebulo3d
