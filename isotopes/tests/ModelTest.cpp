#include "isotopes/Elements.h"

#include <gtest/gtest.h>

using namespace nuclira3d;

TEST(Elements, Co60)
{
    EXPECT_EQ(NuclideName(27, 60), "Co-60");
}
