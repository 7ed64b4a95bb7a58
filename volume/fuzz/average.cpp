// libFuzzer target: the bytes as two FLUKA USRBIN text runs to average.
#include "volume/FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volumira3d::AverageBytes(data, size);
    return 0;
}
