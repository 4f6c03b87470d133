#include "engine/object.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/assertion.h"
#include "engine/algebra.h"

namespace {

// The geometric tolerance: absolute, not scaled by the scene's size or by the
// length of a ray's direction.
const double kTolerance = 1e-10;

// A new object with an uninitialised record of recordSize bytes, or nullptr
// when memory runs out; nothing stays allocated then.
Object *allocObject(int type, int material, std::size_t recordSize)
{
    Object *obj = static_cast<Object *>(std::malloc(sizeof(Object)));
    if (obj == nullptr)
        return nullptr;
    void *data = std::malloc(recordSize);
    if (data == nullptr) {
        std::free(obj);
        return nullptr;
    }
    obj->type = type;
    obj->material = material;
    obj->data = data;
    return obj;
}

// Whether coordinate c lies on the box face plane at coordinate face.
inline bool onFacePlane(double c, double face) { return std::fabs(c - face) < kTolerance; }

// The fraction of the way from lo to hi at which c lies; 0 over an extent of
// zero (a box flat along that axis), so texture lookups always get a finite
// coordinate.
inline double extentFraction(double c, double lo, double hi)
{
    double extent = hi - lo;
    if (extent == 0.0)
        return 0.0;
    return (c - lo) / extent;
}

}  // namespace

Object *objCreateSphere(int material, Vector3d center, double radius)
{
    Object *obj = allocObject(SPHERE, material, sizeof(Sphere));
    if (obj == nullptr)
        return nullptr;
    Sphere *sphere = static_cast<Sphere *>(obj->data);
    sphere->center = center;
    sphere->radius = radius;
    return obj;
}

Object *objCreateTriangle(int material, Vector3d v0, Vector3d v1, Vector3d v2)
{
    Object *obj = allocObject(TRIANGLE, material, sizeof(Triangle));
    if (obj == nullptr)
        return nullptr;
    Triangle *triangle = static_cast<Triangle *>(obj->data);
    triangle->v0 = v0;
    triangle->v1 = v1;
    triangle->v2 = v2;
    return obj;
}

Object *objCreateBox(int material, Vector3d ll, Vector3d ur)
{
    Object *obj = allocObject(BOX, material, sizeof(Box));
    if (obj == nullptr)
        return nullptr;
    Box *box = static_cast<Box *>(obj->data);
    box->ll = ll;
    box->ur = ur;
    return obj;
}

void objDestroy(Object *obj)
{
    GLINT_ASSERT(obj);
    GLINT_ASSERT(obj->data);
    GLINT_ASSERT(obj->type == SPHERE || obj->type == TRIANGLE || obj->type == BOX);
    std::free(obj->data);
    std::free(obj);
}

int objGetMaterial(const Object *obj) { return obj->material; }

#ifndef GLINT_CMD_FORMS
// glintcmd supplies its own form of objIntersect in cmd/.

