#include <gtest/gtest.h>

#include <cmath>

#include "diff/cor.h"
#include "tests/support.h"

namespace {

void expectCor(Cor c, int r, int g, int b)
{
    EXPECT_EQ(corGetRed(c), r);
    EXPECT_EQ(corGetGreen(c), g);
    EXPECT_EQ(corGetBlue(c), b);
}

}  // namespace

TEST(DiffCor, Clamp)
{
    struct {
        double x;
        int byte;
    } const cases[] = {{254.9, 254}, {0.7, 0}, {255.0, 255}, {255.5, 255}, {1e300, 255},
                       {-0.1, 0},    {-1e9, 0}, {NAN, 0},    {INFINITY, 255}, {-INFINITY, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(corClamp(c.x), c.byte) << c.x;
}

TEST(DiffCor, SaturatingArithmetic)
{
    expectCor(corAdd(corCreate(200, 100, 0), corCreate(100, 100, 0)), 255, 200, 0);
    expectCor(corScale(0.5, corCreate(255, 3, 1)), 127, 1, 0);
    expectCor(corScale(-1.0, corCreate(255, 3, 1)), 0, 0, 0);
    expectCor(corScale(2.0, corCreate(200, 100, 0)), 255, 200, 0);
    expectCor(corMult(1.0, corCreate(2, 3, 4), corCreate(5, 6, 7)), 10, 18, 28);
    expectCor(corMult(1.0, corCreate(16, 16, 16), corCreate(16, 17, 0)), 255, 255, 0);
    expectCor(corMult(0.01, corCreate(100, 255, 10), corCreate(100, 255, 10)), 100, 255, 1);
}

TEST(DiffCor, Distances)
{
    EXPECT_EQ(corSqrDist(corCreate(0, 0, 0), corCreate(3, 4, 0)), 25.0);
    EXPECT_EQ(corDist(corCreate(0, 0, 0), corCreate(3, 4, 0)), 5.0);
    EXPECT_EQ(corSqrDist(corCreate(255, 255, 255), corCreate(0, 0, 0)), 195075.0);
    EXPECT_EQ(corDist(corCreate(255, 255, 255), corCreate(0, 0, 0)), std::sqrt(195075.0));
}

TEST(DiffCor, FromLongIgnoresTheTopByte)
{
    expectCor(corFromLong(3351057), 17, 34, 51);
    expectCor(corFromLong(3351057 + (0x7FL << 24)), 17, 34, 51);
    expectCor(corFromLong(static_cast<long>(static_cast<int>(0xFF332211u))), 17, 34, 51);
}

TEST(DiffCor, ReadClampsAndPassesTheLineEnd)
{
    std::FILE *fp = streamOf("300 -5 7\nnext");
    Cor c{};
    const std::string out = captureStdout([&] { c = corRead(fp); });
    EXPECT_EQ(out, "");
    expectCor(c, 255, 0, 7);
    char rest[8] = {};
    ASSERT_NE(std::fgets(rest, sizeof rest, fp), nullptr);
    EXPECT_STREQ(rest, "next");
    std::fclose(fp);
}

TEST(DiffCor, ShortReadIsReportedWithZeroForWhatWasNotRead)
{
    struct {
        const char *text;
        const char *message;
        int r, g, b;
    } const cases[] = {
        {"12 40 x", "***Erro em corRead (12,40,0) \n", 12, 40, 0},
        {"9", "***Erro em corRead (9,0,0) \n", 9, 0, 0},
        {"", "***Erro em corRead (0,0,0) \n", 0, 0, 0},
        {"red", "***Erro em corRead (0,0,0) \n", 0, 0, 0},
    };
    for (const auto &t : cases) {
        std::FILE *fp = streamOf(t.text);
        Cor c{};
        const std::string out = captureStdout([&] { c = corRead(fp); });
        EXPECT_EQ(out, t.message) << t.text;
        expectCor(c, t.r, t.g, t.b);
        std::fclose(fp);
    }
}
