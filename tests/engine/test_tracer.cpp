#include <gtest/gtest.h>

#include <string>

#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/scene.h"
#include "engine/tracer.h"
#include "tests/scene_check.h"
#include "tests/support.h"

// Each test builds a tiny scene file, reads it, and traces chosen rays whose
// colours follow by hand from the geometry. Ray origins and object positions
// are picked so that every t and hit point is exact in binary.

namespace {

Color trace(const LoadedScene &s, Vector3d o, Vector3d d, int depth = 0)
{
    Color c;
    captureStdout([&] { c = rayTrace(s.get(), o, d, depth); });
    return c;
}

// A floor box whose top face is the plane y = 0, seen at the origin by a ray
// from (40, 4, 0); a white matte material; one white light at (0, 8, 0).
const char *const LIT_FLOOR =
    "#SCENE\n0 0 0 null\n"
    "#MATERIAL\n0 0 0  255 255 255  0 0 0\n1 0 0 1 null\n"
    "#LIGHT\n0 8 0  255 255 255\n"
    "#BOX\n0  -10 -1 -10  10 0 10\n";
const Vector3d FLOOR_EYE = {40.0, 4.0, 0.0};
const Vector3d TO_ORIGIN = {-40.0, -4.0, 0.0};

}  // namespace

TEST(RayTrace, EmptySceneShowsTheBackground)
{
    LoadedScene s("#SCENE\n0 0 255 null\n");
    ASSERT_NE(s.get(), nullptr);
    expectColor(BLUE, trace(s, v3dMake(0, 0, 0), v3dMake(0, 0, -1)));
    expectColor(BLUE, trace(s, v3dMake(1, 2, 3), v3dMake(0.5, -1, 2), 3));
}

TEST(RayTrace, HitThresholdsAreStrict)
{
    // Red ambient floor, blue background, no lights: a ray straight down from
    // height h meets the floor at t = h.
    LoadedScene s("#SCENE\n0 0 255 null\n"
                  "#MATERIAL\n255 0 0  0 0 0  0 0 0\n1 0 0 1 null\n"
                  "#BOX\n0  -10 -1 -10  10 0 10\n");
    ASSERT_NE(s.get(), nullptr);
    struct Case {
        double height;
        Color expected;
    } cases[] = {
        {0.01, BLUE}, {0.02, RED}, {99999.0, RED}, {100000.0, BLUE}, {200000.0, BLUE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.height);
        expectColor(c.expected, trace(s, v3dMake(0, c.height, 0), v3dMake(0, -1, 0)));
    }
}

TEST(RayTrace, EqualDistancesKeepTheLowerIndex)
{
    // A box and a sphere both met at t = 5 by a ray straight down from y = 5.
    const std::string materials = "#MATERIAL\n255 0 0  0 0 0  0 0 0\n1 0 0 1 null\n"
                                  "#MATERIAL\n0 255 0  0 0 0  0 0 0\n1 0 0 1 null\n";
    const std::string box = "#BOX\n0  -10 -1 -10  10 0 10\n";
    const std::string sphere = "#SPHERE\n1 1  0 -1 0\n";
    LoadedScene boxFirst(materials + box + sphere);
    LoadedScene sphereFirst(materials + sphere + box);
    ASSERT_NE(boxFirst.get(), nullptr);
    ASSERT_NE(sphereFirst.get(), nullptr);
    expectColor(RED, trace(boxFirst, v3dMake(0, 5, 0), v3dMake(0, -1, 0)));
    expectColor(GREEN, trace(sphereFirst, v3dMake(0, 5, 0), v3dMake(0, -1, 0)));
}

TEST(RayTrace, ShadowCountsBlockersStrictlyBetweenPointAndLight)
{
    // A thin post above the lit point whose lower face is at height f; the
    // shadow ray (0, 8, 0) meets it at t = f / 8.
    struct Case {
        const char *f;
        Color expected;
    } cases[] = {
        {"0.008", WHITE},  // t = 0.001: too close to count
        {"0.016", BLACK},  // t = 0.002
        {"7.992", BLACK},  // t = 0.999
        {"8", WHITE},      // t = 1: at the light
        {"12", WHITE},     // beyond the light
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.f);
        LoadedScene s(std::string(LIT_FLOOR) + "#BOX\n0  -0.001 " + c.f + " -0.001  0.001 20 0.001\n");
        ASSERT_NE(s.get(), nullptr);
        expectColor(c.expected, trace(s, FLOOR_EYE, TO_ORIGIN));
    }
}

TEST(RayTrace, WithoutLightsEachHitShowsItsAmbientColour)
{
    LoadedScene s("#MATERIAL\n51 102 153  255 255 255  255 255 255\n5 0 0 1 null\n"
                  "#MATERIAL\n255 255 255  0 0 0  0 0 0\n1 0 0 1 null\n"
                  "#SPHERE\n0 1  0 0 0\n#SPHERE\n1 1  5 0 0\n");
    ASSERT_NE(s.get(), nullptr);
    expectColor(colCreate(51 / 255.0, 102 / 255.0, 153 / 255.0),
                trace(s, v3dMake(0, 0, 10), v3dMake(0, 0, -1)));
    expectColor(WHITE, trace(s, v3dMake(5, 0, 10), v3dMake(0, 0, -1)));
}

