#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/algebra.h"
#include "engine/object.h"
#include "tests/support.h"

// ---- allocation failures ----------------------------------------------------
// The test binary replaces malloc and free with forwarders to the next
// definition (the C library's, or the address sanitizer's). While armed they
// fail one chosen call and record what they hand out and take back, so the
// constructors' out-of-memory paths can be checked. Disarmed, they only
// forward.

namespace {

using MallocFn = void *(*)(std::size_t);
using FreeFn = void (*)(void *);

MallocFn g_realMalloc = nullptr;
FreeFn g_realFree = nullptr;

struct AllocRecord {
    bool armed = false;
    int failCall = 0;  // the armed call (counting from 1) that fails
    int calls = 0;
    void *given[8] = {};
    int givenCount = 0;
    void *taken[8] = {};
    int takenCount = 0;
};
AllocRecord g_alloc;

}  // namespace

// Looks the next malloc and free up once. The lookup itself may allocate and
// free (the dynamic loader's error strings); while it runs, malloc fails and
// free forgets the block, which the loader copes with.
static bool g_resolving = false;

static void resolveAllocator()
{
    if (g_resolving)
        return;
    g_resolving = true;
    g_realFree = reinterpret_cast<FreeFn>(dlsym(RTLD_NEXT, "free"));
    g_realMalloc = reinterpret_cast<MallocFn>(dlsym(RTLD_NEXT, "malloc"));
    g_resolving = false;
}

extern "C" void *malloc(std::size_t size) noexcept
{
    if (g_realMalloc == nullptr)
        resolveAllocator();
    if (g_realMalloc == nullptr)
        return nullptr;
    if (!g_alloc.armed)
        return g_realMalloc(size);
    g_alloc.calls++;
    if (g_alloc.calls == g_alloc.failCall)
        return nullptr;
    void *p = g_realMalloc(size);
    if (g_alloc.givenCount < 8)
        g_alloc.given[g_alloc.givenCount++] = p;
    return p;
}

extern "C" void free(void *p) noexcept
{
    if (g_realFree == nullptr)
        resolveAllocator();
    if (g_realFree == nullptr)
        return;
    if (g_alloc.armed && p != nullptr && g_alloc.takenCount < 8)
        g_alloc.taken[g_alloc.takenCount++] = p;
    g_realFree(p);
}

