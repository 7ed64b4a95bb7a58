// libFuzzer target: the bytes as a FLUKA voxel file.
#include "volume/FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volumira3d::LoadVolumeBytes("FLUKA voxel", data, size);
    return 0;
}
