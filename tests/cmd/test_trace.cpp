#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cmd/render.h"
#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/image.h"
#include "engine/scene.h"
#include "tests/scene_check.h"
#include "tests/support.h"

// glintcmd's tracer on tiny scenes whose colours follow by hand. Where it
// differs from the engine's tracer the scenes are those of the engine's tests,
// so the two sets of expectations can be read side by side.

namespace {

Color trace(const LoadedScene &s, Vector3d o, Vector3d d, Color miss, int depth = 3)
{
    Color c;
    captureStdout([&] { c = traceRay(s.get(), o, d, sceGetObjectCount(s.get()), miss, depth); });
    return c;
}

// A floor box (top face y = 0) seen at the origin from (40, 4, 0), white
// matte, one white light at (0, 8, 0).
const char *const LIT_FLOOR =
    "#MATERIAL\n0 0 0  255 255 255  0 0 0\n1 0 0 1 null\n"
    "#LIGHT\n0 8 0  255 255 255\n"
    "#BOX\n0  -10 -1 -10  10 0 10\n";
const Vector3d FLOOR_EYE = {40.0, 4.0, 0.0};
const Vector3d TO_ORIGIN = {-40.0, -4.0, 0.0};

// A floor triangle (normal +y) seen at the origin from (-10, 1, 0).
const char *const FLOOR_TRIANGLE = "#TRIANGLE\n0  -10 0 -10  -10 0 30  30 0 -10\n";
const Vector3d LOW_EYE = {-10.0, 1.0, 0.0};
const Vector3d LOW_DIR = {10.0, -1.0, 0.0};

}  // namespace

TEST(CmdTraceRay, MissesGiveTheMissColourAndDepthZeroGivesBlack)
{
    LoadedScene empty("#SCENE\n0 0 255 null\n");
    ASSERT_NE(empty.get(), nullptr);
    expectColor(GREEN, trace(empty, v3dMake(0, 0, 0), v3dMake(0, 0, -1), GREEN));
    LoadedScene lit(LIT_FLOOR);
    ASSERT_NE(lit.get(), nullptr);
    expectColor(BLACK, trace(lit, FLOOR_EYE, TO_ORIGIN, GREEN, 0));
    expectColor(WHITE, trace(lit, FLOOR_EYE, TO_ORIGIN, GREEN, 1));
}

TEST(CmdTraceRay, AnyOtherObjectBeyondOneHundredthOfTheShadowRayBlocks)
{
    // A thin post above the lit point, lower face at height f: the shadow ray
    // (0, 8, 0) meets it at t = f / 8.
    struct Case {
        const char *f;
        Color expected;
    } cases[] = {
        {"0.008", WHITE},  // t = 0.001
        {"0.08", WHITE},   // t = 0.01 exactly: not beyond it
        {"0.16", BLACK},   // t = 0.02
        {"8", BLACK},      // at the light
        {"12", BLACK},     // beyond the light
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.f);
        LoadedScene s(std::string(LIT_FLOOR) + "#BOX\n0  -0.001 " + c.f + " -0.001  0.001 20 0.001\n");
        ASSERT_NE(s.get(), nullptr);
        expectColor(c.expected, trace(s, FLOOR_EYE, TO_ORIGIN, GREEN));
    }
}

TEST(CmdTraceRay, MirrorsReflectTwoLevelsAndMissesShowTheLocalColour)
{
    const std::string mirror = "#MATERIAL\n25.5 25.5 25.5  0 0 0  0 0 0\n1 1 0 1 null\n";
    const std::string far = "#BOX\n0  -5 -5 10  5 5 11\n";
    const std::string near = "#BOX\n0  -5 -5 -1  5 5 0\n";
    const Color a = colCreate(25.5 / 255.0, 25.5 / 255.0, 25.5 / 255.0);

    // Facing empty space: the reflected ray misses and returns the local
    // colour, so the mirror shows it doubled.
    LoadedScene alone(mirror + far);
    ASSERT_NE(alone.get(), nullptr);
    expectColor(colAdd(a, colScale(1.0, a)), trace(alone, v3dMake(0, 0, 5), v3dMake(0, 0, 1), RED));

    // Two facing mirrors: the primary ray and two reflections; the third
    // reflected ray (depth 0) is black.
    LoadedScene facing(mirror + near + far);
    ASSERT_NE(facing.get(), nullptr);
    const Color three = colAdd(a, colScale(1.0, colAdd(a, colScale(1.0, a))));
    const Color got = trace(facing, v3dMake(0, 0, 5), v3dMake(0, 0, 1), RED);
    expectColor(three, got);
    EXPECT_NEAR(0.3, got.red, 1e-12);
}

