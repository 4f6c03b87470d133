#include "engine/camera.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/assertion.h"
#include "engine/algebra.h"

namespace {

// Lays the near and far windows out for the current frame, field of view,
// distances and screen size. A width, height or near of 0 makes some of the
// steps infinite or not a number; they stay doubles and are never converted
// to integers, so such a camera gives meaningless rays but touches no memory
// beyond its record.
void buildWindows(Camera *camera)
{
    double half_h = std::tan(3.1415926535 * camera->fovy / 360.0) * camera->near;
    double half_w = static_cast<double>(camera->width) * half_h / camera->height;

    camera->near_corner = v3dLinearCombination(4, 1.0, camera->eye, -camera->near, camera->z_axis,
                                               -half_h, camera->y_axis, -half_w, camera->x_axis);
    camera->near_dx = v3dScaled(2.0 * half_w / camera->width, camera->x_axis);
    camera->near_dy = v3dScaled(2.0 * half_h / camera->height, camera->y_axis);

    // The far window is the near one scaled by far / near about the eye.
    double k = camera->far / camera->near;
    half_w = k * half_w;
    half_h = k * half_h;
    double dist = k * camera->near;

    camera->far_corner = v3dLinearCombination(4, 1.0, camera->eye, -dist, camera->z_axis, -half_h,
                                              camera->y_axis, -half_w, camera->x_axis);
    camera->far_dx = v3dScaled(2.0 * half_w / camera->width, camera->x_axis);
    camera->far_dy = v3dScaled(2.0 * half_h / camera->height, camera->y_axis);
}

}  // namespace

Camera *camCreate(Vector3d eye, Vector3d at, Vector3d up, double fovy, double near, double far,
                  int width, int height)
{
    Camera *camera = static_cast<Camera *>(std::malloc(sizeof(Camera)));
    if (camera == nullptr)
        return nullptr;

    camera->eye = v3dCopy(eye);
    camera->at = v3dCopy(at);
    camera->up = v3dCopy(up);
    camera->fovy = fovy;
    camera->near = near;
    camera->far = far;
    camera->width = width;
    camera->height = height;

    // The camera looks along -z_axis; up need not be unit length nor
    // perpendicular to the line of sight, and y_axis is already unit length
    // as the cross product of two perpendicular unit vectors.
    camera->z_axis = v3dNormalized(v3dDifference(eye, at));
    camera->x_axis = v3dNormalized(v3dCross(up, camera->z_axis));
    camera->y_axis = v3dCross(camera->z_axis, camera->x_axis);

    buildWindows(camera);
    return camera;
}

void camSetScreen(Camera *camera, int width, int height)
{
    if (camera == nullptr)
        return;
    camera->width = width;
    camera->height = height;
    buildWindows(camera);
}

Vector3d camRay(const Camera *camera, double x, double y)
{
    GLINT_ASSERT(camera);
    return v3dLinearCombination(4, 1.0, camera->near_corner, x, camera->near_dx, y, camera->near_dy,
                                -1.0, camera->eye);
}

Vector3d camGetEye(const Camera *camera)
{
    GLINT_ASSERT(camera);
    return v3dCopy(camera->eye);
}

int camGetScreenWidth(const Camera *camera)
{
    GLINT_ASSERT(camera);
    return camera->width;
}

int camGetScreenHeight(const Camera *camera)
{
    GLINT_ASSERT(camera);
    return camera->height;
}

void camDestroy(Camera *camera) { std::free(camera); }

// ---- scene file readers ----
