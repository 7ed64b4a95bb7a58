#include "Trakor.h"

#include "Converter.h"
#include "Dialogue.h"
#include "RecordFormats.h"

#include <filesystem>
#include <memory>
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

// Opens the collision file in the format its first records show and names that format; null
// with a message when it cannot be read, is of no known format or would be overwritten by an
// output.
std::unique_ptr<CRecordReader> OpenCollisionFile(const CSettings& settings, CDialogue& dialogue,
                                                 std::ostream& err)
{
    CRecognition recognition = RecogniseRecordFile(settings.m_CollisionFile);
    if (!recognition.m_Reader)
    {
        err << " *** OPEN ERROR: " << (recognition.m_Opened ? "" : "cannot open ")
            << "collision file " << settings.m_CollisionFile << ": " << recognition.m_Error << "\n";
        return nullptr;
    }
    for (const std::string& output : {settings.m_TrackFile, settings.m_ScriptFile})
        if (SameFile(output, settings.m_CollisionFile))
        {
            err << " *** OPEN ERROR: the output " << output
                << " would overwrite the collision file\n";
            return nullptr;
        }
    dialogue.Say(std::string("File type: ") + recognition.m_Reader->Description());
    return std::move(recognition.m_Reader);
}

void ShowProgress(std::ostream& err, int pass, int percent)
{
    err << "\r pass " << pass << " of 2: " << percent << "% " << std::flush;
}

int Convert(CRecordReader& file, const CSettings& settings, std::ostream& out, std::ostream& err,
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
    if (converter.NonFiniteSkipped() > 0)
        out << " " << converter.NonFiniteSkipped()
            << " records with a coordinate, energy or time that is not a finite number were "
               "left out\n";
    if (!file.HasTimes())
        out << " No times in a " << file.Description() << ": every time in " << settings.m_TrackFile
            << " is 0,\n so Trakor3D's time evolution is not offered "
            << "for these tracks\n";
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
        const std::unique_ptr<CRecordReader> file = OpenCollisionFile(settings, dialogue, err);
        if (!file) return ExitDialogueEnded;
        AskConversion(dialogue, settings);
        return Convert(*file, settings, out, err, options);
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
