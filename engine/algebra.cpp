#include "engine/algebra.h"

#include <cstdarg>

void v3dReportNullVector()
{
    printf("\n[%s:%d] v3dNormalized: NULL VECTOR\n", __FILE__, __LINE__);
}

Vector3d v3dLinearCombination(int n, ...)
{
    Vector3d sum = v3dMake(0.0, 0.0, 0.0);
    va_list args;
    va_start(args, n);
    for (int i = 0; i < n; i++) {
        double w = va_arg(args, double);
        Vector3d v = va_arg(args, Vector3d);
        sum.x = w * v.x + sum.x;
        sum.y = w * v.y + sum.y;
        sum.z = w * v.z + sum.z;
    }
    va_end(args);
    return sum;
}

void v3dPrint(Vector3d v, std::FILE *out)
{
    std::fprintf(out, "%g %g %g", v.x, v.y, v.z);
}

Vector3d v3dRead(std::FILE *in)
{
    double x = 0.0, y = 0.0, z = 0.0;
    if (std::fscanf(in, "%lf %lf %lf", &x, &y, &z) < 3)
        printf("\n[%s:%d] can't read point (%g, %g, %g)\n", __FILE__, __LINE__, x, y, z);
    return v3dMake(x, y, z);
}
