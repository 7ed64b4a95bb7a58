#pragma once

#include <iosfwd>
#include <string>

namespace trakor
{

// Exit statuses of the program.
enum EExitStatus
{
    ExitDone = 0,
    ExitDialogueEnded = 1, // collision file not opened, an unreadable answer, end of input
    ExitCorruptInput = 2,  // damaged collision file; what came before the damage is written
    ExitFailed = 3,        // an output file could not be written, or memory ran out
};

struct CRunOptions
{
    std::string m_ScriptFile = "collfile.scr";
    bool m_Progress = false; // a progress line on `err`, rewritten in place
};

// The whole program: the dialogue on `in`/`out`, then the conversion. Warnings about skipped
// tracks and the closing summary go to `out`, errors to `err`. Returns an EExitStatus.
int RunTrakor(std::istream& in, std::ostream& out, std::ostream& err,
              const CRunOptions& options = {});

} // namespace trakor
