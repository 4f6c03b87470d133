#ifndef GLINT_DIFF_MEASURES_H
#define GLINT_DIFF_MEASURES_H

#include "diff/image.h"

// The number of distinct colours (red, green, blue byte triples) of image;
// 0 when no table can be made for the count.
int imgCountColors(Image *image);

// The mean distance between the colours of image1 and image2, pixel by
// pixel; image2 becomes the picture of the absolute channel differences.
// -1.0, with both images unchanged, when their sizes differ.
double imgError(Image *image1, Image *image2);

#endif
