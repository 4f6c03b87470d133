#ifndef GLINT_CMD_TRACE_H
#define GLINT_CMD_TRACE_H

#include "cmd/material.h"
#include "cmd/render.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/object.h"

// glintcmd's tracer, written once over the way objects are searched. Hits
// supplies:
//   int nearest(Vector3d origin, Vector3d direction, int skip, double *t)
//       as nearestHit over the objects to test;
//   bool blocked(Vector3d origin, Vector3d direction, int skip, int light)
//       whether nearest(...) would find anything (it may stop at the first);
//       light is the index of the light the ray runs to;
//   const Object *object(int i); the material of an object (a Material or a
//   reference to one) by material(const Object *obj);
//   int lightCount(); Light light(int i).
// traceRay uses the scene's accessors; renderScene uses a flattened table of
// the same scene, which gives the same bits faster.
template <class Hits>
Color traceWith(const Hits &hits, Vector3d origin, Vector3d direction, Color miss, int depth)
{
    if (depth == 0)
        return colCreate(0.0, 0.0, 0.0);
    double t;
    const int hit = hits.nearest(origin, direction, -1, &t);
    if (hit == -1)
        return miss;

    const Object *object = hits.object(hit);
    // A reference to the table's copy, or to the copy the scene hands out.
    const Material &material = hits.material(object);
    // The ambient colour as it is: no light or factor scales it.
    Color colour = matGetAmbient(material);
    const int lightCount = hits.lightCount();
    const double n = matGetN(material);
    const Color diffuse = matGetDiffuse(material);
    const Color specular = matGetSpecular(material);
    const double reflect = matGetReflect(material);

    const Vector3d p = v3dSum(origin, v3dScaled(t, direction));
    // Used as it comes: not turned toward the viewer.
    const Vector3d normal = v3dNormalized(objNormal(object, p));
    const Vector3d view = v3dNormalized(v3dNegative(direction));

    for (int i = 0; i < lightCount; i++) {
        const Light light = hits.light(i);
        Vector3d l = v3dDifference(lightGetPos(light), p);
        // The hit object never shadows itself; any other object beyond
        // t = 0.01 along l does, even one past the light.
        if (hits.blocked(p, l, hit, i))
            continue;
        const Color lightColor = lightGetColor(light);
        l = v3dNormalized(l);
        const double cosine = v3dDot(l, normal);
        if (cosine < 0.0)
            continue;
        colour = colAdd(colour, diffuseTerm(cosine, diffuse, lightColor));
        colour = colAdd(colour, specularTerm(normal, view, l, cosine, n, lightColor, specular));
    }

    if (reflect == 0.0)
        return colour;
    // The colour so far is the reflected ray's miss colour: a mirror facing
    // empty space shows its own colour again, not the background.
    const Vector3d r = v3dReflected(view, normal);
    const Color reflected = traceWith(hits, p, r, colour, depth - 1);
    return colAdd(colour, colScale(reflect, reflected));
}

#endif
