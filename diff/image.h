#ifndef GLINT_DIFF_IMAGE_H
#define GLINT_DIFF_IMAGE_H

// glintdiff's RGB images (the record and its pixel operations are shared with
// the engine, in common/rgbimage.h), read and written as binary PPM ("P6")
// with messages in Portuguese, and three byte helpers.

#include "common/rgbimage.h"

// A new image read from a binary PPM file, or nullptr.
Image *imgReadPPM(const char *name);
// 1 when the whole file was written, 0 when it could not be.
int imgWritePPM(const Image *image, const char *name);

// b / 255.0.
double byteToUnit(unsigned char b);
// The low eight bits of 255.0 * v truncated toward zero, without clamping
// (1.5 gives 126); 0 for a value that is not a finite number.
unsigned char unitToByte(double v);
// (r1 - r2)^2 + (g1 - g2)^2 + (b1 - b2)^2.
double sqrDistRGB(unsigned char r1, unsigned char g1, unsigned char b1, unsigned char r2,
                  unsigned char g2, unsigned char b2);

#endif
