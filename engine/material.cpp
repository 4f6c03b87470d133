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
#include <string>

#include "engine/scene.h"

// A MATERIAL body: the ambient, diffuse and specular colours (0..255), then
// n, reflect, refract, opacity and the texture's file name, "null" for none.
// Numbers that do not convert count as 0; a missing name counts as "null".
// The echo lists the texture before n, and comes before the texture's load
// message.
Material matRead(std::FILE *fp)
{
    Material mat;
    mat.ambient = colRead(fp);
    mat.diffuse = colRead(fp);
    mat.specular = colRead(fp);
    mat.n = 0.0;
    mat.reflect = 0.0;
    mat.refract = 0.0;
    mat.opacity = 0.0;
    std::string name = "null";
    if (std::fscanf(fp, "%lf %lf %lf %lf", &mat.n, &mat.reflect, &mat.refract, &mat.opacity) == 4)
        name = sceReadFileName(fp);
    std::printf("\n[%s:%d] read material:\n", __FILE__, __LINE__);
    std::printf("\tambient = (%g, %g, %g)\n", mat.ambient.red, mat.ambient.green,
                mat.ambient.blue);
    std::printf("\tdiffuse = (%g, %g, %g)\n", mat.diffuse.red, mat.diffuse.green,
                mat.diffuse.blue);
    std::printf("\tspecular = (%g, %g, %g),\n", mat.specular.red, mat.specular.green,
                mat.specular.blue);
    std::printf("\ttexture = '%s',\n", name.c_str());
    std::printf("\tn = %g,\n", mat.n);
    std::printf("\treflect = %g,\n", mat.reflect);
    std::printf("\trefract = %g,\n", mat.refract);
    std::printf("\topacity = %g\n", mat.opacity);
    mat.texture = name == "null" ? nullptr : sceReadImage(name.c_str());
    return mat;
}
