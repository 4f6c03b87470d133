#ifndef GLINT_ENGINE_TRACER_H
#define GLINT_ENGINE_TRACER_H

#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/scene.h"

// The colour seen along a ray through the scene: nearest hit, local lighting
// with hard shadows, and mirror reflection. depth is 0 for a primary ray.
Color rayTrace(const Scene *scene, Vector3d origin, Vector3d direction, int depth);

#endif
