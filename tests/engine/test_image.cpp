#include <gtest/gtest.h>

#include <string>

#include "engine/image.h"
#include "tests/support.h"

namespace {

const std::string kMagic = "P6\n";

// Reads a PPM file from bytes; returns the image (or nullptr) and what the
// reader printed.
Image *readBytes(const TempDir &dir, const std::string &bytes, std::string *out = nullptr)
{
    std::string path = dir.write("in.ppm", bytes);
    Image *img = nullptr;
    std::string printed = captureStdout([&] { img = imgReadPPM(path.c_str()); });
    if (out)
        *out = printed;
    return img;
}

void expectPixel(const Image *img, int x, int y, int r, int g, int b)
{
    EXPECT_EQ(imgGetRed(img, x, y), r) << x << "," << y;
    EXPECT_EQ(imgGetGreen(img, x, y), g) << x << "," << y;
    EXPECT_EQ(imgGetBlue(img, x, y), b) << x << "," << y;
}

TEST(ImageCreate, RefusesEmptyAndOverflowingSizes)
{
    EXPECT_EQ(imgCreate(0, 5), nullptr);
    EXPECT_EQ(imgCreate(5, -1), nullptr);
    EXPECT_EQ(imgCreate(65536, 65536), nullptr);  // 2^32 pixels do not fit an int
    imgDestroy(nullptr);
}

TEST(ImageCreate, StartsBlack)
{
    Image *img = imgCreate(3, 2);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(imgGetWidth(img), 3);
    EXPECT_EQ(imgGetHeight(img), 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            expectPixel(img, x, y, 0, 0, 0);
    imgSetPixel(img, 2, 1, 1, 2, 3);
    expectPixel(img, 2, 1, 1, 2, 3);
    EXPECT_EQ(imgGetRedPlane(img)[1 * 3 + 2], 1);
    EXPECT_EQ(imgGetGreenPlane(img)[5], 2);
    EXPECT_EQ(imgGetBluePlane(img)[5], 3);
    imgDestroy(img);
}

TEST(ImageWrite, OnePixelGivesElevenHeaderBytesThenTheSamples)
{
    TempDir dir;
    Image *img = imgCreate(1, 1);
    imgSetPixel(img, 0, 0, 255, 0, 10);
    std::string path = dir.file("one.ppm");
    int ok = 0;
    std::string out = captureStdout([&] { ok = imgWritePPM(img, path.c_str()); });
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(out, "\nO " + path + " was written successfully.\n");
    EXPECT_EQ(readFile(path), std::string("P6\n1 1\n255\n\xff\x00\x0a", 14));
    imgDestroy(img);
}

TEST(ImageWrite, TopRowFirstAndRoundTrip)
{
    TempDir dir;
    Image *img = imgCreate(3, 2);
    int v = 0;
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++, v += 3)
            imgSetPixel(img, x, y, v, v + 1, v + 2);
    std::string path = dir.file("rt.ppm");
    captureStdout([&] { ASSERT_EQ(imgWritePPM(img, path.c_str()), 1); });
    std::string bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 11u + 18u);
    // The file's first pixel is image pixel (0, 1).
    EXPECT_EQ(static_cast<unsigned char>(bytes[11]), 9);
    Image *back = nullptr;
    captureStdout([&] { back = imgReadPPM(path.c_str()); });
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(imgGetWidth(back), 3);
    ASSERT_EQ(imgGetHeight(back), 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            expectPixel(back, x, y, imgGetRed(img, x, y), imgGetGreen(img, x, y), imgGetBlue(img, x, y));
    imgDestroy(img);
    imgDestroy(back);
}

TEST(ImageWrite, UnwritablePathsFail)
{
    // A small image reaches the disk only when the file is closed; a row of
    // 2000 pixels is wider than the stream's buffer and is written from
    // inside the row's write.
    for (int width : {2, 2000}) {
        Image *img = imgCreate(width, 2);
        const char *paths[] = {"/nonexistent-folder/out.ppm", "/dev/full"};
        for (const char *p : paths) {
            int ok = -1;
            std::string out = captureStdout([&] { ok = imgWritePPM(img, p); });
            EXPECT_EQ(ok, 0) << p << " " << width;
            EXPECT_EQ(maskPrefixes(out), std::string("\n[#] unable to write image file '") + p + "'\n")
                << width;
        }
        imgDestroy(img);
    }
}

TEST(ImageRead, HeaderComments)
{
    TempDir dir;
    std::string raster("\x01\x02\x03\x04\x05\x06", 6);
    const std::string headers[] = {
        "# made here\n2 1\n255\n",
        "#a\n2 #after the width\n#between\n1\n# before max\n255\n",
        "\n\n  2\n\t1 255\n",
        "2 1\n15\n",  // another maximum up to 255 is ignored
        "2 1\n1\n",
    };
    for (const std::string &h : headers) {
        std::string out;
        Image *img = readBytes(dir, kMagic + h + raster, &out);
        ASSERT_NE(img, nullptr) << h;
        EXPECT_EQ(out, "");
        EXPECT_EQ(imgGetWidth(img), 2);
        EXPECT_EQ(imgGetHeight(img), 1);
        expectPixel(img, 0, 0, 1, 2, 3);
        expectPixel(img, 1, 0, 4, 5, 6);
        imgDestroy(img);
    }
}

TEST(ImageRead, CommentAfterMaximumIsRaster)
{
    // Only one byte follows the maximum value; the comment becomes pixels.
    TempDir dir;
    Image *img = readBytes(dir, kMagic + "1 2\n255 #x\n\x07\x08\x09");
    ASSERT_NE(img, nullptr);
    expectPixel(img, 0, 1, '#', 'x', '\n');
    expectPixel(img, 0, 0, 7, 8, 9);
    imgDestroy(img);
}

TEST(ImageRead, CarriageReturnAfterMaximumLeavesLineFeedAsFirstSample)
{
    TempDir dir;
    Image *img = readBytes(dir, kMagic + "1 1\n255\r\n\x05\x06");
    ASSERT_NE(img, nullptr);
    expectPixel(img, 0, 0, '\n', 5, 6);
    imgDestroy(img);
}

TEST(ImageRead, LongCommentIsDroppedInPiecesOf79)
{
    TempDir dir;
    // The second 79-character piece begins with digits, which become the width.
    std::string comment = "#" + std::string(78, 'c') + "3 9\n";
    Image *img = readBytes(dir, kMagic + comment + "255\n" + std::string(3 * 9 * 3, 'z'));
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(imgGetWidth(img), 3);
    EXPECT_EQ(imgGetHeight(img), 9);  // "9" follows on the same piece
    imgDestroy(img);
}

TEST(ImageRead, SilentRefusals)
{
    TempDir dir;
    const std::string files[] = {
        "P6\r\n1 1\n255\nabc",  // carriage return in the magic line
        "P6 1 1 255\nabc",      // whole header on one line
        "P3\n1 1\n255\n1 2 3",
        "",
        "P6\n0 4\n255\n",        // no pixels
        "P6\n70000 70000\n255\n",  // pixel count beyond an int
    };
    for (const std::string &f : files) {
        std::string out = "unset";
        EXPECT_EQ(readBytes(dir, f, &out), nullptr) << f;
        EXPECT_EQ(out, "") << f;
    }
}

TEST(ImageRead, EndOfFileInTheHeaderEndsTheReadSilently)
{
    TempDir dir;
    const std::string files[] = {
        "P6\n", "P6\n# only a comment", "P6\n2", "P6\n2 2\n", "P6\n2\n#c\n",
        "P6\n0 2\n255",  // no pixels, and no separator
    };
    for (const std::string &f : files) {
        std::string out = "unset";
        EXPECT_EQ(readBytes(dir, f, &out), nullptr) << f;
        EXPECT_EQ(out, "") << f;
    }
}

TEST(ImageRead, ShortRasterGivesNoImage)
{
    TempDir dir;
    // From a file that ends right after its maximum value (no separator) to
    // one that lacks the last byte of its last pixel.
    const std::string files[] = {"2 2\n255", "2 2\n25", "2 2\n255\n",
                                 "2 2\n255\n" + std::string(11, 'a')};
    for (const std::string &f : files) {
        std::string out;
        EXPECT_EQ(readBytes(dir, kMagic + f, &out), nullptr) << f;
        EXPECT_EQ(maskPrefixes(out),
                  "\n[#] image file '" + dir.file("in.ppm") + "' ends before its last pixel.\n")
            << f;
    }
}

TEST(ImageRead, TwoByteSamplesAreRefusedWithAMessage)
{
    TempDir dir;
    // 2 x 1 pixels of two-byte samples: 12 raster bytes.
    for (const std::string maxval : {"256", "65535"}) {
        std::string out;
        EXPECT_EQ(readBytes(dir, kMagic + "2 1\n" + maxval + "\n" + std::string(12, 'a'), &out),
                  nullptr)
            << maxval;
        EXPECT_EQ(maskPrefixes(out), "\n[#] image file '" + dir.file("in.ppm") +
                                         "' has two-byte samples (maximum value " + maxval +
                                         "); only one-byte samples (maximum value up to 255) "
                                         "are read.\n");
    }
    // 255 with the same bytes is a one-byte image; the bytes left over are
    // not looked at.
    std::string out;
    Image *img = readBytes(dir, kMagic + "2 1\n255\n" + std::string(12, 'a'), &out);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(out, "");
    expectPixel(img, 1, 0, 'a', 'a', 'a');
    imgDestroy(img);
}

TEST(ImageRead, MissingFileIsReported)
{
    Image *img = nullptr;
    std::string out = captureStdout([&] { img = imgReadPPM("/nonexistent/t.ppm"); });
    EXPECT_EQ(img, nullptr);
    EXPECT_EQ(maskPrefixes(out), "\n[#] unable to load image file '/nonexistent/t.ppm'.\n");
    EXPECT_EQ(out.rfind("\n[engine/image.cpp:", 0), 0u);
}

}  // namespace