namespace {

// Runs make with the failCall-th allocation failing; returns its result and
// leaves the record of what was allocated and freed meanwhile in g_alloc.
template <typename Fn>
Object *makeWithFailure(int failCall, Fn make)
{
    g_alloc = AllocRecord();
    g_alloc.failCall = failCall;
    g_alloc.armed = true;
    Object *obj = make();
    g_alloc.armed = false;
    return obj;
}

const Vector3d kOrigin = {0, 0, 0};

TEST(ObjectCreate, OutOfMemoryLeavesNothingAllocated)
{
    Object *(*makers[])() = {
        [] { return objCreateSphere(0, kOrigin, 1.0); },
        [] { return objCreateTriangle(0, kOrigin, kOrigin, kOrigin); },
        [] { return objCreateBox(0, kOrigin, kOrigin); },
    };
    for (auto make : makers) {
        // The object itself cannot be allocated: nothing was.
        EXPECT_EQ(makeWithFailure(1, make), nullptr);
        EXPECT_EQ(g_alloc.calls, 1);
        EXPECT_EQ(g_alloc.givenCount, 0);

        // Its record cannot be allocated: the object is freed again.
        EXPECT_EQ(makeWithFailure(2, make), nullptr);
        EXPECT_EQ(g_alloc.calls, 2);
        ASSERT_EQ(g_alloc.givenCount, 1);
        ASSERT_EQ(g_alloc.takenCount, 1);
        EXPECT_EQ(g_alloc.taken[0], g_alloc.given[0]);

        // With memory to spare, two blocks, both freed by objDestroy.
        Object *obj = makeWithFailure(0, make);
        ASSERT_NE(obj, nullptr);
        EXPECT_EQ(g_alloc.givenCount, 2);
        objDestroy(obj);
    }
}

// ---- construction --------------------------------------------------------------

void expectVec(Vector3d v, double x, double y, double z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

TEST(ObjectCreate, SphereStoresItsArguments)
{
    Object *obj = objCreateSphere(2, v3dMake(1, 2, 3), 0.5);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->type, 1);
    EXPECT_EQ(obj->material, 2);
    EXPECT_EQ(objGetMaterial(obj), 2);
    const Sphere *s = static_cast<const Sphere *>(obj->data);
    expectVec(s->center, 1, 2, 3);
    EXPECT_EQ(s->radius, 0.5);
    objDestroy(obj);

    // Nothing is validated: odd radii and material indices are kept.
    for (double radius : {0.0, -1.0}) {
        obj = objCreateSphere(977, kOrigin, radius);
        ASSERT_NE(obj, nullptr);
        EXPECT_EQ(static_cast<const Sphere *>(obj->data)->radius, radius);
        EXPECT_EQ(objGetMaterial(obj), 977);
        objDestroy(obj);
    }
}

TEST(ObjectCreate, TriangleAndBoxKeepArgumentOrder)
{
    Object *tri = objCreateTriangle(1, v3dMake(1, 2, 3), v3dMake(4, 5, 6), v3dMake(7, 8, 9));
    ASSERT_NE(tri, nullptr);
    EXPECT_EQ(tri->type, TRIANGLE);
    EXPECT_EQ(tri->type, 2);
    const Triangle *t = static_cast<const Triangle *>(tri->data);
    expectVec(t->v0, 1, 2, 3);
    expectVec(t->v1, 4, 5, 6);
    expectVec(t->v2, 7, 8, 9);
    objDestroy(tri);

    // The constructor does not order the corners; the reader does.
    Object *box = objCreateBox(-3, v3dMake(1, 1, 1), v3dMake(0, 0, 0));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->type, 3);
    EXPECT_EQ(objGetMaterial(box), -3);
    const Box *b = static_cast<const Box *>(box->data);
    expectVec(b->ll, 1, 1, 1);
    expectVec(b->ur, 0, 0, 0);
    objDestroy(box);
}

// ---- assertions ----------------------------------------------------------------

TEST(ObjectAssertionsDeathTest, OperationsCheckObjectDataAndTypeInOrder)
{
    const std::string where = ", file engine/object\\.cpp, line ";
    const std::string typeText =
        "obj->type == SPHERE \\|\\| obj->type == TRIANGLE \\|\\| obj->type == BOX";
    Sphere sphere = {kOrigin, 1.0};
    Object noData = {7, 0, nullptr};  // data is checked before the type
    Object badType = {4, 0, &sphere};
    Object *none = nullptr;

    EXPECT_DEATH(objIntersect(none, kOrigin, kOrigin), "Assertion failed: obj" + where);
    EXPECT_DEATH(objIntersect(&noData, kOrigin, kOrigin), "Assertion failed: obj->data" + where);
    EXPECT_DEATH(objIntersect(&badType, kOrigin, kOrigin), "Assertion failed: " + typeText + where);
    EXPECT_DEATH(objNormal(none, kOrigin), "Assertion failed: obj" + where);
    EXPECT_DEATH(objNormal(&noData, kOrigin), "Assertion failed: obj->data" + where);
    EXPECT_DEATH(objNormal(&badType, kOrigin), "Assertion failed: " + typeText + where);
    EXPECT_DEATH(objTextureCoord(none, kOrigin), "Assertion failed: obj" + where);
    EXPECT_DEATH(objTextureCoord(&noData, kOrigin), "Assertion failed: obj->data" + where);
    EXPECT_DEATH(objTextureCoord(&badType, kOrigin), "Assertion failed: " + typeText + where);
    EXPECT_DEATH(objDestroy(none), "Assertion failed: obj" + where);
    EXPECT_DEATH(objDestroy(&noData), "Assertion failed: obj->data" + where);
    EXPECT_DEATH(objDestroy(&badType), "Assertion failed: " + typeText + where);
}

// ---- intersection -----------------------------------------------------------------

struct RayCase {
    const char *what;
    Vector3d origin;
    Vector3d direction;
    double expected;
};

void expectHits(Object *obj, const RayCase *cases, std::size_t count)
{
    ASSERT_NE(obj, nullptr);
    for (std::size_t i = 0; i < count; i++) {
        const RayCase &c = cases[i];
        EXPECT_EQ(objIntersect(obj, c.origin, c.direction), c.expected) << c.what;
    }
    objDestroy(obj);
}

