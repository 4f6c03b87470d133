#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/color.h"
#include "tests/support.h"

namespace {

void expectColor(Color c, double r, double g, double b)
{
    EXPECT_EQ(c.red, r);
    EXPECT_EQ(c.green, g);
    EXPECT_EQ(c.blue, b);
}

TEST(Color, ConstructionClampsEveryComponent)
{
    expectColor(colCreate(-0.5, 0.5, 1.5), 0, 0.5, 1);
    expectColor(colCreate(1.0, 0.0, 1.0), 1, 0, 1);
    expectColor(colCreate(NAN, -NAN, INFINITY), 0, 0, 1);
    expectColor(colCreate(-0.0, 1e-300, -INFINITY), 0, 1e-300, 0);
}

TEST(Color, ArithmeticClampsOnlyTheResult)
{
    expectColor(colAdd(colCreate(0.75, 0.75, 0.75), colCreate(0.5, 0.125, 0)), 1, 0.875, 0.75);
    expectColor(colScale(2, colCreate(0.3, 0.6, 0)), 0.6, 1, 0);
    expectColor(colModulate(0.5, colCreate(1, 1, 0.5), colCreate(0.4, 1, 1)), 0.2, 0.5, 0.25);
    // The factors are multiplied first, then the scalar: (0.5 * 0.5) * 4 clamps to 1.
    expectColor(colModulate(4, colCreate(0.5, 0.1, 0), colCreate(0.5, 0.1, 1)), 1, (0.1 * 0.1) * 4, 0);
    expectColor(colScale(NAN, colCreate(1, 1, 1)), 0, 0, 0);
    expectColor(colScale(-1, colCreate(1, 1, 1)), 0, 0, 0);
}

TEST(Color, CopyDoesNotClamp)
{
    Color c = {1.5, -2, 0.25};
    expectColor(colCopy(c), 1.5, -2, 0.25);
    EXPECT_EQ(colGetRed(c), 1.5);
    EXPECT_EQ(colGetGreen(c), -2);
    EXPECT_EQ(colGetBlue(c), 0.25);
}

TEST(ColorRead, DividesBy255AndClamps)
{
    struct Case {
        const char *text;
        double r, g, b;
    } cases[] = {
        {"255 128 0", 1, 128 / 255.0, 0},
        {"300 -20 51", 1, 0, 51 / 255.0},
        {"\n  1e2\n0x10 7", 100 / 255.0, 16 / 255.0, 7 / 255.0},
    };
    for (const Case &c : cases) {
        std::FILE *fp = streamOf(c.text);
        Color col;
        std::string out = captureStdout([&] { col = colRead(fp); });
        EXPECT_EQ(out, "") << c.text;
        expectColor(col, c.r, c.g, c.b);
        std::fclose(fp);
    }
}

TEST(ColorRead, ShortInputReportsWithoutLeadingLineEnd)
{
    std::FILE *fp = streamOf("10 20 blue");
    Color col;
    std::string out = captureStdout([&] { col = colRead(fp); });
    EXPECT_EQ(maskPrefixes(out), "[#] error reading color components (10, 20, 0)\n");
    EXPECT_EQ(out.rfind("[engine/color.cpp:", 0), 0u);
    expectColor(col, 10 / 255.0, 20 / 255.0, 0);
    EXPECT_EQ(std::fgetc(fp), 'b');
    std::fclose(fp);
}

}  // namespace
