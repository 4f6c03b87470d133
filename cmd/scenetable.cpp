#include "cmd/scenetable.h"

#include <cmath>

#include "common/assertion.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define GLINT_PAIRS 1
#else
#define GLINT_PAIRS 0
#endif

// The arithmetic below is glintcmd's objIntersect (cmd/object.cpp) written out
// over the arrays, operation for operation in the same order, so every t is
// the same double. With SSE2, two objects of a type are tested at once: its
// double operations (add, subtract, multiply, divide, square root) round
// exactly as the scalar ones do, and no fused multiply-add is ever used.
//
// Two liberties are taken, neither of which can change a result:
// - a t that the search would discard anyway (not above 0.01, or beyond the
//   nearest so far) is not examined further, so a triangle's inside test is
//   made only for a t that could be taken;
// - the types are searched one after the other rather than in index order, so
//   equal distances are settled by comparing indices: the lower index wins, as
//   a search in index order with a strict comparison gives.

namespace {

const double HIT_EPSILON = 0.01;
const double NO_HIT = 1e308;

// What every test of one ray uses.
struct Ray {
    Vector3d o;
    Vector3d d;
    Vector3d d2;  // v3dScaled(2.0, d)
    double a4;    // 4.0 * (d . d)
    double a2;    // 2.0 * (d . d)
};

Ray makeRay(Vector3d o, Vector3d d)
{
    Ray r;
    r.o = o;
    r.d = d;
    r.d2 = v3dScaled(2.0, d);
    const double a = v3dDot(d, d);
    r.a4 = 4.0 * a;
    r.a2 = 2.0 * a;
    return r;
}

// Collects the nearest hit as nearestHit does.
struct NearestSink {
    int skip;
    double best;
    int bestIndex;
    // A t above this is discarded whatever its index.
    double limit() const { return best; }
    // Never asks the search to stop.
    bool offer(double t, int index)
    {
        if (index == skip)
            return false;
        if (t > HIT_EPSILON && (t < best || (t == best && index < bestIndex))) {
            best = t;
            bestIndex = index;
        }
        return false;
    }
};

// Asks the search to stop at the first object that nearestHit would take,
// and keeps its index.
struct BlockerSink {
    int skip;
    int found;
    double limit() const { return NO_HIT; }
    bool offer(double t, int index)
    {
        if (index != skip && t > HIT_EPSILON && t < NO_HIT) {
            found = index;
            return true;
        }
        return false;
    }
};

// ---- spheres ----

// The roots, once the discriminant is known not to be negative.
template <class Sink>
inline bool sphereRoots(const Ray &ray, double b, double disc, int index, Sink &sink)
{
    const double sq = std::sqrt(disc);
    double t = (-b - sq) / ray.a2;
    if (t < 1.0)
        t = (-b + sq) / ray.a2;
    return sink.offer(t, index);
}

template <class Sink>
inline bool sphereOne(const Ray &ray, const SphereSet &s, size_t i, Sink &sink)
{
    const double ocx = ray.o.x - s.cx[i];
    const double ocy = ray.o.y - s.cy[i];
    const double ocz = ray.o.z - s.cz[i];
    const double b = ray.d2.x * ocx + ray.d2.y * ocy + ray.d2.z * ocz;
    const double k = (ocx * ocx + ocy * ocy + ocz * ocz) - s.rr[i];
    const double disc = b * b - ray.a4 * k;
    if (disc < 0.0)
        return false;
    return sphereRoots(ray, b, disc, s.index[i], sink);
}

template <class Sink>
bool searchSpheres(const Ray &ray, const SphereSet &s, Sink &sink)
{
    const size_t n = s.index.size();
    size_t i = 0;
#if GLINT_PAIRS
    const __m128d ox = _mm_set1_pd(ray.o.x), oy = _mm_set1_pd(ray.o.y), oz = _mm_set1_pd(ray.o.z);
    const __m128d dx = _mm_set1_pd(ray.d2.x), dy = _mm_set1_pd(ray.d2.y),
                  dz = _mm_set1_pd(ray.d2.z);
    const __m128d a4 = _mm_set1_pd(ray.a4);
    const __m128d zero = _mm_setzero_pd();
    for (; i + 1 < n; i += 2) {
        const __m128d ocx = _mm_sub_pd(ox, _mm_loadu_pd(&s.cx[i]));
        const __m128d ocy = _mm_sub_pd(oy, _mm_loadu_pd(&s.cy[i]));
        const __m128d ocz = _mm_sub_pd(oz, _mm_loadu_pd(&s.cz[i]));
        const __m128d b = _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, ocx), _mm_mul_pd(dy, ocy)),
                                     _mm_mul_pd(dz, ocz));
        const __m128d oc2 = _mm_add_pd(_mm_add_pd(_mm_mul_pd(ocx, ocx), _mm_mul_pd(ocy, ocy)),
                                       _mm_mul_pd(ocz, ocz));
        const __m128d k = _mm_sub_pd(oc2, _mm_loadu_pd(&s.rr[i]));
        const __m128d disc = _mm_sub_pd(_mm_mul_pd(b, b), _mm_mul_pd(a4, k));
        // Lanes whose discriminant is not below 0 (a NaN included) go on.
        const int go = _mm_movemask_pd(_mm_cmpnlt_pd(disc, zero));
        if (go == 0)
            continue;
        double bl[2], dl[2];
        _mm_storeu_pd(bl, b);
        _mm_storeu_pd(dl, disc);
        for (int lane = 0; lane < 2; lane++)
            if ((go >> lane) & 1)
                if (sphereRoots(ray, bl[lane], dl[lane], s.index[i + lane], sink))
                    return true;
    }
