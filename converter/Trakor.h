#pragma once

#include <iosfwd>
#include <string>

namespace trakor
{

// Exit statuses of the program.
enum EExitStatus
{
    kExitDone = 0,
    kExitDialogueEnded = 1, // collision file not opened, an unreadable answer, end of input
    kExitCorruptInput = 2,  // damaged collision file; what came before the damage is written
    kExitFailed = 3,        // an output file could not be written, or memory ran out
};

struct CRunOptions
{
    std::string scriptFile = "collfile.scr";
    bool progress = false; // a progress line on `err`, rewritten in place
};

// The whole program: the dialogue on `in`/`out`, then the conversion. Warnings about skipped
// tracks and the closing summary go to `out`, errors to `err`. Returns an EExitStatus.
int runTrakor(std::istream& in, std::ostream& out, std::ostream& err,
              const CRunOptions& options = {});

} // namespace trakor
