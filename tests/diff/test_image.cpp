#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "diff/image.h"
#include "tests/support.h"

namespace {

const std::string NAO = "N\xE3" "o";

// n raster bytes 0, 1, 2 ...
std::string raster(int n)
{
    std::string bytes;
    for (int i = 0; i < n; i++)
        bytes.push_back(static_cast<char>(i));
    return bytes;
}

struct Read {
    Image *image;
    std::string out;
};

Read readBytes(const TempDir &dir, const std::string &bytes)
{
    const std::string path = dir.write("in.ppm", bytes);
    Read r{nullptr, ""};
    r.out = captureStdout([&] { r.image = imgReadPPM(path.c_str()); });
    return r;
}

void expectPixel(const Image *image, int x, int y, int r, int g, int b)
{
    EXPECT_EQ(imgGetRed(image, x, y), r) << "(" << x << ", " << y << ")";
    EXPECT_EQ(imgGetGreen(image, x, y), g) << "(" << x << ", " << y << ")";
    EXPECT_EQ(imgGetBlue(image, x, y), b) << "(" << x << ", " << y << ")";
}

}  // namespace

TEST(DiffImageCreate, RefusesSizesThatGiveNoImage)
{
    EXPECT_EQ(imgCreate(0, 5), nullptr);
    EXPECT_EQ(imgCreate(5, -1), nullptr);
    EXPECT_EQ(imgCreate(65536, 32768), nullptr);  // 2^31 pixels
    imgDestroy(nullptr);
    Image *image = imgCreate(3, 2);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imgGetWidth(image), 3);
    EXPECT_EQ(imgGetHeight(image), 2);
    imgSetPixel(image, 2, 1, 7, 8, 9);
    expectPixel(image, 2, 1, 7, 8, 9);
    EXPECT_EQ(imgGetRedPlane(image)[1 * 3 + 2], 7);
    EXPECT_EQ(imgGetGreenPlane(image)[5], 8);
    EXPECT_EQ(imgGetBluePlane(image)[5], 9);
    imgDestroy(image);
}

TEST(DiffImageRead, HeaderWithCommentLines)
{
    TempDir dir;
    Read r = readBytes(dir, "P6\n# made by hand\n3 2\n# another\n255\n" + raster(18));
    ASSERT_NE(r.image, nullptr);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(imgGetWidth(r.image), 3);
    EXPECT_EQ(imgGetHeight(r.image), 2);
    expectPixel(r.image, 0, 1, 0, 1, 2);    // first bytes: top row, left
    expectPixel(r.image, 2, 1, 6, 7, 8);
    expectPixel(r.image, 0, 0, 9, 10, 11);
    expectPixel(r.image, 2, 0, 15, 16, 17);  // last bytes: bottom row, right
    imgDestroy(r.image);
}

TEST(DiffImageRead, CommentsAfterWidthAndHeightOnTheirLines)
{
    TempDir dir;
    Read r = readBytes(dir, "P6\n2 # width\n1 # height\n255\n" + raster(6));
    ASSERT_NE(r.image, nullptr);
    EXPECT_EQ(imgGetWidth(r.image), 2);
    EXPECT_EQ(imgGetHeight(r.image), 1);
    expectPixel(r.image, 1, 0, 3, 4, 5);
    imgDestroy(r.image);
}

TEST(DiffImageRead, MaximumValueUpTo255IsIgnored)
{
    for (const char *maxval : {"15", "1", "255"}) {
        TempDir dir;
        Read r = readBytes(dir, std::string("P6\n2 1\n") + maxval + "\n" + "\xff\x80\x01\x02\x03\x04");
        ASSERT_NE(r.image, nullptr) << maxval;
        EXPECT_EQ(r.out, "") << maxval;
        expectPixel(r.image, 0, 0, 255, 128, 1);
        expectPixel(r.image, 1, 0, 2, 3, 4);
        imgDestroy(r.image);
    }
}

