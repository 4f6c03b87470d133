#include "diff/image.h"

#include <cmath>
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

// Header lines (the magic line and each discarded piece of a comment) are
// read through a buffer of this many bytes.
static const int LINE_SIZE = 256;

Image *imgCreate(int width, int height)
{
    if (width < 1 || height < 1 || !ppmSizeFits(width, height))
        return nullptr;
    Image *image = static_cast<Image *>(std::malloc(sizeof(Image)));
    if (image == nullptr)
        return nullptr;
    image->width = width;
    image->height = height;
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

Image *imgReadPPM(const char *name)
{
    std::FILE *fp = std::fopen(name, "rb");
    if (fp == nullptr) {
        std::printf("%s nao pode ser aberto\n", name);
        return nullptr;
    }
    // A wrong first line and a header cut short by the end of the file are
    // refused silently.
    int width = 0, height = 0, maxval = 0;
    if (!ppmReadMagic(fp, LINE_SIZE) || !ppmReadHeader(fp, LINE_SIZE, &width, &height, &maxval)) {
        std::fclose(fp);
        return nullptr;
    }
    // A header promising more pixels than the file holds is refused before
    // the planes are allocated (a few bytes could otherwise ask for gigabytes).
    const bool isSize = width >= 1 && height >= 1 && ppmSizeFits(width, height);
    if (isSize && !ppmRasterFits(fp, width, height)) {
        std::printf("%s termina antes do fim da imagem\n", name);
        std::fclose(fp);
        return nullptr;
    }
    Image *image = imgCreate(width, height);
    if (image == nullptr) {
        std::printf("N\xE3" "o foi possivel alocar a imagem %s \n", name);
        std::fclose(fp);
        return nullptr;
    }
    if (!ppmReadRaster(fp, width, height, image->red, image->green, image->blue)) {
        std::printf("%s termina antes do fim da imagem\n", name);
        imgDestroy(image);
        std::fclose(fp);
        return nullptr;
    }
    std::fclose(fp);
    return image;
}

int imgWritePPM(const Image *image, const char *name)
{
    std::FILE *fp = std::fopen(name, "wb");
    if (fp == nullptr) {
        std::printf("\nN\xE3" "o foi possivel abrir o arquivo %s\n", name);
        return 0;
    }
    bool written = ppmWrite(fp, image->width, image->height, image->red, image->green, image->blue);
    // A failed close loses buffered data just as a failed write does.
    if (std::fclose(fp) != 0)
        written = false;
    if (!written) {
        std::printf("\nN\xE3" "o foi possivel gravar o arquivo %s\n", name);
        return 0;
    }
    std::printf("\nO %s foi gerado com sucesso.\n", name);
    return 1;
}

double byteToUnit(unsigned char b) { return b / 255.0; }

unsigned char unitToByte(double v)
{
    // fmod keeps the exact low eight bits of any finite whole number, also
    // beyond the range of the integer types; a negative value gives its
    // two's-complement byte.
    const double whole = std::trunc(255.0 * v);
    if (!std::isfinite(whole))
        return 0;
    double low = std::fmod(whole, 256.0);
    if (low < 0.0)
        low += 256.0;
    return static_cast<unsigned char>(low);
}

double sqrDistRGB(unsigned char r1, unsigned char g1, unsigned char b1, unsigned char r2,
                  unsigned char g2, unsigned char b2)
{
    const int dr = r1 - r2;
    const int dg = g1 - g2;
    const int db = b1 - b2;
    return static_cast<double>(dr * dr + dg * dg + db * db);
}
