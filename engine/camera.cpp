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

// A CAMERA body: eye, at and up (points), fovy (degrees), near and far, and
// the screen width and height in pixels. A point that does not convert is
// reported by the vector reader and counts as 0; any other number that does
// not convert gives no camera, and no echo.
Camera *camRead(std::FILE *fp)
{
    Vector3d eye = v3dRead(fp);
    Vector3d at = v3dRead(fp);
    Vector3d up = v3dRead(fp);
    double fovy = 0.0, near = 0.0, far = 0.0;
    int width = 0, height = 0;
    if (std::fscanf(fp, "%lf", &fovy) != 1)
        return nullptr;
    if (std::fscanf(fp, "%lf %lf", &near, &far) != 2)
        return nullptr;
    if (std::fscanf(fp, "%i %i", &width, &height) != 2)
        return nullptr;
    std::printf("\n[%s:%d] read camera:\n", __FILE__, __LINE__);
    std::printf("\teye = (%g, %g, %g),\n", eye.x, eye.y, eye.z);
    std::printf("\tat = (%g, %g, %g),\n", at.x, at.y, at.z);
    std::printf("\tup = (%g, %g, %g),\n", up.x, up.y, up.z);
    std::printf("\tfovy = %g,\n", fovy);
    std::printf("\tnear = %g,\n", near);
    std::printf("\tfar = %g,\n", far);
    std::printf("\tscreen = %dx%d,\n", width, height);
    return camCreate(eye, at, up, fovy, near, far, width, height);
}