TEST(DiffImageRead, TwoByteSamplesAreRefusedWithAMessage)
{
    // Above 255 every sample takes two bytes: a raster of the right
    // two-byte length (12 bytes for 2 x 1) gives no image.
    for (const char *maxval : {"256", "65535"}) {
        TempDir dir;
        const std::string path = dir.file("in.ppm");
        Read r = readBytes(dir, std::string("P6\n2 1\n") + maxval + "\n" + raster(12));
        EXPECT_EQ(r.image, nullptr) << maxval;
        EXPECT_EQ(r.out, path + " tem amostras de dois bytes (valor maximo " + maxval +
                             "): so sao lidas imagens de valor maximo ate 255\n");
    }
}

TEST(DiffImageRead, LongCommentIsDiscardedIn255BytePieces)
{
    TempDir dir;
    // The first piece is the 255 bytes "#x...x"; the next begins with 2.
    const std::string comment = "#" + std::string(254, 'x');
    Read r = readBytes(dir, "P6\n" + comment + "2 1\n255\n" + raster(6));
    ASSERT_NE(r.image, nullptr);
    EXPECT_EQ(imgGetWidth(r.image), 2);
    EXPECT_EQ(imgGetHeight(r.image), 1);
    imgDestroy(r.image);

    // A longer comment of letters only is passed over whole.
    r = readBytes(dir, "P6\n#" + std::string(600, 'y') + "\n1 1\n255\n" + raster(3));
    ASSERT_NE(r.image, nullptr);
    EXPECT_EQ(imgGetWidth(r.image), 1);
    imgDestroy(r.image);
}

TEST(DiffImageRead, CarriageReturnAfterMaximumLeavesTheLineFeedAsData)
{
    TempDir dir;
    Read r = readBytes(dir, "P6\n1 1\n255\r\n\x05\x06");
    ASSERT_NE(r.image, nullptr);
    expectPixel(r.image, 0, 0, '\n', 5, 6);
    imgDestroy(r.image);
}

TEST(DiffImageRead, WrongFirstLinesAreRefusedSilently)
{
    TempDir dir;
    for (const std::string &bytes : {std::string("P6\r\n1 1\n255\n") + raster(3),
                                    std::string("P6 1 1 255\n") + raster(3),
                                    std::string("P3\n1 1\n255\n0 0 0\n"), std::string(" P6\n"),
                                    std::string("")}) {
        Read r = readBytes(dir, bytes);
        EXPECT_EQ(r.image, nullptr);
        EXPECT_EQ(r.out, "");
    }
}

TEST(DiffImageRead, HeaderCutShortByTheEndOfTheFile)
{
    TempDir dir;
    for (const char *bytes : {"P6\n", "P6\n3", "P6\n3 2\n", "P6\n# only a comment",
                              "P6\n3 2\n# comment\n"}) {
        Read r = readBytes(dir, std::string(bytes));
        EXPECT_EQ(r.image, nullptr) << bytes;
        EXPECT_EQ(r.out, "") << bytes;
    }
}

TEST(DiffImageRead, SizeThatGivesNoImageIsReported)
{
    TempDir dir;
    const std::string path = dir.file("in.ppm");
    for (const char *size : {"0 4", "4 -1", "65536 65536", "2147483647 2"}) {
        Read r = readBytes(dir, "P6\n" + std::string(size) + "\n255\n" + raster(12));
        EXPECT_EQ(r.image, nullptr) << size;
        EXPECT_EQ(r.out, NAO + " foi possivel alocar a imagem " + path + " \n") << size;
        // The same when the file ends right after the maximum value.
        r = readBytes(dir, "P6\n" + std::string(size) + "\n255");
        EXPECT_EQ(r.image, nullptr) << size;
        EXPECT_EQ(r.out, NAO + " foi possivel alocar a imagem " + path + " \n") << size;
    }
}

TEST(DiffImageRead, RasterCutShortGivesNoImage)
{
    TempDir dir;
    const std::string path = dir.file("in.ppm");
    // The file may end anywhere from right after the maximum value (no
    // separator byte) to one byte before the last pixel's end.
    for (const std::string &bytes : {std::string("P6\n3 2\n255"), std::string("P6\n3 2\n25"),
                                     std::string("P6\n3 2\n255\n"), "P6\n3 2\n255\n" + raster(1),
                                     "P6\n3 2\n255\n" + raster(17)}) {
        Read r = readBytes(dir, bytes);
        EXPECT_EQ(r.image, nullptr) << bytes;
        EXPECT_EQ(r.out, path + " termina antes do fim da imagem\n") << bytes;
    }
}

