#include "engine/material.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/assertion.h"
#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/image.h"

#ifndef GLINT_CMD_FORMS
// glintcmd supplies its own form of matGetDiffuse in cmd/.

namespace {

// The texel index for a coordinate already scaled by (size - 1): its integer
// part (truncated toward zero) modulo size. The texture repeats, so a
// negative index wraps into range the way a positive one does, and a value
// too large for an int takes its remainder while still a double. A value
// that is not a finite number reads texel 0.
int texelIndex(double scaled, int size)
{
    if (scaled >= 0.0 && scaled < 2147483647.0)
        return static_cast<int>(scaled) % size;
    if (!std::isfinite(scaled))
        return 0;
    int index = static_cast<int>(std::fmod(std::trunc(scaled), static_cast<double>(size)));
    return index < 0 ? index + size : index;
}

}  // namespace

Color matGetDiffuse(Material mat, Vector3d tc)
{
    if (mat.texture == nullptr)
        return mat.diffuse;

    double u = v3dX(tc);
    double v = v3dY(tc);
    int w = imgGetWidth(mat.texture);
    int h = imgGetHeight(mat.texture);

    // u and v from 0 to 1 span the columns and rows end to end, so the
    // pattern repeats every w / (w - 1) in u and h / (h - 1) in v.
    int x = texelIndex(static_cast<double>(w - 1) * u, w);
    int y = texelIndex(static_cast<double>(h - 1) * v, h);

    return colCreate(imgGetRed(mat.texture, x, y) / 255.0, imgGetGreen(mat.texture, x, y) / 255.0,
                     imgGetBlue(mat.texture, x, y) / 255.0);
}
#endif

// ---- scene file readers ----
