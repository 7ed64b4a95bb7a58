#include "RecordFormats.h"

#include "CollisionFile.h"
#include "MgdrawDump.h"

namespace trakor
{
namespace
{

// The formats trakor reads; a new one is added here.
struct CFormat
{
    bool (*m_ClaimsHeader)(std::size_t length);
    std::unique_ptr<CRecordReader> (*m_Create)();
};

template <class TReader> std::unique_ptr<CRecordReader> Create()
{
    return std::make_unique<TReader>();
}

const CFormat Formats[] = {
    {&CCollisionFile::ClaimsHeader, &Create<CCollisionFile>},
    {&CMgdrawDump::ClaimsHeader, &Create<CMgdrawDump>},
};

const CFormat* FormatOfHeader(std::size_t length)
{
    for (const CFormat& format : Formats)
        if (format.m_ClaimsHeader(length)) return &format;
    return nullptr;
}

// Why a file without a first record is refused; empty when it has one.
std::string ReadFirstRecord(CFortranRecords& records, std::vector<unsigned char>& header)
{
    switch (records.Read(header))
    {
    case CFortranRecords::EFrame::Record:
        return {};
    case CFortranRecords::EFrame::EndOfFile:
        return "the file is empty";
    case CFortranRecords::EFrame::Corrupt:
        break;
    }
    return "no Fortran unformatted record at its start: " + records.Error();
}

} // namespace

CRecognition RecogniseRecordFile(const std::string& name)
{
    CRecognition result;
    CFortranRecords probe;
    result.m_Opened = probe.Open(name);
    if (!result.m_Opened)
    {
        result.m_Error = probe.Error();
        return result;
    }
    std::vector<unsigned char> header;
    result.m_Error = ReadFirstRecord(probe, header);
    if (!result.m_Error.empty()) return result;
    const CFormat* format = FormatOfHeader(header.size());
    if (!format)
    {
        result.m_Error = "neither a trakor collision file nor a standard FLUKA mgdraw dump: its "
                         "first record holds " +
                         Bytes(header.size()) +
                         " (a collision file starts with a header of 28 or more, a standard dump "
                         "with one of 20)";
        return result;
    }
    std::unique_ptr<CRecordReader> reader = format->m_Create();
    if (!reader->Open(name) || reader->Next() == CRecordReader::ERecord::Corrupt ||
        !reader->Rewind())
    {
        result.m_Error = std::string("read as a ") + reader->Description() +
                         ", its first record pair is damaged: " + reader->Error();
        return result;
    }
    result.m_Reader = std::move(reader);
    return result;
}

} // namespace trakor
