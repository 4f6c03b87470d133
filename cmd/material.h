#ifndef GLINT_CMD_MATERIAL_H
#define GLINT_CMD_MATERIAL_H

#include "engine/color.h"
#include "engine/image.h"
#include "engine/material.h"

// glintcmd's material getters. glintcmd never samples textures: its diffuse
// colour is always the stored one. The engine's header declares the form with
// texture coordinates, which glintcmd's build also defines (ignoring them).

inline Color matGetDiffuse(Material mat) { return mat.diffuse; }

// The material's texture (or nullptr), refraction value and opacity, as read.
Image *matGetTexture(Material mat);
double matGetRefract(Material mat);
double matGetOpacity(Material mat);

#endif
