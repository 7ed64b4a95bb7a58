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

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

// The answers after the file name; the file name fields are already set.
void askConversion(CDialogue& dialogue, CSettings& settings)
{
    settings.kinetic = dialogue.askKinetic();
    std::tie(settings.lower, settings.upper) = dialogue.askBounds(settings.kinetic);
    settings.bins = dialogue.askBinCount();
    settings.logarithmic = dialogue.askLogarithmic();
    if (settings.logarithmic) settings.lower = dialogue.logarithmicLowerBound(settings.lower);
    settings.particleType = dialogue.askParticleType();
}

// Opens the collision file; false with a message when it cannot be read or would be
// overwritten by an output.
bool openCollisionFile(CCollisionFile& file, const CSettings& settings, std::ostream& err)
{
    if (!file.open(settings.collisionFile))
    {
        err << " *** OPEN ERROR: cannot open collision file " << settings.collisionFile << ": "
            << file.error() << "\n";
        return false;
    }
    for (const std::string& output : {settings.trackFile, settings.scriptFile})
        if (sameFile(output, settings.collisionFile))
        {
            err << " *** OPEN ERROR: the output " << output
                << " would overwrite the collision file\n";
            return false;
        }
    return true;
}

void showProgress(std::ostream& err, int pass, int percent)
{
    err << "\r pass " << pass << " of 2: " << percent << "% " << std::flush;
}

int convert(CCollisionFile& file, const CSettings& settings, std::ostream& out, std::ostream& err,
            const CRunOptions& options)
{
    CConverter converter(settings, out, err);
    if (options.progress)
        converter.setProgress([&err](int pass, int percent) { showProgress(err, pass, percent); });
    const EConversion result = converter.run(file);
    if (options.progress) err << "\r                      \r" << std::flush;
    if (result == EConversion::OutputFailed) return kExitFailed;
    out << ' ' << converter.particlesWritten() << " particles written to " << settings.trackFile
        << "\n " << converter.spheresWritten() << " spheres written to " << settings.scriptFile
        << "\n";
    return result == EConversion::Done ? kExitDone : kExitCorruptInput;
}

} // namespace

int runTrakor(std::istream& in, std::ostream& out, std::ostream& err, const CRunOptions& options)
{
    CDialogue dialogue(in, out);
    try
    {
        dialogue.banner();
        const std::string name = dialogue.askFileName();
        CSettings settings;
        settings.collisionFile = collisionFileName(name);
        settings.trackFile = trackFileName(name);
        settings.scriptFile = options.scriptFile;
        CCollisionFile file;
        if (!openCollisionFile(file, settings, err)) return kExitDialogueEnded;
        askConversion(dialogue, settings);
        return convert(file, settings, out, err, options);
    }
    catch (const CDialogueEnd& end)
    {
        err << ' ' << end.what() << "\n";
        return kExitDialogueEnded;
    }
    catch (const std::exception& failure) // such as running out of memory
    {
        err << " *** ERROR: " << failure.what() << "\n";
        return kExitFailed;
    }
}

} // namespace trakor