#endif
    for (; i < n; i++)
        if (sphereOne(ray, s, i, sink))
            return true;
    return false;
}

// ---- triangles ----

// The strict inside test at the plane's t.
template <class Sink>
inline bool triangleInside(const Ray &ray, const TriangleSet &s, size_t i, double t, Sink &sink)
{
    const Vector3d p = v3dSum(ray.o, v3dScaled(t, ray.d));
    const Vector3d c1 = v3dCross(s.e01.at(i), v3dDifference(p, s.v0.at(i)));
    const Vector3d c2 = v3dCross(s.e12.at(i), v3dDifference(p, s.v1.at(i)));
    const Vector3d c3 = v3dCross(s.e20.at(i), v3dDifference(p, s.v2.at(i)));
    if (v3dDot(c1, c2) > 0.0 && v3dDot(c1, c3) > 0.0)
        return sink.offer(t, s.index[i]);
    return false;
}

template <class Sink>
inline bool triangleOne(const Ray &ray, const TriangleSet &s, size_t i, Sink &sink)
{
    const double den = ray.d.x * s.m.x[i] + ray.d.y * s.m.y[i] + ray.d.z * s.m.z[i];
    if (den == 0.0)
        return false;
    const double num = (s.v0.x[i] - ray.o.x) * s.m.x[i] + (s.v0.y[i] - ray.o.y) * s.m.y[i] +
                       (s.v0.z[i] - ray.o.z) * s.m.z[i];
    const double t = num / den;
    if (!(t > HIT_EPSILON && t <= sink.limit()))
        return false;
    return triangleInside(ray, s, i, t, sink);
}

#if GLINT_PAIRS
// The three coordinates of two vectors of an array set.
struct Pair3 {
    __m128d x, y, z;
};

inline Pair3 load3(const VectorArrays &a, size_t i)
{
    return {_mm_loadu_pd(&a.x[i]), _mm_loadu_pd(&a.y[i]), _mm_loadu_pd(&a.z[i])};
}

inline Pair3 sub3(Pair3 a, Pair3 b)
{
    return {_mm_sub_pd(a.x, b.x), _mm_sub_pd(a.y, b.y), _mm_sub_pd(a.z, b.z)};
}

// a x b, as v3dCross.
inline Pair3 cross3(Pair3 a, Pair3 b)
{
    return {_mm_sub_pd(_mm_mul_pd(a.y, b.z), _mm_mul_pd(a.z, b.y)),
            _mm_sub_pd(_mm_mul_pd(a.z, b.x), _mm_mul_pd(a.x, b.z)),
            _mm_sub_pd(_mm_mul_pd(a.x, b.y), _mm_mul_pd(a.y, b.x))};
}

// a . b, as v3dDot.
inline __m128d dot3(Pair3 a, Pair3 b)
{
    return _mm_add_pd(_mm_add_pd(_mm_mul_pd(a.x, b.x), _mm_mul_pd(a.y, b.y)), _mm_mul_pd(a.z, b.z));
}
#endif

