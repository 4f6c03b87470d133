// The two PPM readers on malformed files: the engine's (textures and
// background images of glintcmd and glintview) and glintdiff's (the images it
// compares). Compiled once per reader: GLINT_BADINPUT_DIFF selects
// glintdiff's. For each file, the defined result (an image of a given size,
// or none) and the exact text printed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#ifdef GLINT_BADINPUT_DIFF
#include "diff/image.h"
#else
#include "engine/image.h"
#endif
#include "tests/badinput/cases.h"
#include "tests/support.h"

namespace {

enum Msg { NONE, CANNOT_OPEN, CUT_SHORT, NO_IMAGE_DIFF, WIDE_256, WIDE_65535 };

// The text each reader prints, for a file at path.
std::string message(Msg msg, const std::string &path)
{
#ifdef GLINT_BADINPUT_DIFF
    switch (msg) {
    case CANNOT_OPEN:
        return path + " nao pode ser aberto\n";
    case CUT_SHORT:
        return path + " termina antes do fim da imagem\n";
    case NO_IMAGE_DIFF:
        return "N\xE3o foi possivel alocar a imagem " + path + " \n";
    case WIDE_256:
    case WIDE_65535:
        return path + " tem amostras de dois bytes (valor maximo " +
               (msg == WIDE_256 ? "256" : "65535") + "): so sao lidas imagens de valor maximo ate 255\n";
    default:
        return "";
    }
#else
    switch (msg) {
    case CANNOT_OPEN:
        return "\n[#] unable to load image file '" + path + "'.\n";
    case CUT_SHORT:
        return "\n[#] image file '" + path + "' ends before its last pixel.\n";
    case WIDE_256:
    case WIDE_65535:
        return "\n[#] image file '" + path + "' has two-byte samples (maximum value " +
               (msg == WIDE_256 ? "256" : "65535") +
               "); only one-byte samples (maximum value up to 255) are read.\n";
    default:
        // The engine's reader refuses a size that gives no image silently.
        return "";
    }
#endif
}

struct PpmCase {
    std::string name;
    std::string bytes;
    int width;  // 0: no image
    int height;
    Msg msg;
};

std::ostream &operator<<(std::ostream &os, const PpmCase &c) { return os << c.name; }

std::string px(int n) { return std::string(static_cast<size_t>(n) * 3, '\x55'); }

const std::vector<PpmCase> &cases()
{
    static const std::vector<PpmCase> table = {
        {"empty_file", "", 0, 0, NONE},
        {"binary_garbage", badinput::garbage(), 0, 0, NONE},
        {"magic_line_only", "P6\n", 0, 0, NONE},
        {"cut_in_the_width", "P6\n2", 0, 0, NONE},
        {"cut_after_the_width", "P6\n2 ", 0, 0, NONE},
        {"cut_in_the_height", "P6\n2 2", 0, 0, NONE},
        {"cut_in_the_maximum", "P6\n2 2\n25", 0, 0, CUT_SHORT},
        {"cut_before_the_separator", "P6\n2 2\n255", 0, 0, CUT_SHORT},
        {"zero_width_cut_before_the_separator", "P6\n0 2\n255", 0, 0, NO_IMAGE_DIFF},
        // Two-byte samples: refused, whatever the raster holds.
        {"maximum_256_with_two_byte_raster", "P6\n2 2\n256\n" + px(8), 0, 0, WIDE_256},
        {"maximum_65535_with_two_byte_raster", "P6\n2 2\n65535\n" + px(8), 0, 0, WIDE_65535},
        {"maximum_65535_cut_short", "P6\n2 2\n65535\n", 0, 0, WIDE_65535},
        {"maximum_255_with_two_byte_raster", "P6\n2 2\n255\n" + px(8), 2, 2, NONE},
        // A size that gives no image as well: the two-byte report comes first.
        {"zero_width_with_two_byte_samples", "P6\n0 2\n65535\n", 0, 0, WIDE_65535},
        {"negative_height_with_two_byte_samples", "P6\n2 -2\n256\n" + px(8), 0, 0, WIDE_256},
        {"header_only", "P6\n2 2\n255\n", 0, 0, CUT_SHORT},
        {"cut_inside_a_comment", "P6\n# a comment without its end", 0, 0, NONE},
        {"raster_cut_in_the_last_row", "P6\n2 2\n255\n" + px(3) + "\x01\x02", 0, 0, CUT_SHORT},
        {"header_promises_gigapixels", "P6\n46000 46000\n255\n" + px(1), 0, 0, CUT_SHORT},
        {"zero_width", "P6\n0 2\n255\n", 0, 0, NO_IMAGE_DIFF},
        {"negative_height", "P6\n2 -2\n255\n" + px(4), 0, 0, NO_IMAGE_DIFF},
        // 2^32 pixels do not fit the int that sizes a plane.
        {"pixel_count_beyond_int", "P6\n65536 65536\n255\n" + px(1), 0, 0, NO_IMAGE_DIFF},
        // glibc keeps the low 32 bits of a number too large for an int
        // (4294967297 reads as 1), and one too large even for a long reads
        // as -1.
        {"width_beyond_int_keeps_its_low_bits", "P6\n4294967297 1\n255\n" + px(1), 1, 1, NONE},
        {"width_beyond_long", "P6\n99999999999999999999 1\n255\n" + px(1), 0, 0, NO_IMAGE_DIFF},
        {"comment_line_of_10000_characters",
         "P6\n#" + std::string(10000, 'x') + "\n2 1\n255\n" + px(2), 2, 1, NONE},
        {"blank_line_of_10000_characters", "P6\n" + std::string(10000, ' ') + "\n2 1\n255\n" + px(2),
         2, 1, NONE},
        // Rows are read in pieces; a row longer than a piece reads whole.
        {"row_of_9000_pixels", "P6\n9000 2\n255\n" + px(18000), 9000, 2, NONE},
        {"first_line_with_carriage_return", "P6\r\n1 1\n255\n" + px(1), 0, 0, NONE},
        {"nul_byte_in_the_magic_line", std::string("P6\0\n1 1\n255\n", 12) + px(1), 0, 0, NONE},
    };
    return table;
}

class PpmBadInput : public ::testing::TestWithParam<PpmCase> {};

TEST_P(PpmBadInput, GivesTheDefinedResult)
{
    const PpmCase &c = GetParam();
    TempDir dir;
    const std::string path = dir.write("in.ppm", c.bytes);
    Image *image = nullptr;
    const std::string out = captureStdout([&] { image = imgReadPPM(path.c_str()); });
    EXPECT_EQ(maskPrefixes(out), message(c.msg, path));
    if (c.width == 0) {
        EXPECT_EQ(image, nullptr);
    } else {
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(imgGetWidth(image), c.width);
        EXPECT_EQ(imgGetHeight(image), c.height);
        EXPECT_EQ(imgGetRed(image, c.width - 1, 0), 0x55);
    }
    imgDestroy(image);
}

INSTANTIATE_TEST_SUITE_P(Files, PpmBadInput, ::testing::ValuesIn(cases()),
                         [](const auto &info) { return info.param.name; });

TEST(PpmBadInputFiles, MissingFileIsReported)
{
    TempDir dir;
    const std::string path = dir.file("no-such.ppm");
    Image *image = nullptr;
    const std::string out = captureStdout([&] { image = imgReadPPM(path.c_str()); });
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(maskPrefixes(out), message(CANNOT_OPEN, path));
}

// A directory opens for reading but yields no first line: no image, and no
// message, as for any file that does not begin with the magic line.
TEST(PpmBadInputFiles, DirectoryGivesNoImageSilently)
{
    TempDir dir;
    Image *image = nullptr;
    const std::string out = captureStdout([&] { image = imgReadPPM(dir.path().c_str()); });
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(out, "");
}

// Inputs the fuzzers found (fuzz/regressions/): headers whose width wraps to
// hundreds of millions of pixels over a file of a few bytes. They made the
// reader allocate gigabytes (and a row buffer of the whole width) before
// finding the file short; now they are refused before any allocation.
TEST(PpmBadInputFiles, FuzzRegressionsGiveNoImage)
{
    const std::string folder = sourceDir() + "/fuzz/regressions/";
    for (const char *name : {"diff_ppm/width-wraps-to-two-gigapixels.ppm",
                             "diff_ppm/header-promises-672-megapixels.ppm"}) {
        const std::string path = folder + name;
        ASSERT_TRUE(fileExists(path)) << path;
        Image *image = nullptr;
        const std::string out = captureStdout([&] { image = imgReadPPM(path.c_str()); });
        EXPECT_EQ(image, nullptr) << name;
        EXPECT_EQ(maskPrefixes(out), message(CUT_SHORT, path)) << name;
    }
}

}  // namespace