// The discriminant the sphere test works with, to confirm a case lies in the
// band it is meant to probe.
double discriminant(Vector3d center, double r, Vector3d o, Vector3d d)
{
    Vector3d w = v3dDifference(o, center);
    double a = v3dDot(d, d);
    double b = 2.0 * v3dDot(d, w);
    double k = v3dDot(w, w) - r * r;
    return b * b - 4.0 * a * k;
}

TEST(SphereIntersect, SmallerRootOrTangentOrMiss)
{
    // Unit sphere at the origin. A ray parallel to z at height y from z = -5
    // has discriminant 4 (1 - y^2).
    const double bandIn = 1.0 + 6.25e-12;    // disc about -5e-11: a tangent
    const double bandOut = 1.0 + 1e-10;      // disc about -8e-10: a miss
    const double bandPos = 1.0 - 6.25e-12;   // disc about +5e-11: still a tangent
    const double twoRoots = 1.0 - 2.5e-11;   // disc about 2e-10: two roots
    Vector3d z = v3dMake(0, 0, 1);
    double inBand = discriminant(kOrigin, 1, v3dMake(0, bandIn, -5), z);
    double posBand = discriminant(kOrigin, 1, v3dMake(0, bandPos, -5), z);
    double above = discriminant(kOrigin, 1, v3dMake(0, twoRoots, -5), z);
    ASSERT_TRUE(inBand < 0.0 && inBand >= -1e-10) << inBand;
    ASSERT_TRUE(posBand > 0.0 && posBand <= 1e-10) << posBand;
    ASSERT_LT(discriminant(kOrigin, 1, v3dMake(0, bandOut, -5), z), -1e-10);
    ASSERT_GT(above, 1e-10);

    const RayCase cases[] = {
        {"straight in", {0, 0, -5}, {0, 0, 1}, 4.0},
        {"t counts direction lengths", {0, 0, -5}, {0, 0, 2}, 2.0},
        {"from the centre: the root behind", {0, 0, 0}, {0, 0, 1}, -1.0},
        {"sphere behind: the smaller root", {0, 0, -5}, {0, 0, -1}, -6.0},
        {"passing by", {0, 2, -5}, {0, 0, 1}, -1.0},
        {"exact tangent", {0, 1, -5}, {0, 0, 1}, 5.0},
        {"tangent behind the origin", {0, 1, 5}, {0, 0, 1}, -5.0},
        {"negative disc within the band", {0, bandIn, -5}, {0, 0, 1}, 5.0},
        {"positive disc within the band", {0, bandPos, -5}, {0, 0, 1}, 5.0},
        {"negative disc beyond the band", {0, bandOut, -5}, {0, 0, 1}, -1.0},
        {"zero direction", {0, 0, -5}, {0, 0, 0}, -1.0},
    };
    expectHits(objCreateSphere(0, kOrigin, 1.0), cases, sizeof cases / sizeof cases[0]);

    // Just above the band both roots are computed; the nearer one is kept.
    Object *s = objCreateSphere(0, kOrigin, 1.0);
    double t = objIntersect(s, v3dMake(0, twoRoots, -5), z);
    EXPECT_LT(t, 5.0);
    EXPECT_NEAR(t, 5.0 - std::sqrt(above) / 2.0, 1e-12);
    objDestroy(s);
}

