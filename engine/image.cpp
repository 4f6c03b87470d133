#include "engine/image.h"

#include <cstdio>

// The engine's words for the outcomes of reading and writing PPM files. An
// image whose size cannot be allocated is refused without a message.

static void cannotOpen(const char *name)
{
    printf("\n[%s:%d] unable to load image file '%s'.\n", __FILE__, __LINE__, name);
}

static void cutShort(const char *name)
{
    printf("\n[%s:%d] image file '%s' ends before its last pixel.\n", __FILE__, __LINE__, name);
}

static void wideSamples(const char *name, int maxval)
{
    printf("\n[%s:%d] image file '%s' has two-byte samples (maximum value %d); only one-byte "
           "samples (maximum value up to 255) are read.\n",
           __FILE__, __LINE__, name, maxval);
}

static void cannotWrite(const char *name)
{
    printf("\n[%s:%d] unable to write image file '%s'\n", __FILE__, __LINE__, name);
}

static void written(const char *name) { printf("\nO %s was written successfully.\n", name); }

// Header lines are read through a buffer of 80 bytes.
static const PpmReports REPORTS = {80,       cannotOpen,  wideSamples, nullptr,
                                   cutShort, cannotWrite, cannotWrite, written};

Image *imgReadPPM(const char *name) { return ppmLoad(name, REPORTS); }

int imgWritePPM(const Image *image, const char *name) { return ppmSave(image, name, REPORTS); }
