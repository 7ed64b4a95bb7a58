#include "RecordReader.h"

namespace trakor
{

using EFrame = CFortranRecords::EFrame;

bool CRecordReader::Open(const std::string& name)
{
    return m_Records.Open(name);
}

bool CRecordReader::Rewind()
{
    StartPass();
    return m_Records.Rewind();
}

CRecordReader::ERecord CRecordReader::Next()
{
    if (m_Records.Failed()) return ERecord::Corrupt;
    const std::uint64_t headerAt = m_Records.Offset();
    switch (m_Records.Read(m_Header))
    {
    case EFrame::EndOfFile:
        return ERecord::End;
    case EFrame::Corrupt:
        return ERecord::Corrupt;
    case EFrame::Record:
        break;
    }
    if (m_Header.size() < 4)
        return Corrupt(headerAt, "header record of " + Bytes(m_Header.size()) + " is too short");
    return ReadPair(headerAt);
}

CRecordReader::ERecord CRecordReader::Corrupt(std::uint64_t at, const std::string& what)
{
    m_Records.Fail(at, what);
    return ERecord::Corrupt;
}

bool CRecordReader::ReadData(std::uint64_t headerAt, const char* kind)
{
    m_DataAt = m_Records.Offset();
    switch (m_Records.Read(m_Data))
    {
    case EFrame::Record:
        return true;
    case EFrame::EndOfFile:
        Corrupt(headerAt, std::string("file ends after the header of a ") + kind +
                              " record, without its data record");
        return false;
    case EFrame::Corrupt:
        return false;
    }
    return false;
}

} // namespace trakor
