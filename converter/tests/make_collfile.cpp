// Writes the collision file of the end-to-end test: a proton, a photon and a neutron that
// together span x -10..40, y -20..50, z -30..60 cm, and one energy deposition.
#include "CollisionFileBuilder.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: trakor_make_collfile FILE\n");
        return 1;
    }
    trakor::testing::CCollisionFileBuilder()
        .Trajectory(1, 2.5, 1, {{-10, 0, 0}, {0, 0, 0}, {15, 25, 35}}, 2.0e-9)
        .Trajectory(7, 0.75, 1, {{0, -20, -30}, {40, 50, 60}}, 3.0e-9)
        .Deposition(10, 8, 1.2, {5, 5, 5})
        .Trajectory(8, 1.5, 2, {{1, 2, 3}, {4, 5, 6}}, 1.0e-9)
        .Save(argv[1]);
    return 0;
}
