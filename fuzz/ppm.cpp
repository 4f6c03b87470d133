// Fuzz target: a PPM reader, built twice: the engine's (textures and
// background images), and with -DGLINT_FUZZ_DIFF glintdiff's. Both declare the
// same functions.
#include <cstdint>

#ifdef GLINT_FUZZ_DIFF
#include "diff/image.h"
#else
#include "engine/image.h"
#endif
#include "fuzz/fuzz_io.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzio::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string path = fuzzio::writeInput("in.ppm", data, size);
    Image *image = imgReadPPM(path.c_str());
    if (image != nullptr) {
        // Touch every pixel through the public accessors: a size that does
        // not match the planes shows up here as an out-of-bounds read.
        const int w = imgGetWidth(image), h = imgGetHeight(image);
        unsigned sum = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                sum += imgGetRed(image, x, y) + imgGetGreen(image, x, y) + imgGetBlue(image, x, y);
        if (w < 1 || h < 1)
            __builtin_trap();
        imgDestroy(image);
        (void)sum;
    }
    return 0;
}
