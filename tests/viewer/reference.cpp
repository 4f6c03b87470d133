#include "tests/viewer/reference.h"

#include "engine/camera.h"
#include "engine/color.h"
#include "engine/image.h"
#include "engine/scene.h"
#include "engine/tracer.h"

void renderPixels(const Scene *scene, const Camera *camera, Image *image, int width, int height)
{
    const Vector3d eye = camGetEye(camera);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Color c = rayTrace(scene, eye, camRay(camera, x, y), 0);
            imgSetPixel(image, x, y, static_cast<unsigned char>(colGetRed(c) * 255.0),
                        static_cast<unsigned char>(colGetGreen(c) * 255.0),
                        static_cast<unsigned char>(colGetBlue(c) * 255.0));
        }
}

bool renderReference(const char *scenePath, int width, int height, const char *ppmPath)
{
    Scene *scene = sceReadFile(scenePath);
    if (scene == nullptr)
        return false;
    Camera *camera = sceGetCamera(scene);
    Image *image = camera != nullptr ? imgCreate(width, height) : nullptr;
    bool written = false;
    if (image != nullptr) {
        camSetScreen(camera, width, height);
        renderPixels(scene, camera, image, width, height);
        written = imgWritePPM(image, ppmPath) == 1;
    }
    imgDestroy(image);
    sceDestroy(scene);
    return written;
}

std::string rasterOf(const std::string &ppm)
{
    size_t at = 0;
    for (int i = 0; i < 3; ++i)
        at = ppm.find('\n', at) + 1;
    return ppm.substr(at);
}

std::string viewerScene(int width, int height, const char *background)
{
    return "GSD 2.0\n"
           "#CAMERA\n0 2 9   0 0.5 0   0 1 0\n45\n1 100\n" +
           std::to_string(width) + " " + std::to_string(height) +
           "\n"
           "#SCENE\n" +
           background +
           " null\n"
           "#MATERIAL\n20 20 20   200 60 60   255 255 255\n40 0.4 0 1 null\n"
           "#MATERIAL\n10 10 10   60 200 90   80 80 80\n10 0 0 1 null\n"
           "#LIGHT\n4 8 6   255 255 255\n"
           "#SPHERE\n0 1   0 1 0\n"
           "#BOX\n1  -4 -1 -4   4 0 4\n"
           "#TRIANGLE\n1  -3 0 -2   -1 0 -2   -2 2.5 -2\n";
}
