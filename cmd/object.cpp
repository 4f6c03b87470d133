// glintcmd's forms of three object operations: the intersection test, the
// normal (a tighter box face tolerance) and the box reader (two points).
// Everything else about objects comes from the engine's object module.
#include "engine/object.h"

#include <cmath>
#include <cstdio>

#include "common/assertion.h"
#include "engine/algebra.h"

// A point lies on a box face when its coordinate is closer than this to the
// face's plane.
static const double FACE_EPSILON = 1e-12;

static void assertObject(const Object *obj)
{
    GLINT_ASSERT(obj);
    GLINT_ASSERT(obj->data);
    GLINT_ASSERT(obj->type == SPHERE || obj->type == TRIANGLE || obj->type == BOX);
}

// The far root whenever the near one lies less than one direction length from
// the origin; no tolerance on the discriminant.
static double intersectSphere(const Sphere *s, Vector3d o, Vector3d d)
{
    const Vector3d oc = v3dDifference(o, s->center);
    const double a = v3dDot(d, d);
    const double b = v3dDot(v3dScaled(2.0, d), oc);
    const double k = v3dDot(oc, oc) - s->radius * s->radius;
    const double disc = b * b - 4.0 * a * k;
    if (disc < 0.0)
        return -1.0;
    double t = (-b - std::sqrt(disc)) / (2.0 * a);
    if (t < 1.0)
        t = (-b + std::sqrt(disc)) / (2.0 * a);
    return t;
}

// Plane hit, then a strict inside test: a point on an edge or a vertex is out.
static double intersectTriangle(const Triangle *tr, Vector3d o, Vector3d d)
{
    const Vector3d e1 = v3dDifference(tr->v1, tr->v0);
    const Vector3d e2 = v3dDifference(tr->v2, tr->v0);
    const Vector3d m = v3dCross(e1, e2);
    const double den = v3dDot(d, m);
    if (den == 0.0)
        return -1.0;  // parallel to the plane (or a degenerate triangle)
    const double t = v3dDot(v3dDifference(tr->v0, o), m) / den;
    const Vector3d p = v3dSum(o, v3dScaled(t, d));
    const Vector3d c1 = v3dCross(e1, v3dDifference(p, tr->v0));
    const Vector3d c2 = v3dCross(v3dDifference(tr->v2, tr->v1), v3dDifference(p, tr->v1));
    const Vector3d c3 = v3dCross(v3dDifference(tr->v0, tr->v2), v3dDifference(p, tr->v2));
    if (v3dDot(c1, c2) > 0.0 && v3dDot(c1, c3) > 0.0)
        return t;
    return -1.0;
}

// One slab of the box test: the entering face on axis a (coordinates oa, da)
// and the point's coordinates on the two other axes (ob, db on [lb, ub] and
// oc, dc on [lc, uc]). Stores t and returns true when the point lies on the face,
// bounds included.
static bool boxFace(double la, double ua, double oa, double da, double lb, double ub, double ob,
                    double db, double lc, double uc, double oc, double dc, double *t)
{
    if (da == 0.0)
        return false;
    const double plane = da > 0.0 ? la : ua;
    *t = (plane - oa) / da;
    const double pb = ob + *t * db;
    const double pc = oc + *t * dc;
    return lb <= pb && pb <= ub && lc <= pc && pc <= uc;
}

// Slab by slab in the order x, y, z; only the face the ray enters through is
// tried, and its t is returned whatever its sign.
static double intersectBox(const Box *bx, Vector3d o, Vector3d d)
{
    const Vector3d l = bx->ll;
    const Vector3d u = bx->ur;
    double t;
    if (boxFace(l.x, u.x, o.x, d.x, l.y, u.y, o.y, d.y, l.z, u.z, o.z, d.z, &t))
        return t;
    if (boxFace(l.y, u.y, o.y, d.y, l.x, u.x, o.x, d.x, l.z, u.z, o.z, d.z, &t))
        return t;
    if (boxFace(l.z, u.z, o.z, d.z, l.x, u.x, o.x, d.x, l.y, u.y, o.y, d.y, &t))
        return t;
    return -1.0;
}

double objIntersect(const Object *obj, Vector3d origin, Vector3d direction)
{
    assertObject(obj);
    if (obj->type == SPHERE)
        return intersectSphere(static_cast<const Sphere *>(obj->data), origin, direction);
    if (obj->type == TRIANGLE)
        return intersectTriangle(static_cast<const Triangle *>(obj->data), origin, direction);
    if (obj->type == BOX)
        return intersectBox(static_cast<const Box *>(obj->data), origin, direction);
    return -1.0;
}

Vector3d objNormal(const Object *obj, Vector3d p)
{
    assertObject(obj);
    if (obj->type == SPHERE) {
        const Sphere *s = static_cast<const Sphere *>(obj->data);
        return v3dDifference(p, s->center);
    }
    if (obj->type == TRIANGLE) {
        const Triangle *tr = static_cast<const Triangle *>(obj->data);
        return v3dCross(v3dDifference(tr->v1, tr->v0), v3dDifference(tr->v2, tr->v0));
    }
    if (obj->type == BOX) {
        const Box *bx = static_cast<const Box *>(obj->data);
        if (std::fabs(p.x - bx->ll.x) < FACE_EPSILON)
            return v3dMake(-1.0, 0.0, 0.0);
        if (std::fabs(p.x - bx->ur.x) < FACE_EPSILON)
            return v3dMake(1.0, 0.0, 0.0);
        if (std::fabs(p.y - bx->ll.y) < FACE_EPSILON)
            return v3dMake(0.0, -1.0, 0.0);
        if (std::fabs(p.y - bx->ur.y) < FACE_EPSILON)
            return v3dMake(0.0, 1.0, 0.0);
        if (std::fabs(p.z - bx->ll.z) < FACE_EPSILON)
            return v3dMake(0.0, 0.0, -1.0);
        if (std::fabs(p.z - bx->ur.z) < FACE_EPSILON)
            return v3dMake(0.0, 0.0, 1.0);
    }
    return v3dMake(0.0, 0.0, 0.0);
}

// ---- scene file readers ----

// A BOX body: the material index, then two corners read as points (each
// reported by v3dRead when it runs short). The corners may come in any order.
Object *objReadBox(std::FILE *fp)
{
    int material = 0;
    if (std::fscanf(fp, "%i", &material) != 1)
        material = 0;
    const Vector3d a = v3dRead(fp);
    const Vector3d b = v3dRead(fp);
    const Vector3d ll = v3dMake(a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z);
    const Vector3d ur = v3dMake(a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y, a.z > b.z ? a.z : b.z);
    printf("\n[%s:%d] read box:\n", __FILE__, __LINE__);
    printf("\tmaterial = %i,\n", material);
    printf("\tll = (%g, %g, %g),\n", ll.x, ll.y, ll.z);
    printf("\tur = (%g, %g, %g)\n", ur.x, ur.y, ur.z);
    return objCreateBox(material, ll, ur);
}