TEST(TriangleIntersect, PlaneHitInsideFromEitherSide)
{
    // N = (v1 - v0) x (v2 - v1) = (0, 0, -1).
    const RayCase cases[] = {
        {"from the side N points to", {0.25, 0.25, 1}, {0, 0, -1}, 1.0},
        {"from the other side", {0.25, 0.25, -1}, {0, 0, 1}, 1.0},
        {"parallel to the plane", {0.25, 0.25, 1}, {1, 0, 0}, -1.0},
        {"outside: b0 = 2, b1 = -3, b2 = 2", {2, 2, 1}, {0, 0, -1}, -1.0},
        {"through vertex v0", {0, 0, 1}, {0, 0, -1}, 1.0},
        {"through vertex v2", {1, 0, 1}, {0, 0, -1}, 1.0},
        {"through the edge v0 v2", {0.5, 0, 1}, {0, 0, -1}, 1.0},
        {"through the edge v1 v2", {0.5, 0.5, 1}, {0, 0, -1}, 1.0},
        {"just outside the edge v1 v2", {0.5, 0.5 + 1e-9, 1}, {0, 0, -1}, -1.0},
        {"moving away: the point behind", {0.25, 0.25, -2}, {0, 0, -1}, -2.0},
        {"d . N of 9e-11 counts as parallel", {0.25, 0.25, 1}, {0, 0, -9e-11}, -1.0},
    };
    expectHits(objCreateTriangle(0, v3dMake(0, 0, 0), v3dMake(0, 1, 0), v3dMake(1, 0, 0)), cases,
               sizeof cases / sizeof cases[0]);

    // |d . N| of exactly 1e-10 is not parallel.
    Object *tri = objCreateTriangle(0, v3dMake(0, 0, 0), v3dMake(0, 1, 0), v3dMake(1, 0, 0));
    EXPECT_NEAR(objIntersect(tri, v3dMake(0.25, 0.25, 1), v3dMake(0, 0, -1e-10)), 1e10, 1e-3);
    objDestroy(tri);

    // The winding does not decide the side it is met from.
    Object *swapped =
        objCreateTriangle(0, v3dMake(0, 0, 0), v3dMake(1, 0, 0), v3dMake(0, 1, 0));
    EXPECT_EQ(objIntersect(swapped, v3dMake(0.25, 0.25, 1), v3dMake(0, 0, -1)), 1.0);
    EXPECT_EQ(objIntersect(swapped, v3dMake(0.25, 0.25, -1), v3dMake(0, 0, 1)), 1.0);
    objDestroy(swapped);
}

TEST(TriangleIntersect, DegenerateAndTinyTrianglesMiss)
{
    Vector3d down = v3dMake(0, 0, -10);
    // Collinear and coincident vertices.
    Object *line = objCreateTriangle(0, v3dMake(0, 0, 0), v3dMake(1, 1, 0), v3dMake(2, 2, 0));
    EXPECT_EQ(objIntersect(line, v3dMake(1, 1, 1), down), -1.0);
    objDestroy(line);
    Object *point = objCreateTriangle(0, kOrigin, kOrigin, kOrigin);
    EXPECT_EQ(objIntersect(point, v3dMake(0, 0, 1), down), -1.0);
    objDestroy(point);

    // An area of 5e-11 is below the least area sum; 2e-10 is not.
    Object *tiny = objCreateTriangle(0, kOrigin, v3dMake(0, 1e-5, 0), v3dMake(1e-5, 0, 0));
    EXPECT_EQ(objIntersect(tiny, v3dMake(2e-6, 2e-6, 1), down), -1.0);
    objDestroy(tiny);
    Object *small = objCreateTriangle(0, kOrigin, v3dMake(0, 2e-5, 0), v3dMake(2e-5, 0, 0));
    EXPECT_DOUBLE_EQ(objIntersect(small, v3dMake(5e-6, 5e-6, 1), down), 0.1);
    objDestroy(small);
}

TEST(BoxIntersect, FacingFacesInXYZOrder)
{
    const RayCase cases[] = {
        {"z face; x and y skipped", {0, 0, -5}, {0, 0, 1}, 4.0},
        {"ur face when the component is negative", {0, 0, 5}, {0, 0, -1}, 4.0},
        {"edge y = 1, z = -1, found on the y face", {0, 5, -5}, {0, -1, 1}, 4.0},
        {"corner", {-2, -2, -2}, {1, 1, 1}, 1.0},
        {"passing by", {5, 5, -5}, {0, 0, 1}, -1.0},
        {"box behind the origin", {0, 0, 5}, {0, 0, 1}, -1.0},
        {"from the centre along +x", {0, 0, 0}, {1, 0, 0}, -1.0},
        {"from the centre along -y", {0, 0, 0}, {0, -1, 0}, -1.0},
        {"from the centre diagonally", {0, 0, 0}, {0.3, -0.2, 0.7}, -1.0},
        {"from the surface outwards", {1, 0, 0}, {1, 0, 0}, -1.0},
        {"from the surface inwards", {1, 0, 0}, {-1, 0, 0}, -1.0},
        {"component of 1e-10 counts as zero", {-5, 0, 0}, {1e-10, 0, 0}, -1.0},
        {"zero direction", {-5, 0, 0}, {0, 0, 0}, -1.0},
    };
    expectHits(objCreateBox(0, v3dMake(-1, -1, -1), v3dMake(1, 1, 1)), cases,
               sizeof cases / sizeof cases[0]);

    Object *box = objCreateBox(0, v3dMake(-1, -1, -1), v3dMake(1, 1, 1));
    // 2e-10 is above the tolerance: the x face is tried.
    EXPECT_DOUBLE_EQ(objIntersect(box, v3dMake(-5, 0, 0), v3dMake(2e-10, 0, 0)), 2e10);
    // The x face's point lies off the box; the y face is tried next and holds it.
    EXPECT_DOUBLE_EQ(objIntersect(box, v3dMake(-5, -2, 0), v3dMake(1, 0.2, 0)), 5.0);
    objDestroy(box);
}

