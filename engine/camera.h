#ifndef GLINT_ENGINE_CAMERA_H
#define GLINT_ENGINE_CAMERA_H

#include <cstdio>

#include "engine/algebra.h"

// The viewer's position and the pixel window through which the scene is seen.
// Screen row 0 is the bottom row; pixel (x, y) looks through the window at the
// whole coordinates (x, y), with no half-pixel offset.
struct Camera {
    Vector3d eye;
    Vector3d at;
    Vector3d up;
    double fovy;  // vertical field of view, degrees
    double near;
    double far;
    int width;
    int height;
    Vector3d x_axis;
    Vector3d y_axis;
    Vector3d z_axis;
    Vector3d near_corner;
    Vector3d far_corner;
    Vector3d near_dx;
    Vector3d near_dy;
    Vector3d far_dx;
    Vector3d far_dy;
};

Camera *camCreate(Vector3d eye, Vector3d at, Vector3d up, double fovy, double near, double far,
                  int width, int height);
void camSetScreen(Camera *camera, int width, int height);
Vector3d camRay(const Camera *camera, double x, double y);
Vector3d camGetEye(const Camera *camera);
int camGetScreenWidth(const Camera *camera);
int camGetScreenHeight(const Camera *camera);
void camDestroy(Camera *camera);

// Reads a CAMERA body of a scene file and echoes it; nullptr when its numbers
// cannot be read.
Camera *camRead(std::FILE *fp);

#endif