TEST(CmdTraceRay, NegativeReflectTracesButAddsNothing)
{
    LoadedScene s("#MATERIAL\n0 51 0  0 0 0  0 0 0\n1 -0.5 0 1 null\n#BOX\n0  -10 -1 -10  10 0 10\n");
    ASSERT_NE(s.get(), nullptr);
    expectColor(colCreate(0, 51 / 255.0, 0), trace(s, FLOOR_EYE, TO_ORIGIN, RED));
}

TEST(CmdTraceRay, TexturesAreIgnored)
{
    TempDir images;
    const std::string tex = images.write("red.ppm", std::string("P6\n1 1\n255\n\xff\x00\x00", 14));
    LoadedScene s("#MATERIAL\n0 0 0  0 0 255  0 0 0\n1 0 0 1 " + tex + "\n" +
                  "#LIGHT\n0 5 0  255 255 255\n" + FLOOR_TRIANGLE);
    ASSERT_NE(s.get(), nullptr);
    expectColor(BLUE, trace(s, LOW_EYE, LOW_DIR, BLACK));
}

TEST(CmdTraceRay, EqualDistancesKeepTheLowerIndexAcrossTypes)
{
    const std::string materials = "#MATERIAL\n255 0 0  0 0 0  0 0 0\n1 0 0 1 null\n"
                                  "#MATERIAL\n0 255 0  0 0 0  0 0 0\n1 0 0 1 null\n";
    const std::string box = "#BOX\n0  -10 -1 -10  10 0 10\n";
    const std::string sphere = "#SPHERE\n1 1  0 -1 0\n";
    const std::string triangle = "#TRIANGLE\n1  -10 0 -10  -10 0 30  30 0 -10\n";
    struct Case {
        std::string objects;
        Color expected;
    } cases[] = {
        {box + sphere, RED}, {sphere + box, GREEN}, {box + triangle, RED}, {triangle + box, GREEN},
    };
    for (const Case &c : cases) {
        LoadedScene s(materials + c.objects);
        ASSERT_NE(s.get(), nullptr);
        expectColor(c.expected, trace(s, v3dMake(0, 5, 0), v3dMake(0, -1, 0), BLACK));
        double t = 0;
        EXPECT_EQ(0, nearestHit(s.get(), v3dMake(0, 5, 0), v3dMake(0, -1, 0), 2, -1, &t));
        EXPECT_EQ(5.0, t);
    }
}

TEST(CmdNearestHit, SkipsOneIndexAndReportsNoHitAsFarAway)
{
    LoadedScene s("#MATERIAL\n0 0 0  0 0 0  0 0 0\n1 0 0 1 null\n"
                  "#SPHERE\n0 1  0 0 -4\n#SPHERE\n0 1  0 0 -8\n");
    ASSERT_NE(s.get(), nullptr);
    double t = 0;
    EXPECT_EQ(0, nearestHit(s.get(), v3dMake(0, 0, 0), v3dMake(0, 0, -1), 2, -1, &t));
    EXPECT_EQ(3.0, t);
    EXPECT_EQ(1, nearestHit(s.get(), v3dMake(0, 0, 0), v3dMake(0, 0, -1), 2, 0, &t));
    EXPECT_EQ(7.0, t);
    // Only the first object counted.
    EXPECT_EQ(-1, nearestHit(s.get(), v3dMake(0, 0, 0), v3dMake(0, 0, -1), 1, 0, &t));
    EXPECT_EQ(1e308, t);
    EXPECT_EQ(-1, nearestHit(s.get(), v3dMake(0, 0, 0), v3dMake(0, 0, 1), 2, -1, &t));
    EXPECT_EQ(1e308, t);
}

TEST(CmdTraceRay, LightsBehindTheSurfaceAddNothing)
{
    // N.L < 0 but the reflected light runs toward the viewer: the engine adds
    // a specular term here; glintcmd skips the light.
    LoadedScene s("#MATERIAL\n0 0 0  255 255 255  255 255 255\n1 0 0 1 null\n"
                  "#LIGHT\n10 -0.5 0  255 255 255\n" + std::string(FLOOR_TRIANGLE));
    ASSERT_NE(s.get(), nullptr);
    expectColor(BLACK, trace(s, LOW_EYE, LOW_DIR, RED));
}

