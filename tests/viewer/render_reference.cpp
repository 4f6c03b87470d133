// render_reference SCENE WIDTH HEIGHT OUT.ppm: the engine's render of SCENE at
// WIDTH x HEIGHT, for the window tests and the viewer benchmark. Exit status
// 0 when written.

#include <cstdio>
#include <cstdlib>

#include "tests/viewer/reference.h"

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SCENE WIDTH HEIGHT OUT.ppm\n", argv[0]);
        return 2;
    }
    // The engine's echoes are not wanted here.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        return 1;
    return renderReference(argv[1], std::atoi(argv[2]), std::atoi(argv[3]), argv[4]) ? 0 : 1;
}
