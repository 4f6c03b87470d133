#ifndef GLINT_CMD_RENDER_H
#define GLINT_CMD_RENDER_H

#include <cmath>

#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/image.h"
#include "engine/scene.h"

// glintcmd's rendering: the whole image in one pass, with its own tracer.

// A new image of the camera's screen size holding the rendered scene. A scene
// without a camera, or an image that cannot be allocated, ends the process
// with status 1 after its message.
Image *renderScene(const Scene *scene);

// The colour seen along a ray: the nearest of the first count objects shaded
// with ambient, diffuse and specular light from the unshadowed lights, plus
// the mirror reflection. miss is returned when nothing is hit; depth counts
// the levels still allowed (0 gives black without testing anything).
Color traceRay(const Scene *scene, Vector3d origin, Vector3d direction, int count, Color miss,
               int depth);

// The index of the nearest of the first count objects (skip excepted; -1 to
// test all) that the ray meets beyond t = 0.01, or -1. *dist receives its t,
// or 1e308 when there is none.
int nearestHit(const Scene *scene, Vector3d origin, Vector3d direction, int count, int skip,
               double *dist);

// s times the componentwise product of a and b.
inline Color diffuseTerm(double s, Color a, Color b)
{
    return colScale(s, colCreate(a.red * b.red, a.green * b.green, a.blue * b.blue));
}

// The light reflected about the normal, raised to the power n along the view
// direction and applied to the light and specular colours. There is no test on
// the sign of R.V: a negative power is removed by the clamping of colScale,
// and so is the not-a-number that pow gives for a negative base and an
// exponent that is not whole. cosine is not used.
inline Color specularTerm(Vector3d normal, Vector3d view, Vector3d light, double cosine, double n,
                          Color lightColor, Color specular)
{
    (void)cosine;
    const Vector3d r = v3dReflected(light, normal);
    const double s = std::pow(v3dDot(r, view), n);
    return colScale(s, colCreate(lightColor.red * specular.red, lightColor.green * specular.green,
                                 lightColor.blue * specular.blue));
}

#endif
