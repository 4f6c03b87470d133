#include "common/rgbimage.h"

#include <cstdio>
#include <cstdlib>

#include "common/ppmformat.h"

struct Image {
    int height;
    int width;
    unsigned char *red;
    unsigned char *green;
    unsigned char *blue;
};

Image *imgCreate(int width, int height)
{
    if (width < 1 || height < 1 || !ppmSizeFits(width, height))
        return nullptr;
    Image *image = static_cast<Image *>(std::malloc(sizeof(Image)));
    if (image == nullptr)
        return nullptr;
    image->width = width;
    image->height = height;
    // Zeroed planes: an image saved before every pixel is set is black, never
    // whatever the memory held.
    const size_t size = static_cast<size_t>(width) * height;
    image->red = static_cast<unsigned char *>(std::calloc(size, 1));
    image->green = static_cast<unsigned char *>(std::calloc(size, 1));
    image->blue = static_cast<unsigned char *>(std::calloc(size, 1));
    if (image->red == nullptr || image->green == nullptr || image->blue == nullptr) {
        imgDestroy(image);
        return nullptr;
    }
    return image;
}

void imgDestroy(Image *image)
{
    if (image == nullptr)
        return;
    std::free(image->red);
    std::free(image->green);
    std::free(image->blue);
    std::free(image);
}

unsigned char imgGetRed(const Image *image, int x, int y) { return image->red[y * image->width + x]; }

unsigned char imgGetGreen(const Image *image, int x, int y)
{
    return image->green[y * image->width + x];
}

unsigned char imgGetBlue(const Image *image, int x, int y)
{
    return image->blue[y * image->width + x];
}

void imgSetPixel(Image *image, int x, int y, unsigned char red, unsigned char green,
                 unsigned char blue)
{
    const int i = y * image->width + x;
    image->red[i] = red;
    image->green[i] = green;
    image->blue[i] = blue;
}

int imgGetWidth(const Image *image) { return image->width; }
int imgGetHeight(const Image *image) { return image->height; }
unsigned char *imgGetRedPlane(Image *image) { return image->red; }
unsigned char *imgGetGreenPlane(Image *image) { return image->green; }
unsigned char *imgGetBluePlane(Image *image) { return image->blue; }

static void report(void (*fn)(const char *), const char *name)
{
    if (fn != nullptr)
        fn(name);
}

Image *ppmLoad(const char *name, const PpmReports &reports)
{
    std::FILE *fp = std::fopen(name, "rb");
    if (fp == nullptr) {
        report(reports.cannotOpen, name);
        return nullptr;
    }
    int width = 0, height = 0, maxval = 0;
    if (!ppmReadMagic(fp, reports.lineSize) ||
        !ppmReadHeader(fp, reports.lineSize, &width, &height, &maxval)) {
        std::fclose(fp);
        return nullptr;
    }
    // Samples of two bytes each would be taken as twice as many single
    // bytes: a wrong picture. Such files are refused, not converted.
    if (maxval > PPM_MAX_BYTE_VALUE) {
        if (reports.wideSamples != nullptr)
            reports.wideSamples(name, maxval);
        std::fclose(fp);
        return nullptr;
    }
    ppmSkipSeparator(fp);
    // A header promising more pixels than the file holds is refused before
    // the planes are allocated (a few bytes could otherwise ask for gigabytes).
    const bool isSize = width >= 1 && height >= 1 && ppmSizeFits(width, height);
    if (isSize && !ppmRasterFits(fp, width, height)) {
        report(reports.cutShort, name);
        std::fclose(fp);
        return nullptr;
    }
    Image *image = imgCreate(width, height);
    if (image == nullptr) {
        report(reports.cannotAllocate, name);
        std::fclose(fp);
        return nullptr;
    }
    if (!ppmReadRaster(fp, width, height, image->red, image->green, image->blue)) {
        report(reports.cutShort, name);
        imgDestroy(image);
        std::fclose(fp);
        return nullptr;
    }
    std::fclose(fp);
    return image;
}

int ppmSave(const Image *image, const char *name, const PpmReports &reports)
{
    std::FILE *fp = std::fopen(name, "wb");
    if (fp == nullptr) {
        report(reports.cannotCreate, name);
        return 0;
    }
    bool written = ppmWrite(fp, image->width, image->height, image->red, image->green, image->blue);
    // A failed close loses buffered data just as a failed write does.
    if (std::fclose(fp) != 0)
        written = false;
    if (!written) {
        report(reports.cannotWrite, name);
        return 0;
    }
    report(reports.written, name);
    return 1;
}
