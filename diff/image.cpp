#include "diff/image.h"

#include <cmath>
#include <cstdio>

// glintdiff's words for the outcomes of reading and writing PPM files.

static void cannotOpen(const char *name) { std::printf("%s nao pode ser aberto\n", name); }

static void wideSamples(const char *name, int maxval)
{
    std::printf("%s tem amostras de dois bytes (valor maximo %d): so sao lidas imagens de valor "
                "maximo ate 255\n",
                name, maxval);
}

static void cannotAllocate(const char *name)
{
    std::printf("N\xE3" "o foi possivel alocar a imagem %s \n", name);
}

static void cutShort(const char *name) { std::printf("%s termina antes do fim da imagem\n", name); }

static void cannotCreate(const char *name)
{
    std::printf("\nN\xE3" "o foi possivel abrir o arquivo %s\n", name);
}

static void cannotWrite(const char *name)
{
    std::printf("\nN\xE3" "o foi possivel gravar o arquivo %s\n", name);
}

static void written(const char *name) { std::printf("\nO %s foi gerado com sucesso.\n", name); }

// Header lines (the magic line and each discarded piece of a comment) are
// read through a buffer of 256 bytes.
static const PpmReports REPORTS = {256,      cannotOpen,   wideSamples, cannotAllocate,
                                   cutShort, cannotCreate, cannotWrite, written};

Image *imgReadPPM(const char *name) { return ppmLoad(name, REPORTS); }

int imgWritePPM(const Image *image, const char *name) { return ppmSave(image, name, REPORTS); }

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
