#include "Trakor.h"

#include "CollisionFile.h"
#include "Converter.h"
#include "Dialogue.h"

#include <filesystem>
#include <ostream>
#include <tuple>

namespace trakor
{
namespace
{

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

// The answers after the file name; the file name fields are already set.
void AskConversion(CDialogue& dialogue, CSettings& settings)
{
    settings.m_Kinetic = dialogue.AskKinetic();
    std::tie(settings.m_Lower, settings.m_Upper) = dialogue.AskBounds(settings.m_Kinetic);
    settings.m_Bins = dialogue.AskBinCount();
    settings.m_Logarithmic = dialogue.AskLogarithmic();
    if (settings.m_Logarithmic) settings.m_Lower = dialogue.LogarithmicLowerBound(settings.m_Lower);
    settings.m_ParticleType = dialogue.AskParticleType();
}

// Opens the collision file; false with a message when it cannot be read or would be
// overwritten by an output.
bool OpenCollisionFile(CCollisionFile& file, const CSettings& settings, std::ostream& err)
{
    if (!file.Open(settings.m_CollisionFile))
    {
        err << " *** OPEN ERROR: cannot open collision file " << settings.m_CollisionFile << ": "
            << file.Error() << "\n";
        return false;
    }
    for (const std::string& output : {settings.m_TrackFile, settings.m_ScriptFile})
        if (SameFile(output, settings.m_CollisionFile))
        {
            err << " *** OPEN ERROR: the output " << output
                << " would overwrite the collision file\n";
            return false;
        }
    return true;
}

void ShowProgress(std::ostream& err, int pass, int percent)
{
    err << "\r pass " << pass << " of 2: " << percent << "% " << std::flush;
}

int Convert(CCollisionFile& file, const CSettings& settings, std::ostream& out, std::ostream& err,
            const CRunOptions& options)
{
    CConverter converter(settings, out, err);
    if (options.m_Progress)
        converter.SetProgress([&err](int pass, int percent) { ShowProgress(err, pass, percent); });
    const EConversion result = converter.Run(file);
    if (options.m_Progress) err << "\r                      \r" << std::flush;
    if (result == EConversion::OutputFailed) return ExitFailed;
    out << ' ' << converter.ParticlesWritten() << " particles written to " << settings.m_TrackFile
        << "\n " << converter.SpheresWritten() << " spheres written to " << settings.m_ScriptFile
        << "\n";
    return result == EConversion::Done ? ExitDone : ExitCorruptInput;
}

} // namespace

int RunTrakor(std::istream& in, std::ostream& out, std::ostream& err, const CRunOptions& options)
{
    CDialogue dialogue(in, out);
    try
    {
        dialogue.Banner();
        const std::string name = dialogue.AskFileName();
        CSettings settings;
        settings.m_CollisionFile = CollisionFileName(name);
        settings.m_TrackFile = TrackFileName(name);
        settings.m_ScriptFile = options.m_ScriptFile;
        CCollisionFile file;
        if (!OpenCollisionFile(file, settings, err)) return ExitDialogueEnded;
        AskConversion(dialogue, settings);
        return Convert(file, settings, out, err, options);
    }
    catch (const CDialogueEnd& end)
    {
        err << ' ' << end.what() << "\n";
        return ExitDialogueEnded;
    }
    catch (const std::exception& failure) // such as running out of memory
    {
        err << " *** ERROR: " << failure.what() << "\n";
        return ExitFailed;
    }
}

} // namespace trakor