template <class Sink>
bool searchTriangles(const Ray &ray, const TriangleSet &s, Sink &sink)
{
    const size_t n = s.index.size();
    size_t i = 0;
#if GLINT_PAIRS
    const Pair3 o = {_mm_set1_pd(ray.o.x), _mm_set1_pd(ray.o.y), _mm_set1_pd(ray.o.z)};
    const Pair3 d = {_mm_set1_pd(ray.d.x), _mm_set1_pd(ray.d.y), _mm_set1_pd(ray.d.z)};
    const __m128d eps = _mm_set1_pd(HIT_EPSILON);
    const __m128d zero = _mm_setzero_pd();
    for (; i + 1 < n; i += 2) {
        const Pair3 m = load3(s.m, i);
        const Pair3 v0 = load3(s.v0, i);
        const __m128d den = dot3(d, m);
        const __m128d t = _mm_div_pd(dot3(sub3(v0, o), m), den);
        const __m128d take = _mm_and_pd(
            _mm_and_pd(_mm_cmpneq_pd(den, zero), _mm_cmpgt_pd(t, eps)),
            _mm_cmple_pd(t, _mm_set1_pd(sink.limit())));
        if (_mm_movemask_pd(take) == 0)
            continue;
        // p = o + t d, then the three edge crosses.
        const Pair3 p = {_mm_add_pd(o.x, _mm_mul_pd(t, d.x)), _mm_add_pd(o.y, _mm_mul_pd(t, d.y)),
                         _mm_add_pd(o.z, _mm_mul_pd(t, d.z))};
        const Pair3 c1 = cross3(load3(s.e01, i), sub3(p, v0));
        const Pair3 c2 = cross3(load3(s.e12, i), sub3(p, load3(s.v1, i)));
        const Pair3 c3 = cross3(load3(s.e20, i), sub3(p, load3(s.v2, i)));
        const __m128d inside =
            _mm_and_pd(_mm_cmpgt_pd(dot3(c1, c2), zero), _mm_cmpgt_pd(dot3(c1, c3), zero));
        const int go = _mm_movemask_pd(_mm_and_pd(take, inside));
        if (go == 0)
            continue;
        double tl[2];
        _mm_storeu_pd(tl, t);
        for (int lane = 0; lane < 2; lane++)
            if ((go >> lane) & 1)
                if (sink.offer(tl[lane], s.index[i + lane]))
                    return true;
    }
#endif
    for (; i < n; i++)
        if (triangleOne(ray, s, i, sink))
            return true;
    return false;
}

// ---- boxes ----

// Which faces a ray can enter through: per axis, whether the direction has a
// component there, and the array of the facing planes (ll when positive).
struct Slabs {
    bool active[3];
    const double *plane[3];
};

Slabs makeSlabs(const Ray &ray, const BoxSet &s)
{
    Slabs sl;
    const double d[3] = {ray.d.x, ray.d.y, ray.d.z};
    const double *lo[3] = {s.lx.data(), s.ly.data(), s.lz.data()};
    const double *hi[3] = {s.ux.data(), s.uy.data(), s.uz.data()};
    for (int a = 0; a < 3; a++) {
        sl.active[a] = !(d[a] == 0.0);
        sl.plane[a] = d[a] > 0.0 ? lo[a] : hi[a];
    }
    return sl;
}

template <class Sink>
inline bool boxOne(const Ray &ray, const BoxSet &s, const Slabs &sl, size_t i, Sink &sink)
{
    const Vector3d o = ray.o, d = ray.d;
    if (sl.active[0]) {
        const double t = (sl.plane[0][i] - o.x) / d.x;
        const double py = o.y + t * d.y;
        const double pz = o.z + t * d.z;
        if (s.ly[i] <= py && py <= s.uy[i] && s.lz[i] <= pz && pz <= s.uz[i])
            return sink.offer(t, s.index[i]);
    }
    if (sl.active[1]) {
        const double t = (sl.plane[1][i] - o.y) / d.y;
        const double px = o.x + t * d.x;
        const double pz = o.z + t * d.z;
        if (s.lx[i] <= px && px <= s.ux[i] && s.lz[i] <= pz && pz <= s.uz[i])
            return sink.offer(t, s.index[i]);
    }
    if (sl.active[2]) {
        const double t = (sl.plane[2][i] - o.z) / d.z;
        const double px = o.x + t * d.x;
        const double py = o.y + t * d.y;
        if (s.lx[i] <= px && px <= s.ux[i] && s.ly[i] <= py && py <= s.uy[i])
            return sink.offer(t, s.index[i]);
    }
    return false;
}