TEST(DiffImageRead, MissingFileIsReported)
{
    TempDir dir;
    const std::string path = dir.file("absent.ppm");
    Image *image = nullptr;
    const std::string out = captureStdout([&] { image = imgReadPPM(path.c_str()); });
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(out, path + " nao pode ser aberto\n");
}

TEST(DiffImageWrite, HeaderRowOrderAndRoundTrip)
{
    TempDir dir;
    Image *image = imgCreate(3, 2);
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            imgSetPixel(image, x, y, 10 * x + y, 100 + x, 200 + y);
    imgSetPixel(image, 1, 0, 0, 0, 0);  // zero bytes are written as bytes
    const std::string path = dir.file("out.ppm");
    int result = 0;
    const std::string out = captureStdout([&] { result = imgWritePPM(image, path.c_str()); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(out, "\nO " + path + " foi gerado com sucesso.\n");
    const std::string bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 11u + 18u);
    EXPECT_EQ(bytes.substr(0, 11), "P6\n3 2\n255\n");
    EXPECT_EQ(bytes.substr(11, 3), std::string("\x01\x64\xc9", 3));  // pixel (0, 1)
    EXPECT_EQ(bytes.substr(14 + 9, 3), std::string("\0\0\0", 3));   // pixel (1, 0)

    Image *back = nullptr;
    captureStdout([&] { back = imgReadPPM(path.c_str()); });
    ASSERT_NE(back, nullptr);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            expectPixel(back, x, y, imgGetRed(image, x, y), imgGetGreen(image, x, y),
                        imgGetBlue(image, x, y));
    imgDestroy(back);
    imgDestroy(image);
}

TEST(DiffImageWrite, FailuresAreReportedWithZero)
{
    Image *image = imgCreate(64, 64);
    ASSERT_NE(image, nullptr);
    TempDir dir;
    const std::string unopenable = dir.file("no/such/folder.ppm");
    int result = 1;
    std::string out = captureStdout([&] { result = imgWritePPM(image, unopenable.c_str()); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(out, "\n" + NAO + " foi possivel abrir o arquivo " + unopenable + "\n");

    // Opens, but every write fails: not a success, whether the data reach
    // the disk at the close (small images) or inside the write of a row
    // wider than the stream's buffer (2000 pixels).
    Image *wide = imgCreate(2000, 1);
    ASSERT_NE(wide, nullptr);
    for (Image *img : {image, wide}) {
        result = 1;
        out = captureStdout([&] { result = imgWritePPM(img, "/dev/full"); });
        EXPECT_EQ(result, 0) << imgGetWidth(img);
        EXPECT_EQ(out, "\n" + NAO + " foi possivel gravar o arquivo /dev/full\n") << imgGetWidth(img);
    }
    imgDestroy(wide);
    imgDestroy(image);
}

TEST(DiffImageHelpers, ByteConversionsAndDistance)
{
    EXPECT_EQ(byteToUnit(0), 0.0);
    EXPECT_EQ(byteToUnit(255), 1.0);
    EXPECT_EQ(byteToUnit(51), 51 / 255.0);
    struct {
        double v;
        int byte;
    } const cases[] = {{1.0, 255}, {0.5, 127}, {1.5, 126}, {0.0, 0},       {0.999, 254},
                       {-0.5, 129}, {2.0, 254}, {1e12, 0}, {NAN, 0},       {INFINITY, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(unitToByte(c.v), c.byte) << c.v;
    EXPECT_EQ(sqrDistRGB(0, 0, 0, 3, 4, 0), 25.0);
    EXPECT_EQ(sqrDistRGB(255, 255, 255, 0, 0, 0), 195075.0);
    EXPECT_EQ(sqrDistRGB(1, 2, 3, 1, 2, 3), 0.0);
}
