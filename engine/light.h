#ifndef GLINT_ENGINE_LIGHT_H
#define GLINT_ENGINE_LIGHT_H

#include <cstdio>

#include "engine/algebra.h"
#include "engine/color.h"

// A point light: a position and a colour.
struct Light {
    Vector3d pos;
    Color color;
};

inline Vector3d lightGetPos(Light light) { return light.pos; }
inline Color lightGetColor(Light light) { return light.color; }

// Reads a LIGHT body of a scene file and echoes it.
Light lightRead(std::FILE *fp);

#endif
