// libFuzzer target: the bytes as an MCNP meshtal file.
#include "volume/FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volumira3d::LoadVolumeBytes("MCNP meshtal", data, size);
    return 0;
}
