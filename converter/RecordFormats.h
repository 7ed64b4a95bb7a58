#pragma once

#include "RecordReader.h"

#include <memory>
#include <string>

namespace trakor
{

struct CRecognition
{
    std::unique_ptr<CRecordReader> m_Reader; // null when the file was refused
    bool m_Opened = false;                   // false: the file could not be opened at all
    std::string m_Error;                     // why it was refused
};

// Opens a dump and tells its format from its first record pair: the header's length picks the
// format, and the pair must then read cleanly in it. The reader returned stands at the start of
// the file. A file of no known format, an empty one or one whose first pair is damaged is refused
// with m_Error naming what was found.
CRecognition RecogniseRecordFile(const std::string& name);

} // namespace trakor
