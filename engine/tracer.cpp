#include "engine/tracer.h"

#include <cmath>

#include "engine/light.h"
#include "engine/material.h"
#include "engine/object.h"

// Thresholds on the ray parameter t, in lengths of the ray's direction.
static const double FAR_LIMIT = 100000.0;    // a hit counts only below this
static const double HIT_EPSILON = 0.01;      // and only above this
static const double SHADOW_EPSILON = 0.001;  // a blocker counts only above this
static const double LIGHT_T = 1.0;           // and only before the light (t = 1)
static const int MAX_DEPTH = 3;              // rays deeper than this are not reflected

static Color rayShade(const Scene *scene, const Object *obj, Vector3d point, Vector3d view,
                      int depth);

Color rayTrace(const Scene *scene, Vector3d origin, Vector3d direction, int depth)
{
    const int count = sceGetObjectCount(scene);
    const Object *nearest = nullptr;
    double tmin = FAR_LIMIT;
    for (int i = 0; i < count; i++) {
        const Object *obj = sceGetObject(scene, i);
        double t = objIntersect(obj, origin, direction);
        // Strict on both sides: of two objects at the same t the lower index stays.
        if (t > HIT_EPSILON && t < tmin) {
            tmin = t;
            nearest = obj;
        }
    }
    if (nearest == nullptr)
        return sceGetBackground(scene);
    Vector3d point = v3dSum(origin, v3dScaled(tmin, direction));
    Vector3d view = v3dNormalized(v3dNegative(direction));
    return rayShade(scene, nearest, point, view, depth);
}

// True when some object lies strictly between point (t = 0.001) and the light
// (t = 1); the search stops at the first such object, nearest or not.
static bool inShadow(const Scene *scene, Vector3d point, Vector3d toLight)
{
    const int count = sceGetObjectCount(scene);
    for (int j = 0; j < count; j++) {
        double t = objIntersect(sceGetObject(scene, j), point, toLight);
        if (t > SHADOW_EPSILON && t < LIGHT_T)
            return true;
    }
    return false;
}

// The colour at point on obj: the material's ambient colour, then diffuse and
// specular light from every unblocked light, then the mirror reflection. Each
// addition clamps every channel into 0..1.
static Color rayShade(const Scene *scene, const Object *obj, Vector3d point, Vector3d view,
                      int depth)
{
    const int index = objGetMaterial(obj);
    const Vector3d uv = objTextureCoord(obj, point);
    const Material mat = sceGetMaterial(scene, index);

    const Color ambient = matGetAmbient(mat);
    const Color diffuse = matGetDiffuse(mat, uv);
    const Color specular = matGetSpecular(mat);
    const double n = matGetN(mat);
    const double reflect = matGetReflect(mat);

    // Used as it comes: not turned toward the viewer.
    const Vector3d normal = v3dNormalized(objNormal(obj, point));
    // The mirror direction of the incoming ray: both the specular lobe's
    // axis and the reflected ray.
    const Vector3d mirror = v3dReflected(view, normal);

    Color colour = ambient;
    const int lights = sceGetLightCount(scene);
    for (int i = 0; i < lights; i++) {
        const Light light = sceGetLight(scene, i);
        const Color lc = lightGetColor(light);
        const Vector3d lp = lightGetPos(light);
        Vector3d l = v3dDifference(lp, point);
        if (inShadow(scene, point, l))
            continue;
        // No attenuation: only the direction to the light matters from here.
        l = v3dNormalized(l);
        const double d = v3dDot(normal, l);
        if (d > 0.0)
            colour = colAdd(colour, colModulate(d, lc, diffuse));
        double s = v3dDot(mirror, l);
        if (s > 0.0) {
            s = std::pow(s, n);
            colour = colAdd(colour, colModulate(s, lc, specular));
        }
    }

    if (depth > MAX_DEPTH)
        return colour;
    if (reflect > 0.0) {
        // The reflected ray leaves from the point itself; the hit threshold
        // keeps it from meeting the surface it leaves.
        const Color rc = rayTrace(scene, point, mirror, depth + 1);
        colour = colAdd(colour, colScale(reflect, rc));
    }
    return colour;
}
