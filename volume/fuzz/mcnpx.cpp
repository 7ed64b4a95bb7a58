// libFuzzer target: the bytes as a MCNPX gridconv file.
#include "volume/FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volumira3d::LoadVolumeBytes("MCNPX gridconv", data, size);
    return 0;
}
