// libFuzzer target: the bytes as a FLUKA binary USRBIN file.
#include "volume/FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volumira3d::LoadVolumeBytes("FLUKA binary USRBIN", data, size);
    return 0;
}
