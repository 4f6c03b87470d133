#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "engine/algebra.h"
#include "engine/object.h"
#include "engine/scene.h"
#include "tests/support.h"

// glintcmd's own forms of the intersection test, the box normal, the box
// reader and the material getters.

namespace {

struct ObjectDeleter {
    void operator()(Object *obj) const { objDestroy(obj); }
};
using ObjectPtr = std::unique_ptr<Object, ObjectDeleter>;

ObjectPtr sphere(Vector3d c, double r) { return ObjectPtr(objCreateSphere(0, c, r)); }
ObjectPtr triangle(Vector3d a, Vector3d b, Vector3d c)
{
    return ObjectPtr(objCreateTriangle(0, a, b, c));
}
ObjectPtr box(Vector3d ll, Vector3d ur) { return ObjectPtr(objCreateBox(0, ll, ur)); }

void expectVector(Vector3d expected, Vector3d actual)
{
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
    EXPECT_EQ(expected.z, actual.z);
}

}  // namespace

TEST(CmdIntersect, SphereTakesTheFarRootWhenTheNearOneIsBelowOne)
{
    struct Case {
        Vector3d center;
        double radius;
        Vector3d origin, direction;
        double expected;
    } cases[] = {
        // Near root 4: taken.
        {{0, 0, 0}, 1, {0, 0, -5}, {0, 0, 1}, 4.0},
        // t counts lengths of the direction.
        {{0, 0, 0}, 1, {0, 0, -5}, {0, 0, 2}, 2.0},
        // Roots 0.5 and 2.5: the near side lies closer than one length.
        {{0, 0, -1.5}, 1, {0, 0, 0}, {0, 0, -1}, 2.5},
        // From the centre: roots -1 and 1, the far one is reported.
        {{0, 0, 0}, 1, {0, 0, 0}, {0, 0, 1}, 1.0},
        // Tangent (discriminant exactly 0): the single root.
        {{0, 0, 0}, 1, {1, 0, -5}, {0, 0, 1}, 5.0},
        // Both roots behind the origin: the far one, negative, is returned.
        {{0, 0, -5}, 1, {0, 0, 0}, {0, 0, 1}, -4.0},
        // Passing by: no hit.
        {{0, 0, 0}, 1, {2, 0, -5}, {0, 0, 1}, -1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        ObjectPtr s = sphere(c.center, c.radius);
        EXPECT_EQ(c.expected, objIntersect(s.get(), c.origin, c.direction));
    }
}

TEST(CmdIntersect, TriangleInsideTestIsStrict)
{
    // v0 (0, 0, 0), v1 (0, 1, 0), v2 (1, 0, 0) in the plane z = 0.
    ObjectPtr t = triangle(v3dMake(0, 0, 0), v3dMake(0, 1, 0), v3dMake(1, 0, 0));
    struct Case {
        const char *what;
        Vector3d origin, direction;
        double expected;
    } cases[] = {
        {"inside", {0.25, 0.25, 1}, {0, 0, -1}, 1.0},
        {"other side", {0.25, 0.25, -1}, {0, 0, 1}, 1.0},
        {"behind the origin", {0.25, 0.25, -2}, {0, 0, -1}, -2.0},
        {"vertex", {0, 0, 1}, {0, 0, -1}, -1.0},
        {"edge", {0.5, 0, 1}, {0, 0, -1}, -1.0},
        {"hypotenuse", {0.5, 0.5, 1}, {0, 0, -1}, -1.0},
        {"outside", {2, 2, 1}, {0, 0, -1}, -1.0},
        {"parallel", {0.25, 0.25, 1}, {1, 0, 0}, -1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, objIntersect(t.get(), c.origin, c.direction));
    }
    // Collinear vertices: no plane, no hit.
    ObjectPtr flat = triangle(v3dMake(0, 0, 0), v3dMake(1, 1, 0), v3dMake(2, 2, 0));
    EXPECT_EQ(-1.0, objIntersect(flat.get(), v3dMake(1, 1, 1), v3dMake(0, 0, -1)));
}

TEST(CmdIntersect, BoxReportsTheEnteringFaceWithBoundsIncluded)
{
    ObjectPtr b = box(v3dMake(-1, -1, -1), v3dMake(1, 1, 1));
    struct Case {
        const char *what;
        Vector3d origin, direction;
        double expected;
    } cases[] = {
        {"z face", {0, 0, -5}, {0, 0, 1}, 4.0},
        {"x face from the far side", {5, 0, 0}, {-1, 0, 0}, 4.0},
        {"edge y = 1, z = -1 found on the y face", {0, 5, -5}, {0, -1, 1}, 4.0},
        {"grazing the edge x = 1 along z", {1, 1, -5}, {0, 0, 1}, 4.0},
        {"from the centre: the entering face lies behind", {0, 0, 0}, {0, 0, 2}, -0.5},
        {"past the box", {3, 0, -5}, {0, 0, 1}, -1.0},
        {"box behind the origin", {0, 0, 5}, {0, 0, 1}, -6.0},
        {"no direction", {0, 0, -5}, {0, 0, 0}, -1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, objIntersect(b.get(), c.origin, c.direction));
    }
}

TEST(CmdNormal, BoxFacesWithinOneTrillionth)
{
    ObjectPtr b = box(v3dMake(0, 0, 0), v3dMake(1, 2, 3));
    struct Case {
        Vector3d p;
        Vector3d expected;
    } cases[] = {
        {{0, 1, 1.5}, {-1, 0, 0}},   {{1, 1, 1.5}, {1, 0, 0}},   {{0.5, 0, 1.5}, {0, -1, 0}},
        {{0.5, 2, 1.5}, {0, 1, 0}},  {{0.5, 1, 0}, {0, 0, -1}},  {{0.25, 0.5, 3}, {0, 0, 1}},
        {{1, 2, 3}, {1, 0, 0}},      // a corner: x before y before z
        {{5e-13, 1, 1}, {-1, 0, 0}}, // within the tolerance
        {{2e-12, 1, 1}, {0, 0, 0}},  // the engine's 1e-10 would take this one
        {{0.5, 1, 1.5}, {0, 0, 0}},  // inside
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << " " << c.p.y << " " << c.p.z);
        expectVector(c.expected, objNormal(b.get(), c.p));
    }
}