// ---- normals and texture coordinates -----------------------------------------------

TEST(SphereSurface, NormalAndAngles)
{
    Object *s = objCreateSphere(0, kOrigin, 2.0);
    expectVec(objNormal(s, v3dMake(2, 0, 0)), 2, 0, 0);
    expectVec(objNormal(s, v3dMake(0, 2, 0)), 0, 2, 0);

    // The divisors are the decimal constants, so the values sit a hair off
    // the quarter points: u above 0.25 on the equator, v below 0.875 at +y.
    Vector3d tc = objTextureCoord(s, v3dMake(2, 0, 0));
    EXPECT_EQ(tc.x, (M_PI / 2) / 6.283185307);
    EXPECT_GT(tc.x, 0.25);
    EXPECT_NEAR(tc.x, 0.25, 1e-10);
    EXPECT_EQ(tc.y, 1.0);
    EXPECT_EQ(tc.z, 0.0);

    tc = objTextureCoord(s, v3dMake(0, 2, 0));
    EXPECT_NEAR(tc.x, 0.25, 1e-10);
    EXPECT_EQ(tc.y, 1.0 - (M_PI / 2) / 12.566370614);
    EXPECT_LT(tc.y, 0.875);
    EXPECT_NEAR(tc.y, 0.875, 1e-10);

    EXPECT_NEAR(objTextureCoord(s, v3dMake(0, -2, 0)).y, 1.125, 1e-10);
    // The seam toward -x: 0.75 above it, 1.25 below it.
    EXPECT_NEAR(objTextureCoord(s, v3dMake(-2, 0, 0)).y, 0.75, 1e-10);
    EXPECT_NEAR(objTextureCoord(s, v3dMake(-2, -0.0, 0)).y, 1.25, 1e-10);
    // Poles: u = 0 at +z, about 0.5 at -z.
    EXPECT_EQ(objTextureCoord(s, v3dMake(0, 0, 2)).x, 0.0);
    EXPECT_NEAR(objTextureCoord(s, v3dMake(0, 0, -2)).x, 0.5, 1e-10);
    objDestroy(s);
}

TEST(SphereSurface, CentreIsReportedAsNullVector)
{
    Object *s = objCreateSphere(0, v3dMake(1, 1, 1), 2.0);
    Vector3d tc;
    std::string out = captureStdout([&] { tc = objTextureCoord(s, v3dMake(1, 1, 1)); });
    EXPECT_EQ(maskPrefixes(out), "\n[#] v3dNormalized: NULL VECTOR\n");
    EXPECT_TRUE(std::isfinite(tc.x) && std::isfinite(tc.y));
    objDestroy(s);
}

TEST(TriangleSurface, NormalFollowsVertexOrderAndTextureIsOrigin)
{
    Object *t = objCreateTriangle(0, v3dMake(0, 0, 0), v3dMake(1, 0, 0), v3dMake(0, 1, 0));
    for (Vector3d p : {v3dMake(0.2, 0.2, 0), v3dMake(7, -3, 9)}) {
        expectVec(objNormal(t, p), 0, 0, 1);
        expectVec(objTextureCoord(t, p), 0, 0, 0);
    }
    objDestroy(t);
    t = objCreateTriangle(0, v3dMake(0, 0, 0), v3dMake(0, 1, 0), v3dMake(1, 0, 0));
    expectVec(objNormal(t, v3dMake(0.2, 0.2, 0)), 0, 0, -1);
    objDestroy(t);
    // Twice the area: (1, 0, 0) x (0, 3, 0).
    t = objCreateTriangle(0, v3dMake(1, 1, 1), v3dMake(2, 1, 1), v3dMake(1, 4, 1));
    expectVec(objNormal(t, kOrigin), 0, 0, 3);
    objDestroy(t);
}

