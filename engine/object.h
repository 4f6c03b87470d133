#ifndef GLINT_ENGINE_OBJECT_H
#define GLINT_ENGINE_OBJECT_H

#include <cstdio>

#include "engine/algebra.h"

// The scene's primitives: spheres, triangles and axis-aligned boxes.

enum { SPHERE = 1, TRIANGLE = 2, BOX = 3 };

struct Sphere {
    Vector3d center;
    double radius;
};

struct Triangle {
    Vector3d v0;
    Vector3d v1;
    Vector3d v2;
};

// ll holds the smaller and ur the larger coordinate on every axis (the box
// reader orders them; the constructor stores what it is given).
struct Box {
    Vector3d ll;
    Vector3d ur;
};

struct Object {
    int type;      // SPHERE, TRIANGLE or BOX
    int material;  // index into the scene's material table
    void *data;    // the Sphere, Triangle or Box, owned by the object
};

// Constructors return nullptr when memory runs out, leaving nothing allocated.
Object *objCreateSphere(int material, Vector3d center, double radius);
Object *objCreateTriangle(int material, Vector3d v0, Vector3d v1, Vector3d v2);
Object *objCreateBox(int material, Vector3d ll, Vector3d ur);
void objDestroy(Object *obj);
int objGetMaterial(const Object *obj);

// The ray parameter t of the hit (origin + t * direction), or -1.0 for none.
// glintcmd's build has its own form.
double objIntersect(const Object *obj, Vector3d origin, Vector3d direction);

// The surface normal at p, not of unit length. glintcmd's build has its own
// form (a different box tolerance).
Vector3d objNormal(const Object *obj, Vector3d p);

// Texture coordinates (u, v, 0) at p.
Vector3d objTextureCoord(const Object *obj, Vector3d p);

// Readers of the SPHERE, TRIANGLE and BOX bodies of a scene file; each echoes
// what it read and returns what the constructor returns. glintcmd's build has
// its own form of objReadBox.
Object *objReadSphere(std::FILE *fp);
Object *objReadTriangle(std::FILE *fp);
Object *objReadBox(std::FILE *fp);

#endif
