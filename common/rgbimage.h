#ifndef GLINT_COMMON_RGBIMAGE_H
#define GLINT_COMMON_RGBIMAGE_H

// The RGB image both image modules keep (the engine's and glintdiff's): one
// byte per sample in three planes, pixel (x, y) at y * width + x, row 0 the
// bottom row; and its loading from and saving to binary PPM files. The two
// modules differ only in the words of their messages and in the size of the
// buffer through which header lines are read, which they pass in.

struct Image;

// A new black image, or nullptr for a size below 1 x 1, a pixel count that
// does not fit an int, or memory exhausted.
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

// How a module words the outcomes of reading and writing. Each report gets
// the file name; a null report prints nothing.
struct PpmReports {
    int lineSize;                            // header line buffer, at most PPM_MAX_LINE
    void (*cannotOpen)(const char *name);    // reading: the file cannot be opened
    void (*wideSamples)(const char *name, int maxval);  // maximum value above 255
    void (*cannotAllocate)(const char *name);  // the header's size gives no image
    void (*cutShort)(const char *name);      // the raster ends before the last pixel
    void (*cannotCreate)(const char *name);  // writing: the file cannot be opened
    void (*cannotWrite)(const char *name);   // a write or the close failed
    void (*written)(const char *name);       // the whole file was written
};

// A new image read from a binary PPM file, or nullptr. A wrong first line
// and a header cut short by the end of the file are refused silently; a file
// with two-byte samples (maximum value above 255) is refused with a report.
Image *ppmLoad(const char *name, const PpmReports &reports);

// 1 when the whole file was written, 0 when it could not be.
int ppmSave(const Image *image, const char *name, const PpmReports &reports);

#endif