TEST(CmdTraceRay, LightInTheTangentPlaneStillAddsItsSpecularTerm)
{
    LoadedScene s("#MATERIAL\n0 0 0  255 255 255  255 255 255\n1 0 0 1 null\n"
                  "#LIGHT\n10 0 0  255 255 255\n" + std::string(FLOOR_TRIANGLE));
    ASSERT_NE(s.get(), nullptr);
    const Vector3d n = v3dNormalized(v3dMake(0, 1600, 0));
    const Vector3d v = v3dNormalized(v3dNegative(LOW_DIR));
    const Vector3d l = v3dNormalized(v3dMake(10, 0, 0));
    const Color expected = specularTerm(n, v, l, 0.0, 1.0, WHITE, WHITE);
    EXPECT_GT(expected.red, 0.0);
    expectColor(expected, trace(s, LOW_EYE, LOW_DIR, RED));
}

TEST(CmdTraceRay, SpecularHasNoSignTest)
{
    // Light up and behind the viewer: R.V < 0 with R the light reflected
    // about the normal. The power alone decides what is left after clamping.
    const Vector3d n = v3dNormalized(v3dMake(0, 1600, 0));
    const Vector3d v = v3dNormalized(v3dNegative(LOW_DIR));
    const Vector3d l = v3dNormalized(v3dMake(-5, 5, 0));
    const double rv = v3dDot(v3dReflected(l, n), v);
    ASSERT_LT(rv, 0.0);
    struct Case {
        const char *n;
        Color expected;
    } cases[] = {
        {"1", BLACK},                                          // negative power, clamped
        {"1.5", BLACK},                                        // no real power: nothing
        {"2", colScale(std::pow(rv, 2.0), WHITE)},             // even power: positive
        {"0", WHITE},                                          // the full term
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.n);
        LoadedScene s(std::string("#MATERIAL\n0 0 0  0 0 0  255 255 255\n") + c.n +
                      " 0 0 1 null\n#LIGHT\n-5 5 0  255 255 255\n" + FLOOR_TRIANGLE);
        ASSERT_NE(s.get(), nullptr);
        expectColor(c.expected, trace(s, LOW_EYE, LOW_DIR, RED));
    }
}

TEST(CmdTraceRay, LightOnThePointGivesAFullHighlightForShininessZeroOrBelow)
{
    // The ray meets the floor exactly at the light: l and r are zero vectors,
    // r . v is +0, and pow(+0, n) is 1 for n = 0 and +inf for n < 0. So n = 0
    // gives light x specular, and n < 0 an infinite highlight, which fills
    // every channel where that product is above 0 (inf x 0 is not a number,
    // which counts as 0). The second material: specular (255, 128, 0) under a
    // grey light of 60.
    const double grey = 60.0 / 255.0;
    const Color product = colCreate(grey * (255.0 / 255.0), grey * (128.0 / 255.0), 0.0);
    const Color filled = {1.0, 1.0, 0.0};
    const char *const white = "0 0 0  255 255 255  255 255 255";
    const char *const orange = "0 0 0  0 0 0  255 128 0";
    struct Case {
        const char *colours;
        const char *n;
        const char *light;
        Color expected;
    } cases[] = {{white, "1", "255 255 255", BLACK},   {white, "0", "255 255 255", WHITE},
                 {white, "-0.5", "255 255 255", WHITE}, {white, "-1", "255 255 255", WHITE},
                 {white, "-2", "255 255 255", WHITE},   {orange, "0", "60 60 60", product},
                 {orange, "-0.5", "60 60 60", filled},  {orange, "-1", "60 60 60", filled},
                 {orange, "-2", "60 60 60", filled}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.colours) + " n " + c.n);
        LoadedScene s(std::string("#MATERIAL\n") + c.colours + "\n" + c.n +
                      " 0 0 1 null\n#LIGHT\n0 0 0  " + c.light +
                      "\n#BOX\n0  -10 -1 -10  10 0 10\n");
        ASSERT_NE(s.get(), nullptr);
        expectColor(c.expected, trace(s, FLOOR_EYE, TO_ORIGIN, RED));
    }
}

TEST(CmdRenderScene, ComponentsBecomeBytesByTruncation)
{
    // No objects: every pixel is the background. 254.745 / 255 = 0.999.
    LoadedScene s("#CAMERA\n0 0 0  0 0 -1  0 1 0\n90\n1 10\n3 2\n"
                  "#SCENE\n255 254.745 1.2 null\n");
    ASSERT_NE(s.get(), nullptr);
    Image *image = nullptr;
    captureStdout([&] { image = renderScene(s.get()); });
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(3, imgGetWidth(image));
    EXPECT_EQ(2, imgGetHeight(image));
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++) {
            EXPECT_EQ(255, imgGetRed(image, x, y));
            EXPECT_EQ(254, imgGetGreen(image, x, y));
            EXPECT_EQ(1, imgGetBlue(image, x, y));
        }
    imgDestroy(image);
}
