#ifndef GLINT_ENGINE_MATERIAL_H
#define GLINT_ENGINE_MATERIAL_H

#include <cstdio>

#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/image.h"

// A surface's colours and coefficients, with an optional texture that
// replaces the diffuse colour. Copies share the texture, which belongs to the
// scene that read the material.
struct Material {
    Image *texture;
    Color ambient;
    Color diffuse;
    Color specular;
    double n;
    double reflect;
    double refract;
    double opacity;
};

inline Color matGetAmbient(Material mat) { return mat.ambient; }
inline Color matGetSpecular(Material mat) { return mat.specular; }
inline double matGetN(Material mat) { return mat.n; }
inline double matGetReflect(Material mat) { return mat.reflect; }

// The diffuse colour at texture coordinates tc (u in x, v in y). glintcmd's
// build has its own form, which never samples the texture.
Color matGetDiffuse(Material mat, Vector3d tc);

// Reads a MATERIAL body of a scene file, echoes it and loads its texture.
Material matRead(std::FILE *fp);

#endif
