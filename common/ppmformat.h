#ifndef GLINT_COMMON_PPMFORMAT_H
#define GLINT_COMMON_PPMFORMAT_H

#include <cstdio>

// The binary PPM ("P6") format as both image modules read and write it: the
// engine's and glintdiff's. They differ only in their messages and in the size
// of the buffer through which header lines are read, so those stay with the
// callers and the format itself lives here once.

// Largest line buffer a caller may ask for.
enum { PPM_MAX_LINE = 256 };

// Reads the first line through a buffer of lineSize bytes (at most lineSize - 1
// characters, line end included) and tells whether it is exactly "P6\n".
bool ppmReadMagic(std::FILE *fp, int lineSize);

// Reads the three header numbers after the magic line with " %d ", " %d " and
// " %d". Where a number does not convert, the rest of the current line is
// discarded in pieces of at most lineSize - 1 characters (comment lines) and
// the same number is tried again. Returns false when the file ends (or fails)
// before the three numbers were read.
bool ppmReadHeader(std::FILE *fp, int lineSize, int *width, int *height, int *maxval);

// Drops the one separator byte after the maximum value. A file that ends
// there is left at its end, so that the raster read that follows finds it
// cut short (unless the size names no pixels at all).
void ppmSkipSeparator(std::FILE *fp);

// Largest maximum value of a file whose samples are single bytes; above it
// every sample takes two bytes, which the readers do not take.
enum { PPM_MAX_BYTE_VALUE = 255 };

// Tells whether width x height pixels fit the int that sizes a plane.
bool ppmSizeFits(int width, int height);

// Tells whether the file, from its current position, still holds the
// width x height x 3 bytes of a raster, so that a header promising more than
// the file holds is refused before the planes are allocated. A file whose
// length cannot be told (a pipe, a terminal) passes; the raster read then
// finds its end.
bool ppmRasterFits(std::FILE *fp, int width, int height);

// Reads height rows of width pixels, the top row (height - 1) first, each
// pixel three bytes red, green, blue, into three planes of width * height
// bytes stored bottom row first. Returns false when the file ends early.
bool ppmReadRaster(std::FILE *fp, int width, int height,
                   unsigned char *red, unsigned char *green, unsigned char *blue);

// Writes the header "P6\n%d %d\n%d\n" (maximum 255) and the raster in the
// order ppmReadRaster reads it. Returns false when any write fails; the
// caller still closes the file.
bool ppmWrite(std::FILE *fp, int width, int height, const unsigned char *red,
              const unsigned char *green, const unsigned char *blue);

#endif