TEST(CmdReadBox, ReadsTwoPointsInEitherOrder)
{
    std::FILE *fp = streamOf("2  1 5 2   0 7 3 next");
    Object *obj = nullptr;
    const std::string out = maskPrefixes(captureStdout([&] { obj = objReadBox(fp); }));
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(BOX, obj->type);
    EXPECT_EQ(2, objGetMaterial(obj));
    const Box *b = static_cast<const Box *>(obj->data);
    expectVector(v3dMake(0, 5, 2), b->ll);
    expectVector(v3dMake(1, 7, 3), b->ur);
    EXPECT_EQ("\n[#] read box:\n\tmaterial = 2,\n\tll = (0, 5, 2),\n\tur = (1, 7, 3)\n", out);
    // Unlike the engine's reader, the white space after the last number stays.
    EXPECT_EQ(' ', std::fgetc(fp));
    objDestroy(obj);
    std::fclose(fp);
}

TEST(CmdReadBox, ShortCornersAreReportedAndReadAsZero)
{
    // The second corner runs short: v3dRead reports it and the box is made.
    std::FILE *fp = streamOf("0x10  1 2 3  4 5 #");
    Object *obj = nullptr;
    const std::string out = maskPrefixes(captureStdout([&] { obj = objReadBox(fp); }));
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(16, objGetMaterial(obj));
    const Box *b = static_cast<const Box *>(obj->data);
    expectVector(v3dMake(1, 2, 0), b->ll);
    expectVector(v3dMake(4, 5, 3), b->ur);
    EXPECT_EQ("\n[#] can't read point (4, 5, 0)\n"
              "\n[#] read box:\n\tmaterial = 16,\n\tll = (1, 2, 0),\n\tur = (4, 5, 3)\n",
              out);
    objDestroy(obj);
    std::fclose(fp);

    // Both corners missing: two reports, a box of zeros.
    fp = streamOf("1 #BOX");
    const std::string both = maskPrefixes(captureStdout([&] { obj = objReadBox(fp); }));
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ("\n[#] can't read point (0, 0, 0)\n\n[#] can't read point (0, 0, 0)\n"
              "\n[#] read box:\n\tmaterial = 1,\n\tll = (0, 0, 0),\n\tur = (0, 0, 0)\n",
              both);
    objDestroy(obj);
    std::fclose(fp);
}

TEST(CmdScene, HoldsAtMostSixtyFourObjects)
{
    EXPECT_EQ(64, static_cast<int>(MAX_OBJECTS));
    TempDir dir;
    std::string text = "GSD 2.0\n#MATERIAL\n0 0 0 0 0 0 0 0 0\n1 0 0 1 null\n#SPHERE\n";
    for (int i = 0; i < 64; i++)
        text += "0 1  " + std::to_string(i * 3) + " 0 0\n";
    const std::string full = dir.write("64.gsc", text);
    const std::string over = dir.write("65.gsc", text + "#BOX\n0  0 0 0  1 1 1\n");
    Scene *scene = nullptr;
    captureStdout([&] { scene = sceReadFile(full.c_str()); });
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(64, sceGetObjectCount(scene));
    captureStdout([&] { sceDestroy(scene); });
    captureStdout([&] { scene = sceReadFile(over.c_str()); });
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(64, sceGetObjectCount(scene));
    EXPECT_EQ(SPHERE, sceGetObject(scene, 63)->type);
    captureStdout([&] { sceDestroy(scene); });
}
