// Reads a VRML97 file with Coin's parser and reports what it found: any read error fails.
// Usage: vrml_check FILE.wrl [EXPECTED_LINE_SETS]
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedLineSet.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/nodes/SoSeparator.h>

#include <cstdio>
#include <cstdlib>

namespace
{
int g_Errors = 0;

void OnReadError(const SoError* error, void*)
{
    ++g_Errors;
    std::fprintf(stderr, "%s\n", error->getDebugString().getString());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: vrml_check FILE.wrl [EXPECTED_LINE_SETS]\n");
        return 2;
    }
    SoDB::init();
    SoReadError::setHandlerCallback(OnReadError, nullptr);
    SoInput input;
    if (!input.openFile(argv[1])) return 1;
    if (!input.isFileVRML2())
    {
        std::fprintf(stderr, "%s: not a VRML 2.0 file\n", argv[1]);
        return 1;
    }
    SoSeparator* root = SoDB::readAll(&input);
    if (!root || g_Errors > 0) return 1;
    root->ref();
    SoSearchAction search;
    search.setType(SoVRMLIndexedLineSet::getClassTypeId());
    search.setInterest(SoSearchAction::ALL);
    search.apply(root);
    const int found = search.getPaths().getLength();
    std::printf("%s: VRML97, %d indexed line sets\n", argv[1], found);
    root->unref();
    return argc > 2 && found != std::atoi(argv[2]) ? 1 : 0;
}
