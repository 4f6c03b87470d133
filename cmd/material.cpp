// glintcmd's forms of the material getters that differ from the engine's.
#include "cmd/material.h"

// The texture coordinates play no part: the texture is read with the scene but
// never looked up.
Color matGetDiffuse(Material mat, Vector3d) { return matGetDiffuse(mat); }

Image *matGetTexture(Material mat) { return mat.texture; }

double matGetRefract(Material mat) { return mat.refract; }

double matGetOpacity(Material mat) { return mat.opacity; }
