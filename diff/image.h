#ifndef GLINT_DIFF_IMAGE_H
#define GLINT_DIFF_IMAGE_H

// glintdiff's RGB images: one byte per sample in three planes, pixel (x, y) at
// y * width + x, row 0 the bottom row. Read and written as binary PPM ("P6").
// Messages go to standard output in Portuguese.

struct Image;

// A new image with zeroed planes, or nullptr for a size below 1 x 1, a pixel
// count that does not fit an int, or memory exhausted.
Image *imgCreate(int width, int height);
// Frees the planes and the record; nullptr is accepted.
void imgDestroy(Image *image);

// Pixel access: x and y must lie inside the image.
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

// b / 255.0.
double byteToUnit(unsigned char b);
// The low eight bits of 255.0 * v truncated toward zero, without clamping
// (1.5 gives 126); 0 for a value that is not a finite number.
unsigned char unitToByte(double v);
// (r1 - r2)^2 + (g1 - g2)^2 + (b1 - b2)^2.
double sqrDistRGB(unsigned char r1, unsigned char g1, unsigned char b1, unsigned char r2,
                  unsigned char g2, unsigned char b2);

#endif
