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
