#ifndef GLINT_ENGINE_IMAGE_H
#define GLINT_ENGINE_IMAGE_H

// RGB images of one byte per sample, kept as three planes; pixel (x, y) is at
// y * width + x and row 0 is the bottom row. Read and written as binary PPM.

struct Image;

// A new black image, or nullptr for a size below 1 x 1, a size whose pixel
// count does not fit an int, or memory exhausted.
Image *imgCreate(int width, int height);
void imgDestroy(Image *image);

unsigned char imgGetRed(const Image *image, int x, int y);
unsigned char imgGetGreen(const Image *image, int x, int y);
unsigned char imgGetBlue(const Image *image, int x, int y);
void imgSetPixel(Image *image, int x, int y, unsigned char red, unsigned char green,
                 unsigned char blue);

int imgGetWidth(const Image *image);
int imgGetHeight(const Image *image);
unsigned char *imgGetRedPlane(Image *image);
unsigned char *imgGetGreenPlane(Image *image);
unsigned char *imgGetBluePlane(Image *image);

// A new image read from a binary PPM file, or nullptr.
Image *imgReadPPM(const char *name);

// 1 when the whole file was written, 0 when it could not be.
int imgWritePPM(const Image *image, const char *name);

#endif