TEST(RayTrace, SpecularNeedsOnlyTheMirrorDirectionTowardTheLight)
{
    // A floor triangle (normal +y) seen at the origin from (-10, 1, 0). The
    // mirror direction is (10, 1, 0) over its length.
    const Vector3d eye = v3dMake(-10, 1, 0);
    const Vector3d dir = v3dMake(10, -1, 0);
    const Vector3d view = v3dNormalized(v3dNegative(dir));
    const Vector3d mirror = v3dReflected(view, v3dMake(0, 1, 0));
    const std::string floor = "#TRIANGLE\n0  -10 0 -10  -10 0 30  30 0 -10\n";

    // Light just below the floor's plane, ahead: N.L < 0 but R.L > 0, so only
    // the specular term is added.
    LoadedScene below("#MATERIAL\n0 0 0  255 255 255  255 255 255\n1 0 0 1 null\n"
                      "#LIGHT\n10 -0.5 0  255 255 255\n" + floor);
    ASSERT_NE(below.get(), nullptr);
    const double s = v3dDot(mirror, v3dNormalized(v3dMake(10, -0.5, 0)));
    ASSERT_GT(s, 0.0);
    expectColor(colModulate(s, WHITE, WHITE), trace(below, eye, dir));

    // n = 0: the whole light times the specular colour when R.L > 0, nothing
    // when R.L <= 0 (light behind the viewer).
    const std::string zeroN = "#MATERIAL\n0 0 0  0 0 0  51 102 153\n0 0 0 1 null\n";
    LoadedScene ahead(zeroN + "#LIGHT\n5 5 0  255 255 255\n" + floor);
    LoadedScene behind(zeroN + "#LIGHT\n-5 5 0  255 255 255\n" + floor);
    ASSERT_NE(ahead.get(), nullptr);
    ASSERT_NE(behind.get(), nullptr);
    expectColor(colCreate(51 / 255.0, 102 / 255.0, 153 / 255.0), trace(ahead, eye, dir));
    expectColor(BLACK, trace(behind, eye, dir));
}

TEST(RayTrace, LightOnThePointAddsNothingWhateverTheShininess)
{
    // glintcmd gives this point a full highlight for n <= 0 (its test of the
    // same name); here the mirror direction . l is 0, which adds nothing.
    for (const char *n : {"1", "0", "-0.5", "-2"}) {
        SCOPED_TRACE(n);
        LoadedScene s(std::string("#MATERIAL\n0 0 0  255 255 255  255 255 255\n") + n +
                      " 0 0 1 null\n#LIGHT\n0 0 0  255 255 255\n#BOX\n0  -10 -1 -10  10 0 10\n");
        ASSERT_NE(s.get(), nullptr);
        expectColor(BLACK, trace(s, FLOOR_EYE, TO_ORIGIN));
    }
}

TEST(RayTrace, TextureReplacesTheDiffuseColour)
{
    // A red 1 x 1 texture on a blue material, lit from straight above.
    TempDir images;
    const std::string tex = images.write("red.ppm", std::string("P6\n1 1\n255\n\xff\x00\x00", 14));
    LoadedScene s("#MATERIAL\n0 0 0  0 0 255  0 0 0\n1 0 0 1 " + tex + "\n"
                  "#LIGHT\n0 5 0  255 255 255\n"
                  "#TRIANGLE\n0  -10 0 -10  -10 0 30  30 0 -10\n");
    ASSERT_NE(s.get(), nullptr);
    expectColor(RED, trace(s, v3dMake(-10, 1, 0), v3dMake(10, -1, 0)));
}

TEST(RayTrace, FacingMirrorsStopAfterTheRayOfDepthFour)
{
    // Two mirror walls facing each other along z, each with ambient 0.1 and
    // reflect 1, no lights: every level adds one ambient colour.
    LoadedScene s("#MATERIAL\n25.5 25.5 25.5  0 0 0  0 0 0\n1 1 0 1 null\n"
                  "#BOX\n0  -5 -5 -1  5 5 0\n#BOX\n0  -5 -5 10  5 5 11\n");
    ASSERT_NE(s.get(), nullptr);
    const Color a = colCreate(25.5 / 255.0, 25.5 / 255.0, 25.5 / 255.0);
    // The primary ray (depth 0) and reflected rays of depths 1 to 4.
    auto levels = [&](int n) {
        Color c = a;
        for (int i = 1; i < n; i++)
            c = colAdd(a, colScale(1.0, c));
        return c;
    };
    const Color five = trace(s, v3dMake(0, 0, 5), v3dMake(0, 0, 1));
    expectColor(levels(5), five);
    EXPECT_NEAR(0.5, five.red, 1e-12);
    // A ray already at depth 3 still reflects once; at depth 4 it does not.
    expectColor(levels(2), trace(s, v3dMake(0, 0, 5), v3dMake(0, 0, 1), 3));
    expectColor(a, trace(s, v3dMake(0, 0, 5), v3dMake(0, 0, 1), 4));
}

TEST(RayTrace, ReflectedMissAddsReflectTimesTheBackground)
{
    // A mirror floor under a red sky: ambient 0.2 green plus half the red.
    const std::string rest = "#BOX\n0  -10 -1 -10  10 0 10\n";
    LoadedScene half("#SCENE\n255 0 0 null\n#MATERIAL\n0 51 0  0 0 0  0 0 0\n1 0.5 0 1 null\n" +
                     rest);
    LoadedScene negative("#SCENE\n255 0 0 null\n#MATERIAL\n0 51 0  0 0 0  0 0 0\n1 -0.5 0 1 null\n" +
                         rest);
    ASSERT_NE(half.get(), nullptr);
    ASSERT_NE(negative.get(), nullptr);
    expectColor(colCreate(0.5, 51 / 255.0, 0.0), trace(half, FLOOR_EYE, TO_ORIGIN));
    expectColor(colCreate(0.0, 51 / 255.0, 0.0), trace(negative, FLOOR_EYE, TO_ORIGIN));
}
