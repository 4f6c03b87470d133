#include "common/ppmformat.h"

#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <vector>

bool ppmReadMagic(std::FILE *fp, int lineSize)
{
    char line[PPM_MAX_LINE];
    if (lineSize > PPM_MAX_LINE)
        lineSize = PPM_MAX_LINE;
    if (std::fgets(line, lineSize, fp) == nullptr)
        return false;
    return std::strcmp(line, "P6\n") == 0;
}

// One header number with the given conversion. A line that does not begin
// (after white space) with a number is dropped piece by piece until one
// converts; the end of the file ends the search.
static bool readHeaderNumber(std::FILE *fp, int lineSize, const char *format, int *value)
{
    char line[PPM_MAX_LINE];
    for (;;) {
        int got = std::fscanf(fp, format, value);
        if (got == 1)
            return true;
        if (got == EOF)
            return false;
        if (std::fgets(line, lineSize, fp) == nullptr)
            return false;
    }
}

bool ppmReadHeader(std::FILE *fp, int lineSize, int *width, int *height, int *maxval)
{
    if (lineSize > PPM_MAX_LINE)
        lineSize = PPM_MAX_LINE;
    if (!readHeaderNumber(fp, lineSize, " %d ", width))
        return false;
    if (!readHeaderNumber(fp, lineSize, " %d ", height))
        return false;
    return readHeaderNumber(fp, lineSize, " %d", maxval);
}

void ppmSkipSeparator(std::FILE *fp) { std::fgetc(fp); }

bool ppmSizeFits(int width, int height)
{
    if (width < 1 || height < 1)
        return true;  // not a size at all; the image constructors refuse it
    return static_cast<long long>(width) * height <= INT_MAX;
}

bool ppmRasterFits(std::FILE *fp, int width, int height)
{
    struct stat st;
    if (fstat(fileno(fp), &st) != 0 || !S_ISREG(st.st_mode))
        return true;
    const long pos = std::ftell(fp);
    if (pos < 0)
        return true;
    const long long need = static_cast<long long>(width) * height * 3;
    return static_cast<long long>(st.st_size) - pos >= need;
}

bool ppmReadRaster(std::FILE *fp, int width, int height,
                   unsigned char *red, unsigned char *green, unsigned char *blue)
{
    // Rows are read in pieces of at most this many pixels, so that the buffer
    // stays small whatever width a header names: memory follows what the
    // file really holds.
    const int piecePixels = 4096;
    std::vector<unsigned char> piece(static_cast<size_t>(piecePixels) * 3);
    for (int y = height - 1; y >= 0; y--) {
        const size_t base = static_cast<size_t>(y) * width;
        int n = 0;
        for (int x0 = 0; x0 < width; x0 += n) {
            n = width - x0 < piecePixels ? width - x0 : piecePixels;
            const size_t bytes = static_cast<size_t>(n) * 3;
            if (std::fread(piece.data(), 1, bytes, fp) != bytes)
                return false;
            const unsigned char *p = piece.data();
            for (int x = x0; x < x0 + n; x++, p += 3) {
                red[base + x] = p[0];
                green[base + x] = p[1];
                blue[base + x] = p[2];
            }
        }
    }
    return true;
}

bool ppmWrite(std::FILE *fp, int width, int height, const unsigned char *red,
              const unsigned char *green, const unsigned char *blue)
{
    if (std::fprintf(fp, "P6\n%d %d\n%d\n", width, height, 255) < 0)
        return false;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> row(rowBytes);
    for (int y = height - 1; y >= 0; y--) {
        const size_t base = static_cast<size_t>(y) * width;
        unsigned char *p = row.data();
        for (int x = 0; x < width; x++, p += 3) {
            p[0] = red[base + x];
            p[1] = green[base + x];
            p[2] = blue[base + x];
        }
        if (std::fwrite(row.data(), 1, rowBytes, fp) != rowBytes)
            return false;
    }
    return std::fflush(fp) == 0;
}
