#ifndef GLINT_ENGINE_ALGEBRA_H
#define GLINT_ENGINE_ALGEBRA_H

#include <cmath>
#include <cstdio>

// Three-dimensional vectors: points, directions, normals and texture
// coordinates. Every operation takes and returns values and evaluates its
// formula in the order written, so results are the same to the last bit in
// every program. The arithmetic is inline: it runs several times per ray.

struct Vector3d {
    double x;
    double y;
    double z;
};

inline Vector3d v3dMake(double x, double y, double z)
{
    Vector3d v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

inline Vector3d v3dCopy(Vector3d v) { return v3dMake(v.x, v.y, v.z); }

inline Vector3d v3dNegative(Vector3d a) { return v3dMake(-a.x, -a.y, -a.z); }

inline Vector3d v3dSum(Vector3d a, Vector3d b) { return v3dMake(a.x + b.x, a.y + b.y, a.z + b.z); }

inline Vector3d v3dDifference(Vector3d a, Vector3d b)
{
    return v3dMake(a.x - b.x, a.y - b.y, a.z - b.z);
}

inline Vector3d v3dScaled(double s, Vector3d a) { return v3dMake(s * a.x, s * a.y, s * a.z); }

inline double v3dDot(Vector3d a, Vector3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Vector3d v3dProjection(Vector3d a, Vector3d b)
{
    double d = v3dDot(a, b);
    double e = v3dDot(b, b);
    return v3dScaled(d / e, b);
}

inline Vector3d v3dInterpolated(Vector3d a, Vector3d b, double t)
{
    return v3dSum(v3dScaled(1.0 - t, a), v3dScaled(t, b));
}

inline double v3dNorm(Vector3d a) { return std::sqrt((a.x * a.x + a.y * a.y) + a.z * a.z); }

inline Vector3d v3dCross(Vector3d a, Vector3d b)
{
    return v3dMake(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

inline Vector3d v3dReflected(Vector3d v, Vector3d n)
{
    double d = v3dDot(v, n);
    return v3dSum(v3dScaled(2.0 * d, n), v3dNegative(v));
}

inline double v3dX(Vector3d v) { return v.x; }
inline double v3dY(Vector3d v) { return v.y; }
inline double v3dZ(Vector3d v) { return v.z; }

// Prints the NULL VECTOR message; kept out of line, it is the rare path.
void v3dReportNullVector();

// The unit vector along a. A vector shorter than 1e-15 (or one whose length
// is not a number) is reported and returned unchanged.
inline Vector3d v3dNormalized(Vector3d a)
{
    double len = v3dNorm(a);
    if (!(std::fabs(len) >= 1e-15)) {
        v3dReportNullVector();
        return a;
    }
    return v3dScaled(1.0 / len, a);
}

// The weighted sum of n (weight, vector) pairs given as variable arguments:
// each weight a double, each vector a whole Vector3d passed by value.
Vector3d v3dLinearCombination(int n, ...);

// Writes "%g %g %g" with no line end.
void v3dPrint(Vector3d v, std::FILE *out);

// Reads "%lf %lf %lf"; on a short read reports the values so far and uses 0
// for the rest. The caller is never told of the failure.
Vector3d v3dRead(std::FILE *in);

#endif
