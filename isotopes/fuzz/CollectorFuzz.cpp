// libFuzzer target: the collector reader on arbitrary bytes, message boxes answered by their
// defaults and forgotten after each input.
#include "isotopes/NucVecCollectorReader.h"
#include "platform/HeadlessBackend.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CHeadlessBackend::Instance().Reset();
    nuclira3d::ReadCollectorBytes({reinterpret_cast<const char*>(data), size});
    return 0;
}
