#ifndef GLINT_CMD_SCENETABLE_H
#define GLINT_CMD_SCENETABLE_H

#include <vector>

#include "engine/algebra.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/object.h"
#include "engine/scene.h"

// A flattened copy of a scene's objects, materials and lights, made once per
// render so that the tracer's inner loops read plain arrays: the objects of
// each type side by side, with what depends only on an object (a sphere's
// squared radius, a triangle's edges and plane normal) computed once. Every
// search gives exactly the result, to the last bit, of glintcmd's
// objIntersect over the objects in index order (tests compare the two).
// The scene must outlive the table and must not change while it is used.

// The objects of each type, side by side, with their indices in the scene.
struct SphereSet {
    std::vector<double> cx, cy, cz, rr;  // centre, squared radius
    std::vector<int> index;
};

// Three coordinates kept as three arrays.
struct VectorArrays {
    std::vector<double> x, y, z;
    void push(Vector3d v)
    {
        x.push_back(v.x);
        y.push_back(v.y);
        z.push_back(v.z);
    }
    Vector3d at(size_t i) const { return v3dMake(x[i], y[i], z[i]); }
};

struct TriangleSet {
    VectorArrays v0, v1, v2;
    VectorArrays m;                // (v1 - v0) x (v2 - v0), the plane's normal
    VectorArrays e01, e12, e20;    // v1 - v0, v2 - v1, v0 - v2
    std::vector<int> index;
};

struct BoxSet {
    std::vector<double> lx, ly, lz, ux, uy, uz;
    std::vector<int> index;
};

class SceneTable {
public:
    // Takes the first count objects of the scene.
    SceneTable(const Scene *scene, int count);

    // As nearestHit: the index of the nearest object (skip excepted) met
    // beyond t = 0.01, the lower index on equal t; -1 and 1e308 when none.
    int nearest(Vector3d origin, Vector3d direction, int skip, double *t) const;

    // Whether nearest(origin, direction, skip, ...) would find an object;
    // stops at the first one found. Shadow rays toward one light tend to be
    // stopped by the same object as the one before, so the object that last
    // stopped a ray of the same light (0 .. lightCount() - 1) is tried first.
    bool blocked(Vector3d origin, Vector3d direction, int skip, int light) const;

    const Object *object(int i) const { return objects_[i]; }
    const Material &material(const Object *obj) const { return materials_[objGetMaterial(obj)]; }
    int lightCount() const { return static_cast<int>(lights_.size()); }
    Light light(int i) const { return lights_[i]; }

private:
    std::vector<const Object *> objects_;
    std::vector<Material> materials_;
    std::vector<Light> lights_;
    SphereSet spheres_;
    TriangleSet triangles_;
    BoxSet boxes_;
    // Where each object is: its type and its place in that type's set.
    std::vector<int> place_;
    // Per light, the object that last stopped a shadow ray, or -1. Only a
    // hint of where to look first: no result depends on it.
    mutable std::vector<int> lastBlocker_;
};

#endif
