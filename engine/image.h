#ifndef GLINT_ENGINE_IMAGE_H
#define GLINT_ENGINE_IMAGE_H

// RGB images of one byte per sample, kept as three planes; pixel (x, y) is at
// y * width + x and row 0 is the bottom row (the record and its pixel
// operations, shared with glintdiff, are in common/rgbimage.h). Read and
// written as binary PPM with the engine's messages.

#include "common/rgbimage.h"

// A new image read from a binary PPM file, or nullptr.
Image *imgReadPPM(const char *name);

// 1 when the whole file was written, 0 when it could not be.
int imgWritePPM(const Image *image, const char *name);

#endif
