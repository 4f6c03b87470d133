// Cost of glintdiff's two measures, the colour count and the error, on two
// 4096 x 4096 images of about a million distinct colours (one colour for
// every 16 pixels), and on two 2048 x 2048 images of the same make, so that
// the cost per pixel at the two sizes can be compared: it should stay flat,
// the measures being linear in the pixel count. With "all", a last run counts
// an image that holds every 24-bit colour once (about 1.5 GB of memory).
//
// Usage: glint_diff_bench [repeats [all]]   (default 3; the best time is kept)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "diff/image.h"
#include "diff/measures.h"

namespace {

using Clock = std::chrono::steady_clock;

// Small deterministic generator (xorshift).
struct Random {
    unsigned long long state;
    unsigned next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<unsigned>(state >> 11);
    }
};

// An image whose colours are drawn at random from palette distinct ones (a
// power of two): a colour number times an odd constant modulo 2^24 is a
// different 24-bit colour for every number. The second image takes its
// colours from the same set.
void fillPair(Image *a, Image *b, unsigned palette)
{
    Random random{0x9E3779B97F4A7C15ull ^ palette};
    const unsigned mask = palette - 1;
    const int width = imgGetWidth(a), height = imgGetHeight(a);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned k = random.next() & mask;
            const unsigned v = (k * 0x2C9277Bu) & 0xFFFFFF;
            imgSetPixel(a, x, y, v & 255, (v >> 8) & 255, v >> 16);
            // One pixel in eight takes a neighbouring colour number.
            const unsigned k2 = (random.next() & 7) == 0 ? (k + 1) & mask : k;
            const unsigned v2 = (k2 * 0x2C9277Bu) & 0xFFFFFF;
            imgSetPixel(b, x, y, v2 & 255, (v2 >> 8) & 255, v2 >> 16);
        }
}

void copyImage(Image *to, Image *from)
{
    const size_t n = static_cast<size_t>(imgGetWidth(from)) * imgGetHeight(from);
    std::memcpy(imgGetRedPlane(to), imgGetRedPlane(from), n);
    std::memcpy(imgGetGreenPlane(to), imgGetGreenPlane(from), n);
    std::memcpy(imgGetBluePlane(to), imgGetBluePlane(from), n);
}

double seconds(Clock::time_point t0, Clock::time_point t1)
{
    return std::chrono::duration<double>(t1 - t0).count();
}

struct Figures {
    double countNs;
    double errorNs;
};

Figures measure(int side, int repeats)
{
    Image *a = imgCreate(side, side);
    Image *b = imgCreate(side, side);
    Image *work = imgCreate(side, side);
    if (a == nullptr || b == nullptr || work == nullptr) {
        std::fprintf(stderr, "out of memory for %dx%d\n", side, side);
        std::exit(1);
    }
    fillPair(a, b, static_cast<unsigned>(side) * side / 16);
    const double pixels = static_cast<double>(side) * side;
    double bestCount = 1e30, bestError = 1e30;
    int count1 = 0, count2 = 0;
    double error = 0.0;
    for (int i = 0; i < repeats; i++) {
        Clock::time_point t0 = Clock::now();
        count1 = imgCountColors(a);
        Clock::time_point t1 = Clock::now();
        count2 = imgCountColors(b);
        Clock::time_point t2 = Clock::now();
        const double s = (seconds(t0, t1) + seconds(t1, t2)) / 2;
        if (s < bestCount)
            bestCount = s;

        copyImage(work, b);
        t0 = Clock::now();
        error = imgError(a, work);
        t1 = Clock::now();
        if (seconds(t0, t1) < bestError)
            bestError = seconds(t0, t1);
    }
    std::printf("%5dx%-5d colours %8d and %8d  error %.3f\n", side, side, count1, count2, error);
    std::printf("            count %7.1f ns/pixel (%.3f s)   error %5.2f ns/pixel (%.3f s)\n",
                bestCount * 1e9 / pixels, bestCount, bestError * 1e9 / pixels, bestError);
    imgDestroy(a);
    imgDestroy(b);
    imgDestroy(work);
    return {bestCount * 1e9 / pixels, bestError * 1e9 / pixels};
}

}  // namespace

int main(int argc, char **argv)
{
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 3;
    const bool all = argc > 2 && std::strcmp(argv[2], "all") == 0;
    const Figures small = measure(2048, repeats);
    const Figures large = measure(4096, repeats);
    std::printf("per-pixel cost 4096 / 2048: count %.2f, error %.2f (1.00 is linear)\n",
                large.countNs / small.countNs, large.errorNs / small.errorNs);

    if (!all)
        return 0;
    // Every 24-bit colour once.
    Image *every = imgCreate(4096, 4096);
    if (every == nullptr)
        return 1;
    for (int v = 0; v < (1 << 24); v++)
        imgSetPixel(every, v % 4096, v / 4096, v & 255, (v >> 8) & 255, v >> 16);
    const Clock::time_point t0 = Clock::now();
    const int count = imgCountColors(every);
    const Clock::time_point t1 = Clock::now();
    std::printf("every 24-bit colour: counted %d of %d in %.3f s (%.1f ns/pixel)\n", count, 1 << 24,
                seconds(t0, t1), seconds(t0, t1) * 1e9 / (1 << 24));
    imgDestroy(every);
    return count == (1 << 24) ? 0 : 1;
}
