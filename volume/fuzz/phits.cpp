// libFuzzer target: the bytes as a PHITS file.
#include "volume/FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volumira3d::LoadVolumeBytes("PHITS", data, size);
    return 0;
}
