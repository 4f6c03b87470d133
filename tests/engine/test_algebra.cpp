#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/algebra.h"
#include "tests/support.h"

namespace {

void expectVec(Vector3d v, double x, double y, double z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

TEST(Normalized, MultipliesByTheReciprocalOfTheLength)
{
    // 1.0 / 5 = 0.2, and 3 * 0.2 is not 3 / 5 in double precision.
    Vector3d n;
    std::string out = captureStdout([&] { n = v3dNormalized(v3dMake(3, 0, 4)); });
    EXPECT_EQ(out, "");
    expectVec(n, 0.6000000000000001, 0, 0.8);
    EXPECT_NE(n.x, 3.0 / 5.0);
}

TEST(Normalized, NullVectorBoundIsOneEMinus15)
{
    struct Case {
        Vector3d in;
        bool reported;
        Vector3d expected;
    } cases[] = {
        {{0, 0, 0}, true, {0, 0, 0}},
        {{1e-16, 0, 0}, true, {1e-16, 0, 0}},
        {{1e-15, 0, 0}, false, {1, 0, 0}},
    };
    for (const Case &c : cases) {
        Vector3d n;
        std::string out = captureStdout([&] { n = v3dNormalized(c.in); });
        EXPECT_EQ(maskPrefixes(out), c.reported ? "\n[#] v3dNormalized: NULL VECTOR\n" : "") << c.in.x;
        expectVec(n, c.expected.x, c.expected.y, c.expected.z);
    }
}

TEST(Normalized, NotANumberIsReportedAndReturnedUnchanged)
{
    Vector3d n;
    std::string out = captureStdout([&] { n = v3dNormalized(v3dMake(NAN, 1, 2)); });
    // The prefix names the source file as the repository does, wherever the build ran.
    EXPECT_EQ(out.rfind("\n[engine/algebra.cpp:", 0), 0u) << out;
    EXPECT_EQ(maskPrefixes(out), "\n[#] v3dNormalized: NULL VECTOR\n");
    EXPECT_TRUE(std::isnan(n.x));
    EXPECT_EQ(n.y, 1);
    EXPECT_EQ(n.z, 2);
}

TEST(Algebra, OperationsKeepTheirOperandOrder)
{
    expectVec(v3dScaled(2, v3dMake(1, 2, 3)), 2, 4, 6);
    expectVec(v3dDifference(v3dMake(5, 7, 9), v3dMake(1, 2, 3)), 4, 5, 6);
    expectVec(v3dCross(v3dMake(1, 0, 0), v3dMake(0, 1, 0)), 0, 0, 1);
    expectVec(v3dReflected(v3dMake(0, 0, 1), v3dMake(0, 0, 1)), 0, 0, 1);
    expectVec(v3dReflected(v3dMake(1, 0, 1), v3dMake(0, 0, 1)), -1, 0, 1);
    expectVec(v3dProjection(v3dMake(2, 3, 0), v3dMake(0, 2, 0)), 0, 3, 0);
    expectVec(v3dInterpolated(v3dMake(0, 0, 0), v3dMake(2, 4, 8), 1.5), 3, 6, 12);
    EXPECT_EQ(v3dNorm(v3dMake(2, 3, 6)), 7);
}

TEST(Algebra, ProjectionOnZeroVectorIsNotFinite)
{
    Vector3d p = v3dProjection(v3dMake(1, 1, 1), v3dMake(0, 0, 0));
    EXPECT_FALSE(std::isfinite(p.x));
}

TEST(LinearCombination, AddsWeightedVectorsInArgumentOrder)
{
    expectVec(v3dLinearCombination(0), 0, 0, 0);
    expectVec(v3dLinearCombination(-3), 0, 0, 0);
    expectVec(v3dLinearCombination(2, 0.5, v3dMake(2, 4, 6), 0.5, v3dMake(4, 8, 10)), 3, 6, 8);
    // (1e16 + 1) - 1e16: with the terms added left to right the 1 is lost.
    Vector3d v = v3dLinearCombination(3, 1.0, v3dMake(1e16, 0, 0), 1.0, v3dMake(1, 0, 0), -1.0,
                                      v3dMake(1e16, 0, 0));
    EXPECT_EQ(v.x, 0.0);
}

TEST(Print, WritesThreeNumbersWithoutLineEnd)
{
    std::FILE *fp = std::tmpfile();
    v3dPrint(v3dMake(1, 0.5, -2), fp);
    std::rewind(fp);
    char buf[64] = {};
    size_t n = std::fread(buf, 1, sizeof buf - 1, fp);
    std::fclose(fp);
    EXPECT_EQ(std::string(buf, n), "1 0.5 -2");
}

TEST(Read, ShortInputReportsValuesAndStopsAtTheFailure)
{
    std::FILE *fp = streamOf("1 2 word 4");
    Vector3d v;
    std::string out = captureStdout([&] { v = v3dRead(fp); });
    EXPECT_EQ(maskPrefixes(out), "\n[#] can't read point (1, 2, 0)\n");
    expectVec(v, 1, 2, 0);
    char word[16] = {};
    ASSERT_EQ(std::fscanf(fp, "%15s", word), 1);
    EXPECT_STREQ(word, "word");
    std::fclose(fp);
}

TEST(Read, EndOfStreamGivesZeroVector)
{
    std::FILE *fp = streamOf("   \n");
    Vector3d v;
    std::string out = captureStdout([&] { v = v3dRead(fp); });
    EXPECT_EQ(maskPrefixes(out), "\n[#] can't read point (0, 0, 0)\n");
    expectVec(v, 0, 0, 0);
    std::fclose(fp);
}

TEST(Read, NumbersMaySpanLines)
{
    std::FILE *fp = streamOf("1.5\n-2e1\n\t3 rest");
    Vector3d v;
    std::string out = captureStdout([&] { v = v3dRead(fp); });
    EXPECT_EQ(out, "");
    expectVec(v, 1.5, -20, 3);
    std::fclose(fp);
}

}  // namespace
