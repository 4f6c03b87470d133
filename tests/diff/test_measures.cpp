#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "diff/hash_private.h"
#include "diff/measures.h"

namespace {

struct Rgb {
    int r, g, b;
};

// An image of width x height from pixels listed row 0 first.
Image *imageOf(int width, int height, const std::vector<Rgb> &pixels)
{
    Image *image = imgCreate(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const Rgb &p = pixels[y * width + x];
            imgSetPixel(image, x, y, p.r, p.g, p.b);
        }
    return image;
}

void expectPixel(const Image *image, int x, int y, Rgb want)
{
    EXPECT_EQ(imgGetRed(image, x, y), want.r);
    EXPECT_EQ(imgGetGreen(image, x, y), want.g);
    EXPECT_EQ(imgGetBlue(image, x, y), want.b);
}

void *failEverything(std::size_t) { return nullptr; }

}  // namespace

TEST(DiffCountColors, SmallImages)
{
    struct {
        int width, height;
        std::vector<Rgb> pixels;
        int count;
    } const cases[] = {
        {1, 1, {{9, 9, 9}}, 1},
        {3, 2, std::vector<Rgb>(6, {40, 50, 60}), 1},
        {2, 1, {{0, 0, 0}, {0, 0, 5}}, 2},
        {2, 1, {{7, 0, 0}, {7, 0, 9}}, 2},
        {2, 1, {{0, 0, 0}, {0, 0, 0}}, 1},
        // Keys must not mix the channels: these differ only by where bits sit.
        {2, 2, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {16, 0, 0}}, 4},
        {2, 2, {{255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {128, 128, 128}}, 3},
    };
    for (const auto &c : cases) {
        Image *image = imageOf(c.width, c.height, c.pixels);
        EXPECT_EQ(imgCountColors(image), c.count);
        imgDestroy(image);
    }
}

TEST(DiffCountColors, CountsPastTheFormerTableLimit)
{
    // 2^21 distinct colours: more than a table of 2097143 slots would take.
    const int width = 2048, height = 1024;
    Image *image = imgCreate(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const int v = y * width + x;
            imgSetPixel(image, x, y, v & 255, (v >> 8) & 255, v >> 16);
        }
    EXPECT_EQ(imgCountColors(image), width * height);
    imgDestroy(image);
}

TEST(DiffCountColors, NoTableGivesZero)
{
    Image *image = imageOf(1, 1, {{1, 2, 3}});
    hashAllocator = failEverything;
    const int count = imgCountColors(image);
    hashAllocator = std::malloc;
    EXPECT_EQ(count, 0);
    imgDestroy(image);
}

TEST(DiffError, MeanDistanceAndDifferenceImage)
{
    Image *a = imageOf(1, 1, {{10, 20, 30}});
    Image *b = imageOf(1, 1, {{13, 24, 30}});
    EXPECT_EQ(imgError(a, b), 5.0);
    expectPixel(b, 0, 0, {3, 4, 0});
    expectPixel(a, 0, 0, {10, 20, 30});
    imgDestroy(a);
    imgDestroy(b);

    a = imageOf(1, 1, {{255, 255, 255}});
    b = imageOf(1, 1, {{0, 0, 0}});
    EXPECT_EQ(imgError(a, b), std::sqrt(3.0 * 255.0 * 255.0));
    expectPixel(b, 0, 0, {255, 255, 255});
    imgDestroy(a);
    imgDestroy(b);
}

TEST(DiffError, IsTheMeanOverAllPixelsAndSubtractsImage2FromImage1)
{
    // Distances 5, 0, 13 and 0: mean 4.5; differences are absolute.
    Image *a = imageOf(2, 2, {{0, 0, 0}, {1, 1, 1}, {12, 0, 5}, {200, 100, 50}});
    Image *b = imageOf(2, 2, {{3, 4, 0}, {1, 1, 1}, {0, 0, 0}, {200, 100, 50}});
    EXPECT_EQ(imgError(a, b), 4.5);
    expectPixel(b, 0, 0, {3, 4, 0});
    expectPixel(b, 1, 0, {0, 0, 0});
    expectPixel(b, 0, 1, {12, 0, 5});
    expectPixel(b, 1, 1, {0, 0, 0});
    // Measuring again compares image 1 with the difference picture.
    EXPECT_NEAR(imgError(a, b), (5.0 + std::sqrt(3.0) + 0.0 + std::sqrt(200.0 * 200 + 100 * 100 + 50 * 50)) / 4,
                1e-12);
    imgDestroy(a);
    imgDestroy(b);
}

TEST(DiffError, IdenticalImagesGiveZeroAndABlackPicture)
{
    std::vector<Rgb> pixels;
    for (int i = 0; i < 12; i++)
        pixels.push_back({i * 20, 255 - i, i * i});
    Image *a = imageOf(4, 3, pixels);
    Image *b = imageOf(4, 3, pixels);
    EXPECT_EQ(imgError(a, b), 0.0);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++)
            expectPixel(b, x, y, {0, 0, 0});
    imgDestroy(a);
    imgDestroy(b);
}

TEST(DiffError, DifferentSizesChangeNothing)
{
    std::vector<Rgb> pixels(6, {1, 2, 3});
    Image *a = imageOf(3, 2, pixels);
    Image *b = imageOf(2, 3, std::vector<Rgb>(6, {9, 8, 7}));
    EXPECT_EQ(imgError(a, b), -1.0);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 2; x++)
            expectPixel(b, x, y, {9, 8, 7});
    Image *c = imageOf(3, 1, std::vector<Rgb>(3, {9, 8, 7}));
    EXPECT_EQ(imgError(a, c), -1.0);
    expectPixel(c, 2, 0, {9, 8, 7});
    imgDestroy(a);
    imgDestroy(b);
    imgDestroy(c);
}