TEST(BoxSurface, FaceNormalsAndCoordinates)
{
    struct Case {
        Vector3d p;
        Vector3d normal;
        Vector3d tc;
    } cases[] = {
        {{0, 1, 1.5}, {-1, 0, 0}, {0.5, 0.5, 0}},
        {{0.5, 2, 1.5}, {0, 1, 0}, {0.5, 0.5, 0}},
        {{0.25, 0.5, 3}, {0, 0, 1}, {0.25, 0.25, 0}},
        {{1, 1, 1.5}, {1, 0, 0}, {0.5, 0.5, 0}},
        {{0.5, 0, 1.5}, {0, -1, 0}, {0.5, 0.5, 0}},
        {{0.5, 1, 0}, {0, 0, -1}, {0.5, 0.5, 0}},
        // Corners and edges: x before y before z, ll before ur.
        {{1, 2, 3}, {1, 0, 0}, {1, 1, 0}},
        {{0, 0, 0}, {-1, 0, 0}, {0, 0, 0}},
        {{0.5, 0, 3}, {0, -1, 0}, {1, 0.5, 0}},
        {{0.5, 2, 0}, {0, 1, 0}, {0, 0.5, 0}},
        // The face test is strict.
        {{5e-11, 1, 1}, {-1, 0, 0}, {0.5, 1.0 / 3.0, 0}},
        {{1e-10, 1, 1}, {0, 0, 0}, {0, 0, 0}},
        {{1 - 5e-11, 1, 1.5}, {1, 0, 0}, {0.5, 0.5, 0}},
        // Inside: no face.
        {{0.5, 1, 1.5}, {0, 0, 0}, {0, 0, 0}},
    };
    Object *box = objCreateBox(0, v3dMake(0, 0, 0), v3dMake(1, 2, 3));
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "p = " << c.p.x << ", " << c.p.y << ", " << c.p.z);
        expectVec(objNormal(box, c.p), c.normal.x, c.normal.y, c.normal.z);
        expectVec(objTextureCoord(box, c.p), c.tc.x, c.tc.y, c.tc.z);
    }
    objDestroy(box);
}

TEST(BoxSurface, LowerFacePlaneWinsOnAThinBox)
{
    // Both x planes lie within the tolerance of each point: ll is tested first.
    Object *box = objCreateBox(0, v3dMake(0, 0, 0), v3dMake(5e-11, 1, 1));
    expectVec(objNormal(box, v3dMake(5e-11, 0.5, 0.5)), -1, 0, 0);
    expectVec(objNormal(box, v3dMake(0, 0.5, 0.5)), -1, 0, 0);
    objDestroy(box);
}

TEST(BoxSurface, FlatBoxGivesFiniteCoordinates)
{
    // Flat along y: at its x edges the x face matches first and its u runs
    // over the zero y extent, which counts as 0.
    Object *box = objCreateBox(0, v3dMake(0, 1, 0), v3dMake(2, 1, 2));
    expectVec(objTextureCoord(box, v3dMake(0, 1, 1)), 0, 0.5, 0);
    expectVec(objTextureCoord(box, v3dMake(2, 1, 0.5)), 0, 0.25, 0);
    expectVec(objTextureCoord(box, v3dMake(1, 1, 1.5)), 0.75, 0.5, 0);
    objDestroy(box);

    // Flat along every axis: a point.
    box = objCreateBox(0, v3dMake(3, 3, 3), v3dMake(3, 3, 3));
    expectVec(objTextureCoord(box, v3dMake(3, 3, 3)), 0, 0, 0);
    expectVec(objNormal(box, v3dMake(3, 3, 3)), -1, 0, 0);
    objDestroy(box);
}

}  // namespace