#if GLINT_PAIRS
// lo <= v && v <= hi, lane by lane.
inline __m128d within(__m128d v, const double *lo, const double *hi)
{
    return _mm_and_pd(_mm_cmple_pd(_mm_loadu_pd(lo), v), _mm_cmple_pd(v, _mm_loadu_pd(hi)));
}

// mask ? a : b, lane by lane.
inline __m128d choose(__m128d mask, __m128d a, __m128d b)
{
    return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
}
#endif

template <class Sink>
bool searchBoxes(const Ray &ray, const BoxSet &s, Sink &sink)
{
    const size_t n = s.index.size();
    if (n == 0)
        return false;
    const Slabs sl = makeSlabs(ray, s);
    size_t i = 0;
#if GLINT_PAIRS
    const __m128d ox = _mm_set1_pd(ray.o.x), oy = _mm_set1_pd(ray.o.y), oz = _mm_set1_pd(ray.o.z);
    const __m128d dx = _mm_set1_pd(ray.d.x), dy = _mm_set1_pd(ray.d.y), dz = _mm_set1_pd(ray.d.z);
    const __m128d eps = _mm_set1_pd(HIT_EPSILON);
    for (; i + 1 < n; i += 2) {
        // Each active slab's t and whether its point lies on the face; the
        // first slab in x, y, z order that holds gives the result.
        __m128d found = _mm_setzero_pd();
        __m128d t = _mm_setzero_pd();
        if (sl.active[0]) {
            const __m128d ta = _mm_div_pd(_mm_sub_pd(_mm_loadu_pd(&sl.plane[0][i]), ox), dx);
            const __m128d py = _mm_add_pd(oy, _mm_mul_pd(ta, dy));
            const __m128d pz = _mm_add_pd(oz, _mm_mul_pd(ta, dz));
            const __m128d on = _mm_and_pd(within(py, &s.ly[i], &s.uy[i]),
                                          within(pz, &s.lz[i], &s.uz[i]));
            t = choose(on, ta, t);
            found = on;
        }
        if (sl.active[1]) {
            const __m128d ta = _mm_div_pd(_mm_sub_pd(_mm_loadu_pd(&sl.plane[1][i]), oy), dy);
            const __m128d px = _mm_add_pd(ox, _mm_mul_pd(ta, dx));
            const __m128d pz = _mm_add_pd(oz, _mm_mul_pd(ta, dz));
            const __m128d on = _mm_andnot_pd(found, _mm_and_pd(within(px, &s.lx[i], &s.ux[i]),
                                                               within(pz, &s.lz[i], &s.uz[i])));
            t = choose(on, ta, t);
            found = _mm_or_pd(found, on);
        }
        if (sl.active[2]) {
            const __m128d ta = _mm_div_pd(_mm_sub_pd(_mm_loadu_pd(&sl.plane[2][i]), oz), dz);
            const __m128d px = _mm_add_pd(ox, _mm_mul_pd(ta, dx));
            const __m128d py = _mm_add_pd(oy, _mm_mul_pd(ta, dy));
            const __m128d on = _mm_andnot_pd(found, _mm_and_pd(within(px, &s.lx[i], &s.ux[i]),
                                                               within(py, &s.ly[i], &s.uy[i])));
            t = choose(on, ta, t);
            found = _mm_or_pd(found, on);
        }
        const __m128d take = _mm_and_pd(
            found, _mm_and_pd(_mm_cmpgt_pd(t, eps), _mm_cmple_pd(t, _mm_set1_pd(sink.limit()))));
        const int go = _mm_movemask_pd(take);
        if (go == 0)
            continue;
        double tl[2];
        _mm_storeu_pd(tl, t);
        for (int lane = 0; lane < 2; lane++)
            if ((go >> lane) & 1)
                if (sink.offer(tl[lane], s.index[i + lane]))
                    return true;
    }
#endif
    for (; i < n; i++)
        if (boxOne(ray, s, sl, i, sink))
            return true;
    return false;
}

}  // namespace