namespace {

// The smaller root of |o + t d - c|^2 = r^2, whatever its sign, or -1.0. A
// discriminant within the tolerance of 0 counts as a tangent with one root.
inline double sphereIntersect(const Sphere &sphere, Vector3d o, Vector3d d)
{
    Vector3d w = v3dDifference(o, sphere.center);
    double a = v3dDot(d, d);
    double b = 2.0 * v3dDot(d, w);
    double k = v3dDot(w, w) - sphere.radius * sphere.radius;
    double disc = b * b - 4.0 * a * k;

    if (std::fabs(disc) <= kTolerance) {
        // A zero direction would give 0 / 0 here; it meets nothing.
        if (a == 0.0)
            return -1.0;
        return -b / (2.0 * a);
    }
    if (disc <= kTolerance)
        return -1.0;

    double root = std::sqrt(disc);
    double t1 = (-b + root) / (2.0 * a);
    double t2 = (-b - root) / (2.0 * a);
    return t1 < t2 ? t1 : t2;
}

// The plane hit of the ray, kept when the point lies inside the triangle
// (edges and vertices included) by its barycentric coordinates; -1.0
// otherwise. The triangle is met from either side.
inline double triangleIntersect(const Triangle &tri, Vector3d o, Vector3d d)
{
    Vector3d n = v3dCross(v3dDifference(tri.v1, tri.v0), v3dDifference(tri.v2, tri.v1));
    double den = v3dDot(d, n);
    if (std::fabs(den) < kTolerance)
        return -1.0;

    double t = v3dDot(v3dDifference(tri.v0, o), n) / den;
    Vector3d p = v3dSum(o, v3dScaled(t, d));

    // Signed areas of the sub-triangles that p forms with each edge: half the
    // length of the edge's cross product, negative when it points against n.
    Vector3d c0 = v3dCross(v3dDifference(tri.v1, tri.v0), v3dDifference(p, tri.v0));
    Vector3d c1 = v3dCross(v3dDifference(tri.v2, tri.v1), v3dDifference(p, tri.v1));
    Vector3d c2 = v3dCross(v3dDifference(tri.v0, tri.v2), v3dDifference(p, tri.v2));
    double len = v3dNorm(n);
    double a0 = 0.5 * v3dDot(c0, n) / len;
    double a1 = 0.5 * v3dDot(c1, n) / len;
    double a2 = 0.5 * v3dDot(c2, n) / len;
    double s = a0 + a1 + a2;
    if (s < kTolerance)
        return -1.0;

    double b0 = a0 / s;
    if (b0 < 0.0 || b0 > 1.0)
        return -1.0;
    double b1 = a1 / s;
    if (b1 < 0.0 || b1 > 1.0)
        return -1.0;
    double b2 = a2 / s;
    if (b2 < 0.0 || b2 > 1.0)
        return -1.0;
    return t;
}

// One axis of a ray against a box: the ray's origin and direction component
// on it and the box's range on it.
struct BoxAxis {
    double o;
    double d;
    double ll;
    double ur;
};

// Tries the face of axis a that faces the ray; the hit counts when the point
// lies within the box's range on the other two axes b and c, bounds included.
inline bool boxFaceHit(const BoxAxis &a, const BoxAxis &b, const BoxAxis &c, double *t)
{
    if (std::fabs(a.d) <= kTolerance)
        return false;
    double face = a.d > 0.0 ? a.ll : a.ur;
    double ta = (face - a.o) / a.d;
    if (ta <= kTolerance)
        return false;
    double pb = b.o + ta * b.d;
    double pc = c.o + ta * c.d;
    if (b.ll <= pb && pb <= b.ur && c.ll <= pc && pc <= c.ur) {
        *t = ta;
        return true;
    }
    return false;
}

// Only the faces that face the ray are tried, in x, y, z order, so an edge or
// corner goes to the first of its axes, and a ray from inside meets nothing.
inline double boxIntersect(const Box &box, Vector3d o, Vector3d d)
{
    const BoxAxis x = {o.x, d.x, box.ll.x, box.ur.x};
    const BoxAxis y = {o.y, d.y, box.ll.y, box.ur.y};
    const BoxAxis z = {o.z, d.z, box.ll.z, box.ur.z};
    double t;
    if (boxFaceHit(x, y, z, &t))
        return t;
    if (boxFaceHit(y, x, z, &t))
        return t;
    if (boxFaceHit(z, x, y, &t))
        return t;
    return -1.0;
}

}  // namespace

double objIntersect(const Object *obj, Vector3d origin, Vector3d direction)
{
    GLINT_ASSERT(obj);
    GLINT_ASSERT(obj->data);
    GLINT_ASSERT(obj->type == SPHERE || obj->type == TRIANGLE || obj->type == BOX);

    if (obj->type == SPHERE)
        return sphereIntersect(*static_cast<const Sphere *>(obj->data), origin, direction);
    if (obj->type == TRIANGLE)
        return triangleIntersect(*static_cast<const Triangle *>(obj->data), origin, direction);
    if (obj->type == BOX)
        return boxIntersect(*static_cast<const Box *>(obj->data), origin, direction);
    return -1.0;
}
#endif

#ifndef GLINT_CMD_FORMS
// glintcmd supplies its own form of objNormal in cmd/.
Vector3d objNormal(const Object *obj, Vector3d p)
{
    GLINT_ASSERT(obj);
    GLINT_ASSERT(obj->data);
    GLINT_ASSERT(obj->type == SPHERE || obj->type == TRIANGLE || obj->type == BOX);

    if (obj->type == SPHERE) {
        const Sphere *sphere = static_cast<const Sphere *>(obj->data);
        return v3dDifference(p, sphere->center);
    }
    if (obj->type == TRIANGLE) {
        const Triangle *tri = static_cast<const Triangle *>(obj->data);
        return v3dCross(v3dDifference(tri->v1, tri->v0), v3dDifference(tri->v2, tri->v0));
    }
    if (obj->type == BOX) {
        // On an edge or corner the first face wins: x before y before z, and
        // on one axis the ll face before the ur face.
        const Box *box = static_cast<const Box *>(obj->data);
        if (onFacePlane(p.x, box->ll.x))
            return v3dMake(-1.0, 0.0, 0.0);
        if (onFacePlane(p.x, box->ur.x))
            return v3dMake(1.0, 0.0, 0.0);
        if (onFacePlane(p.y, box->ll.y))
            return v3dMake(0.0, -1.0, 0.0);
        if (onFacePlane(p.y, box->ur.y))
            return v3dMake(0.0, 1.0, 0.0);
        if (onFacePlane(p.z, box->ll.z))
            return v3dMake(0.0, 0.0, -1.0);
        if (onFacePlane(p.z, box->ur.z))
            return v3dMake(0.0, 0.0, 1.0);
    }
    return v3dMake(0.0, 0.0, 0.0);
}
#endif

