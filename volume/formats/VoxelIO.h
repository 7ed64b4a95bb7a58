// The reader family of the text formats: an abstract geometry interface, the text-file policy
// (records in file order, read and written through their extraction and insertion), and the
// storage object a load operation creates on a file name.
#pragma once
#include "volume/formats/Records.h"
#include "volume/formats/TextScanner.h"

#include <cstdint>
#include <fstream>
#include <limits>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

namespace volumira3d
{
// Geometry of a grid reader: bin counts, ranges, bin widths and origin.
class CVoxelIOBase
{
public:
    virtual ~CVoxelIOBase() = default;
    virtual std::int32_t GetNX() const = 0;
    virtual std::int32_t GetNY() const = 0;
    virtual std::int32_t GetNZ() const = 0;
    virtual void GetXRange(double& min, double& max) const = 0;
    virtual void GetYRange(double& min, double& max) const = 0;
    virtual void GetZRange(double& min, double& max) const = 0;
    virtual double GetXMin() const = 0;
    virtual double GetYMin() const = 0;
    virtual double GetZMin() const = 0;
    virtual double GetXMax() const = 0;
    virtual double GetYMax() const = 0;
    virtual double GetZMax() const = 0;
    virtual double GetDX() const = 0;
    virtual double GetDY() const = 0;
    virtual double GetDZ() const = 0;
    virtual void SetNX(std::int32_t n) = 0;
    virtual void SetNY(std::int32_t n) = 0;
    virtual void SetNZ(std::int32_t n) = 0;
    virtual void SetXRange(double min, double max) = 0;
    virtual void SetYRange(double min, double max) = 0;
    virtual void SetZRange(double min, double max) = 0;
    virtual void SetDX(double d) = 0;
    virtual void SetDY(double d) = 0;
    virtual void SetDZ(double d) = 0;
    virtual void GetOrigin(double& x, double& y, double& z) const = 0;
    virtual void SetOrigin(double x, double y, double z) = 0;
};

// The geometry fields and their accessors, shared by every format class.
class CVoxelIOGeometry : public CVoxelIOBase
{
public:
    std::int32_t GetNX() const override { return m_NX; }
    std::int32_t GetNY() const override { return m_NY; }
    std::int32_t GetNZ() const override { return m_NZ; }
    void GetXRange(double& min, double& max) const override { min = m_XMin, max = m_XMax; }
    void GetYRange(double& min, double& max) const override { min = m_YMin, max = m_YMax; }
    void GetZRange(double& min, double& max) const override { min = m_ZMin, max = m_ZMax; }
    double GetXMin() const override { return m_XMin; }
    double GetYMin() const override { return m_YMin; }
    double GetZMin() const override { return m_ZMin; }
    double GetXMax() const override { return m_XMax; }
    double GetYMax() const override { return m_YMax; }
    double GetZMax() const override { return m_ZMax; }
    double GetDX() const override { return m_DX; }
    double GetDY() const override { return m_DY; }
    double GetDZ() const override { return m_DZ; }
    void SetNX(std::int32_t n) override { m_NX = n; }
    void SetNY(std::int32_t n) override { m_NY = n; }
    void SetNZ(std::int32_t n) override { m_NZ = n; }
    void SetXRange(double min, double max) override { m_XMin = min, m_XMax = max; }
    void SetYRange(double min, double max) override { m_YMin = min, m_YMax = max; }
    void SetZRange(double min, double max) override { m_ZMin = min, m_ZMax = max; }
    void SetDX(double d) override { m_DX = d; }
    void SetDY(double d) override { m_DY = d; }
    void SetDZ(double d) override { m_DZ = d; }
    void GetOrigin(double& x, double& y, double& z) const override
    {
        x = m_Origin[0], y = m_Origin[1], z = m_Origin[2];
    }
    void SetOrigin(double x, double y, double z) override
    {
        m_Origin[0] = x, m_Origin[1] = y, m_Origin[2] = z;
    }

private:
    double m_XMin = 0, m_XMax = 0, m_YMin = 0, m_YMax = 0, m_ZMin = 0, m_ZMax = 0;
    double m_Origin[3] = {0, 0, 0};
    std::int32_t m_NX = 0, m_NY = 0, m_NZ = 0;
    double m_DX = 0, m_DY = 0, m_DZ = 0;
};

// Text-file policy over a record type. The two integer arguments are always 0.
template <class TRecord, int A = 0, int B = 0> class CAsciiPolicy
{
public:
    using Record = TRecord;

    // Opens the file, reads the header and then every record until one cannot be extracted.
    // False only when the file cannot be opened, the header is refused (m_Error says why) or the
    // records do not fit into memory.
    virtual bool Read()
    {
        m_Data.clear();
        m_NrOfRecords = 0;
        if (!BeginRead()) return false;
        while (ReadMore(std::numeric_limits<size_t>::max(), true))
        {
        }
        EndRead();
        return m_Error.empty();
    }
    // Writes the header and every record; false when the file cannot be written.
    virtual bool Write()
    {
        m_Out.open(m_FileName, std::ios::out | std::ios::trunc);
        if (!m_Out || !WriteHeader(m_Out)) return false;
        WriteRecords(m_Out);
        m_Out.close();
        return !m_Out.fail();
    }
    virtual bool ReadHeader(CTextScanner&) { return true; }
    // Called when a record cannot be extracted: true when the format skips it and reading goes
    // on. By default the first record that cannot be read ends the records (FLUKA's error block
    // after the data begins with a word).
    virtual bool SkipBadRecord() { return false; }
    virtual bool WriteHeader(std::ostream&) { return true; }

    // Reading in pieces, so that a large file never holds all its records at once: BeginRead
    // opens the file and reads the header; ReadMore replaces m_Data by the next records, at most
    // maxRecords, and is false when not one could be read; EndRead closes the file.
    bool BeginRead()
    {
        m_Error.clear();
        m_NotationWarned = false;
        if (!m_In.Open(m_FileName))
        {
            m_Error = "Cannot open " + m_FileName;
            return false;
        }
        if (!ReadHeader(m_In))
        {
            if (m_Error.empty()) m_Error = "Invalid header in " + m_FileName;
            m_In.Close();
            return false;
        }
        return true;
    }
    bool ReadMore(size_t maxRecords, bool append = false)
    {
        if (!append) m_Data.clear();
        size_t read = 0;
        TRecord record;
        try
        {
            while (read < maxRecords && m_NrOfRecords < std::numeric_limits<std::int32_t>::max() &&
                   !m_In.AtEnd())
            {
                if (!Extract(record))
                {
                    if (SkipBadRecord()) continue;
                    break;
                }
                m_Data.push_back(record);
                ++m_NrOfRecords;
                ++read;
            }
        }
        catch (const std::bad_alloc&)
        {
            m_Error = "Not enough memory for the records of " + m_FileName;
            return false;
        }
        return read > 0;
    }
    void EndRead() { m_In.Close(); }
    void WriteRecords(std::ostream& os) const
    {
        for (const TRecord& record : m_Data)
            os << record;
    }

    std::vector<TRecord> m_Data;
    CTextScanner m_In;
    std::ofstream m_Out;
    std::string m_FileName;
    std::int32_t m_NrOfRecords = 0;
    std::string m_Error;
    bool m_NotationWarned = false;

protected:
    CAsciiPolicy() = default;
    ~CAsciiPolicy() = default;

private:
    bool Extract(TRecord& record)
    {
        if constexpr (std::is_same_v<TRecord, CFlukaData>)
            return ExtractRecord(m_In, record, m_NotationWarned);
        else
            return ExtractRecord(m_In, record);
    }
};

// The object a load operation creates: a format class on one file.
template <class TFormat> class CDataStorage : public TFormat
{
public:
    explicit CDataStorage(const std::string& fileName) { this->m_FileName = fileName; }
};
} // namespace volumira3d