SceneTable::SceneTable(const Scene *scene, int count)
{
    const int materials = sceGetMaterialCount(scene);
    for (int i = 0; i < materials; i++)
        materials_.push_back(sceGetMaterial(scene, i));
    const int lights = sceGetLightCount(scene);
    for (int i = 0; i < lights; i++)
        lights_.push_back(sceGetLight(scene, i));
    lastBlocker_.assign(static_cast<size_t>(lights), -1);

    for (int i = 0; i < count; i++) {
        const Object *obj = sceGetObject(scene, i);
        GLINT_ASSERT(obj);
        GLINT_ASSERT(obj->data);
        GLINT_ASSERT(obj->type == SPHERE || obj->type == TRIANGLE || obj->type == BOX);
        // The scene reader admits no other index.
        GLINT_ASSERT(objGetMaterial(obj) >= 0 && objGetMaterial(obj) < materials);
        objects_.push_back(obj);
        if (obj->type == SPHERE)
            place_.push_back(static_cast<int>(spheres_.index.size()) << 2 | SPHERE);
        else if (obj->type == TRIANGLE)
            place_.push_back(static_cast<int>(triangles_.index.size()) << 2 | TRIANGLE);
        else
            place_.push_back(static_cast<int>(boxes_.index.size()) << 2 | BOX);
        if (obj->type == SPHERE) {
            const Sphere *s = static_cast<const Sphere *>(obj->data);
            spheres_.cx.push_back(s->center.x);
            spheres_.cy.push_back(s->center.y);
            spheres_.cz.push_back(s->center.z);
            spheres_.rr.push_back(s->radius * s->radius);
            spheres_.index.push_back(i);
        } else if (obj->type == TRIANGLE) {
            const Triangle *tr = static_cast<const Triangle *>(obj->data);
            const Vector3d e1 = v3dDifference(tr->v1, tr->v0);
            const Vector3d e2 = v3dDifference(tr->v2, tr->v0);
            triangles_.v0.push(tr->v0);
            triangles_.v1.push(tr->v1);
            triangles_.v2.push(tr->v2);
            triangles_.m.push(v3dCross(e1, e2));
            triangles_.e01.push(e1);
            triangles_.e12.push(v3dDifference(tr->v2, tr->v1));
            triangles_.e20.push(v3dDifference(tr->v0, tr->v2));
            triangles_.index.push_back(i);
        } else {
            const Box *bx = static_cast<const Box *>(obj->data);
            boxes_.lx.push_back(bx->ll.x);
            boxes_.ly.push_back(bx->ll.y);
            boxes_.lz.push_back(bx->ll.z);
            boxes_.ux.push_back(bx->ur.x);
            boxes_.uy.push_back(bx->ur.y);
            boxes_.uz.push_back(bx->ur.z);
            boxes_.index.push_back(i);
        }
    }
}

int SceneTable::nearest(Vector3d origin, Vector3d direction, int skip, double *t) const
{
    const Ray ray = makeRay(origin, direction);
    NearestSink sink{skip, NO_HIT, -1};
    // Boxes first: large ones (floors, walls) bring the nearest distance down
    // early, and a triangle whose plane lies beyond it is not examined further.
    searchBoxes(ray, boxes_, sink);
    searchSpheres(ray, spheres_, sink);
    searchTriangles(ray, triangles_, sink);
    *t = sink.best;
    return sink.bestIndex;
}

bool SceneTable::blocked(Vector3d origin, Vector3d direction, int skip, int light) const
{
    GLINT_ASSERT(light >= 0 && light < lightCount());
    const Ray ray = makeRay(origin, direction);
    BlockerSink sink{skip, -1};
    const int last = lastBlocker_[light];
    if (last != -1 && last != skip) {
        const size_t i = static_cast<size_t>(place_[last] >> 2);
        const int type = place_[last] & 3;
        bool hit;
        if (type == SPHERE)
            hit = sphereOne(ray, spheres_, i, sink);
        else if (type == TRIANGLE)
            hit = triangleOne(ray, triangles_, i, sink);
        else
            hit = boxOne(ray, boxes_, makeSlabs(ray, boxes_), i, sink);
        if (hit)
            return true;
    }
    if (searchSpheres(ray, spheres_, sink) || searchTriangles(ray, triangles_, sink) ||
        searchBoxes(ray, boxes_, sink)) {
        lastBlocker_[light] = sink.found;
        return true;
    }
    return false;
}
