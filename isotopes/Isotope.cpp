#include "isotopes/Isotope.h"

namespace nuclira3d
{
void CIsotope::PrepareAllocator()
{
    Loki::AllocatorSingleton<Loki::SingleThreaded, IsotopeChunkSize, 256, 4,
                             Loki::LongevityLifetime::DieAsSmallObjectParent>::Instance();
}
} // namespace nuclira3d
