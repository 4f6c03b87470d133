#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "engine/algebra.h"
#include "engine/camera.h"
#include "tests/support.h"

namespace {

void expectVec(Vector3d v, double x, double y, double z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

// Bit for bit, signs of zero included.
bool sameBits(Vector3d a, Vector3d b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expectSameWindows(const Camera *a, const Camera *b)
{
    EXPECT_EQ(a->width, b->width);
    EXPECT_EQ(a->height, b->height);
    EXPECT_TRUE(sameBits(a->x_axis, b->x_axis));
    EXPECT_TRUE(sameBits(a->y_axis, b->y_axis));
    EXPECT_TRUE(sameBits(a->z_axis, b->z_axis));
    EXPECT_TRUE(sameBits(a->near_corner, b->near_corner));
    EXPECT_TRUE(sameBits(a->far_corner, b->far_corner));
    EXPECT_TRUE(sameBits(a->near_dx, b->near_dx));
    EXPECT_TRUE(sameBits(a->near_dy, b->near_dy));
    EXPECT_TRUE(sameBits(a->far_dx, b->far_dx));
    EXPECT_TRUE(sameBits(a->far_dy, b->far_dy));
}

const Vector3d kEye = {0, 0, 0};
const Vector3d kAt = {0, 0, -1};
const Vector3d kUp = {0, 1, 0};

// The example camera: looking down -z from the origin, 90 degrees, near 1, far 10.
Camera *exampleCamera(int width, int height)
{
    return camCreate(kEye, kAt, kUp, 90.0, 1.0, 10.0, width, height);
}

// Half the window height at near 1 for 90 degrees, with pi cut to 3.1415926535.
const double kHalfH = std::tan(3.1415926535 * 90.0 / 360.0);

TEST(Camera, ExampleFrameAndWindows)
{
    EXPECT_NEAR(kHalfH, 0.9999999999551, 1e-13);
    EXPECT_LT(kHalfH, 1.0);

    Camera *cam = exampleCamera(2, 2);
    ASSERT_NE(cam, nullptr);
    expectVec(cam->z_axis, 0, 0, 1);
    expectVec(cam->x_axis, 1, 0, 0);
    expectVec(cam->y_axis, 0, 1, 0);
    expectVec(cam->near_corner, -kHalfH, -kHalfH, -1);
    expectVec(cam->near_dx, kHalfH, 0, 0);
    expectVec(cam->near_dy, 0, kHalfH, 0);
    expectVec(cam->far_corner, -10 * kHalfH, -10 * kHalfH, -10);
    expectVec(cam->far_dx, 10 * kHalfH, 0, 0);
    expectVec(cam->far_dy, 0, 10 * kHalfH, 0);

    EXPECT_EQ(cam->fovy, 90.0);
    EXPECT_EQ(cam->near, 1.0);
    EXPECT_EQ(cam->far, 10.0);
    expectVec(cam->at, 0, 0, -1);
    expectVec(cam->up, 0, 1, 0);
    expectVec(camGetEye(cam), 0, 0, 0);
    EXPECT_EQ(camGetScreenWidth(cam), 2);
    EXPECT_EQ(camGetScreenHeight(cam), 2);
    camDestroy(cam);
}

TEST(Camera, RaysThroughTheNearWindow)
{
    Camera *cam = exampleCamera(2, 2);
    struct Case {
        double x, y;
        Vector3d expected;
    } cases[] = {
        {1, 1, {0, 0, -1}},                            // the centre of the window
        {0, 0, {-kHalfH, -kHalfH, -1}},                // pixel (0, 0): the lower-left corner
        {2, 2, {kHalfH, kHalfH, -1}},                  // one step past the last pixel
        {0.5, 0.5, {-0.5 * kHalfH, -0.5 * kHalfH, -1}},  // the centre of pixel (0, 0)
        {2, 0, {kHalfH, -kHalfH, -1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        Vector3d r = camRay(cam, c.x, c.y);
        expectVec(r, c.expected.x, c.expected.y, c.expected.z);
    }
    camDestroy(cam);
}

TEST(Camera, WideScreenKeepsTheVerticalFieldAndSquarePixels)
{
    Camera *cam = exampleCamera(4, 2);
    expectVec(cam->near_corner, -2 * kHalfH, -kHalfH, -1);
    expectVec(cam->near_dx, kHalfH, 0, 0);
    expectVec(cam->near_dy, 0, kHalfH, 0);
    expectVec(cam->far_corner, -20 * kHalfH, -10 * kHalfH, -10);
    expectVec(camRay(cam, 2, 1), 0, 0, -1);
    camDestroy(cam);
}

TEST(Camera, SetScreenMatchesAFreshCameraAndKeepsTheAxes)
{
    Camera *fresh = exampleCamera(4, 2);
    Camera *cam = exampleCamera(2, 2);
    // A changed up vector shows whether the axes were recomputed: they are not.
    cam->up = v3dMake(1, 0, 0);
    camSetScreen(cam, 4, 2);
    expectSameWindows(cam, fresh);
    EXPECT_EQ(camGetScreenWidth(cam), 4);
    EXPECT_EQ(camGetScreenHeight(cam), 2);
    camDestroy(cam);
    camDestroy(fresh);

    camSetScreen(nullptr, 4, 2);  // ignored
}

TEST(Camera, GeneralFrameIsOrthonormalAndSeesItsFieldOfView)
{
    Vector3d eye = v3dMake(3, 4, 5);
    Vector3d at = v3dMake(0, 0, 0);
    Camera *cam = camCreate(eye, at, v3dMake(0, 0, 3), 60.0, 2.0, 50.0, 640, 480);
    ASSERT_NE(cam, nullptr);
    const Vector3d axes[] = {cam->x_axis, cam->y_axis, cam->z_axis};
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            EXPECT_NEAR(v3dDot(axes[i], axes[j]), i == j ? 1.0 : 0.0, 1e-15);
    Vector3d xy = v3dCross(cam->x_axis, cam->y_axis);
    EXPECT_NEAR(xy.x, cam->z_axis.x, 1e-15);
    EXPECT_NEAR(xy.y, cam->z_axis.y, 1e-15);
    EXPECT_NEAR(xy.z, cam->z_axis.z, 1e-15);
    EXPECT_GT(cam->y_axis.z, 0.0);  // up stays up on the screen

    // The centre of the screen lies on the line of sight, near away.
    Vector3d centre = camRay(cam, 320, 240);
    Vector3d sight = v3dScaled(2.0 / v3dNorm(v3dDifference(at, eye)), v3dDifference(at, eye));
    EXPECT_NEAR(centre.x, sight.x, 1e-12);
    EXPECT_NEAR(centre.y, sight.y, 1e-12);
    EXPECT_NEAR(centre.z, sight.z, 1e-12);

    // Bottom to top edge spans fovy; rays are never shorter than near.
    Vector3d bottom = camRay(cam, 320, 0);
    Vector3d top = camRay(cam, 320, 480);
    double angle = std::acos(v3dDot(bottom, top) / (v3dNorm(bottom) * v3dNorm(top)));
    EXPECT_NEAR(angle * 180.0 / M_PI, 60.0, 1e-8);
    EXPECT_GE(v3dNorm(camRay(cam, 0, 0)), 2.0);

    // The far window is the near one scaled by far / near about the eye.
    Vector3d nearOff = v3dDifference(cam->near_corner, eye);
    Vector3d farOff = v3dDifference(cam->far_corner, eye);
    EXPECT_NEAR(farOff.x, 25 * nearOff.x, 1e-12);
    EXPECT_NEAR(farOff.y, 25 * nearOff.y, 1e-12);
    EXPECT_NEAR(farOff.z, 25 * nearOff.z, 1e-12);
    EXPECT_NEAR(cam->far_dx.x, 25 * cam->near_dx.x, 1e-12);
    camDestroy(cam);
}

TEST(Camera, DegenerateUpGivesOneRayForEveryPixel)
{
    Camera *cam = nullptr;
    std::string out = captureStdout(
        [&] { cam = camCreate(kEye, kAt, v3dMake(0, 0, 2), 90.0, 1.0, 10.0, 4, 4); });
    EXPECT_EQ(maskPrefixes(out), "\n[#] v3dNormalized: NULL VECTOR\n");
    ASSERT_NE(cam, nullptr);
    expectVec(cam->x_axis, 0, 0, 0);
    expectVec(cam->y_axis, 0, 0, 0);
    EXPECT_TRUE(sameBits(camRay(cam, 0, 0), camRay(cam, 3, 2)));
    expectVec(camRay(cam, 1, 1), 0, 0, -1);
    camDestroy(cam);

    // An eye on the point looked at: no line of sight and no right.
    out = captureStdout([&] { cam = camCreate(kEye, kEye, kUp, 90.0, 1.0, 10.0, 4, 4); });
    EXPECT_EQ(maskPrefixes(out),
              "\n[#] v3dNormalized: NULL VECTOR\n\n[#] v3dNormalized: NULL VECTOR\n");
    camDestroy(cam);
}

TEST(Camera, ZeroSizesAndNearAreAccepted)
{
    // Empty screens and a zero near distance give meaningless windows but no
    // failure; a later screen size gives the usual windows again.
    const int sizes[][2] = {{0, 0}, {0, 2}, {2, 0}};
    for (const auto &size : sizes) {
        Camera *cam = exampleCamera(size[0], size[1]);
        ASSERT_NE(cam, nullptr);
        EXPECT_EQ(camGetScreenWidth(cam), size[0]);
        EXPECT_EQ(camGetScreenHeight(cam), size[1]);
        camRay(cam, 0, 0);
        camRay(cam, 1, 1);
        Camera *fresh = exampleCamera(3, 2);
        camSetScreen(cam, 3, 2);
        expectSameWindows(cam, fresh);
        camSetScreen(cam, size[0], size[1]);
        camDestroy(fresh);
        camDestroy(cam);
    }

    Camera *cam = camCreate(kEye, kAt, kUp, 90.0, 0.0, 10.0, 2, 2);
    ASSERT_NE(cam, nullptr);
    expectVec(camRay(cam, 1, 1), 0, 0, 0);  // the window shrinks to the eye
    camSetScreen(cam, 0, 0);
    camRay(cam, 1, 1);
    camDestroy(cam);
}

}  // namespace