Vector3d objTextureCoord(const Object *obj, Vector3d p)
{
    GLINT_ASSERT(obj);
    GLINT_ASSERT(obj->data);
    GLINT_ASSERT(obj->type == SPHERE || obj->type == TRIANGLE || obj->type == BOX);

    if (obj->type == SPHERE) {
        // u from the angle to the +z pole (0 to 0.5), v from the azimuth
        // about z (1 toward +x, running past 1 toward -y).
        const Sphere *sphere = static_cast<const Sphere *>(obj->data);
        Vector3d d = v3dNormalized(v3dDifference(p, sphere->center));
        double phi = std::atan2(d.y, d.x);
        double theta = std::atan2(std::sqrt(d.x * d.x + d.y * d.y), d.z);
        return v3dMake(theta / 6.283185307, 1.0 - phi / 12.566370614, 0.0);
    }
    if (obj->type == TRIANGLE)
        return v3dMake(0.0, 0.0, 0.0);
    if (obj->type == BOX) {
        // Each face maps the next two axes in cyclic order; both faces of an
        // axis get the same mapping.
        const Box *box = static_cast<const Box *>(obj->data);
        if (onFacePlane(p.x, box->ll.x) || onFacePlane(p.x, box->ur.x))
            return v3dMake(extentFraction(p.y, box->ll.y, box->ur.y),
                           extentFraction(p.z, box->ll.z, box->ur.z), 0.0);
        if (onFacePlane(p.y, box->ll.y) || onFacePlane(p.y, box->ur.y))
            return v3dMake(extentFraction(p.z, box->ll.z, box->ur.z),
                           extentFraction(p.x, box->ll.x, box->ur.x), 0.0);
        if (onFacePlane(p.z, box->ll.z) || onFacePlane(p.z, box->ur.z))
            return v3dMake(extentFraction(p.x, box->ll.x, box->ur.x),
                           extentFraction(p.y, box->ll.y, box->ur.y), 0.0);
    }
    return v3dMake(0.0, 0.0, 0.0);
}

// ---- scene file readers ----

// A SPHERE body: material index, radius, then the centre (the constructor
// takes the centre first). Numbers that do not convert count as 0.
Object *objReadSphere(std::FILE *fp)
{
    int material = 0;
    double radius = 0.0;
    std::fscanf(fp, "%i", &material);
    std::fscanf(fp, "%lf", &radius);
    Vector3d center = v3dRead(fp);
    std::printf("\n[%s:%d] read sphere:\n", __FILE__, __LINE__);
    std::printf("\tmaterial = %i,\n", material);
    std::printf("\tradius = %g,\n", radius);
    std::printf("\tcenter = (%g, %g, %g)\n", center.x, center.y, center.z);
    return objCreateSphere(material, center, radius);
}

// A TRIANGLE body: material index, then the three vertices in order.
Object *objReadTriangle(std::FILE *fp)
{
    int material = 0;
    std::fscanf(fp, "%i", &material);
    Vector3d v0 = v3dRead(fp);
    Vector3d v1 = v3dRead(fp);
    Vector3d v2 = v3dRead(fp);
    std::printf("\n[%s:%d] read triangle:\n", __FILE__, __LINE__);
    std::printf("\tmaterial = %i,\n", material);
    std::printf("\tv0 = (%g, %g, %g),\n", v0.x, v0.y, v0.z);
    std::printf("\tv1 = (%g, %g, %g),\n", v1.x, v1.y, v1.z);
    std::printf("\tv2 = (%g, %g, %g)\n", v2.x, v2.y, v2.z);
    return objCreateTriangle(material, v0, v1, v2);
}

// glintcmd supplies its own form of the box reader in cmd/.
#ifndef GLINT_CMD_FORMS
// A BOX body: material index, then two opposite corners in either order. The
// box keeps the smaller coordinate of each axis in ll and the larger in ur.
Object *objReadBox(std::FILE *fp)
{
    int material = 0;
    double ax = 0.0, ay = 0.0, az = 0.0, bx = 0.0, by = 0.0, bz = 0.0;
    std::fscanf(fp, "%i", &material);
    std::fscanf(fp, " %lf %lf %lf %lf %lf %lf ", &ax, &ay, &az, &bx, &by, &bz);
    Vector3d ll = v3dMake(ax < bx ? ax : bx, ay < by ? ay : by, az < bz ? az : bz);
    Vector3d ur = v3dMake(ax > bx ? ax : bx, ay > by ? ay : by, az > bz ? az : bz);
    std::printf("\n[%s:%d] read box:\n", __FILE__, __LINE__);
    std::printf("\tmaterial = %i,\n", material);
    std::printf("\tll = (%g, %g, %g),\n", ll.x, ll.y, ll.z);
    std::printf("\tur = (%g, %g, %g)\n", ur.x, ur.y, ur.z);
    return objCreateBox(material, ll, ur);
}
#endif
