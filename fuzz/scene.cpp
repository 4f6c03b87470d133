// Fuzz target: the scene reader, sceReadFile on a file holding the input.
// Built twice by scripts/fuzz.sh: as glintview links the engine, and as
// glintcmd builds it (GLINT_CMD_FORMS, GLINT_MAX_OBJECTS 64, cmd/'s forms).
//
// A scene that reads is also walked through every accessor, and a few primary
// rays are traced through it with the program's tracer, so that values the
// reader lets through (indices, sizes, texture coordinates) are used as the
// programs use them. The leak checker then sees sceDestroy free it all.
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "engine/scene.h"
#include "fuzz/fuzz_io.h"
#ifdef GLINT_CMD_FORMS
#include "cmd/render.h"
#include "engine/image.h"
#else
#include "engine/tracer.h"
#endif

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzio::quietStdout();
    // Relative texture and background names are also looked up beside the
    // scene file: give the scene file the example images as neighbours.
    if (const char *assets = std::getenv("GLINT_FUZZ_ASSETS")) {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (const auto &entry : fs::directory_iterator(assets, ec)) {
            if (entry.path().extension() == ".ppm")
                fs::copy_file(entry.path(), fs::path(fuzzio::workDir()) / entry.path().filename(),
                              fs::copy_options::overwrite_existing, ec);
        }
    }
    return 0;
}

#ifdef GLINT_CMD_FORMS
// glintcmd's conversion of a colour component to a byte.
static unsigned char toByte(double component)
{
    return static_cast<unsigned char>(static_cast<int>(component * 255.0) & 0xff);
}
#endif

static void walk(Scene *scene)
{
    volatile double sink = 0;
    const int objects = sceGetObjectCount(scene);
    const int lights = sceGetLightCount(scene);
    const int materials = sceGetMaterialCount(scene);
    if (objects < 0 || objects > MAX_OBJECTS || lights < 0 || lights > MAX_LIGHTS ||
        materials < 0 || materials > MAX_MATERIALS)
        __builtin_trap();
    for (int i = 0; i < objects; i++) {
        Object *obj = sceGetObject(scene, i);
        if (obj == nullptr)
            __builtin_trap();
        // Every object's material must name a material of the scene.
        const int m = objGetMaterial(obj);
        if (m < 0 || m >= materials)
            __builtin_trap();
    }
    for (int i = 0; i < lights; i++)
        sink = sink + lightGetPos(sceGetLight(scene, i)).x;
    for (int i = 0; i < materials; i++)
        sink = sink + matGetN(sceGetMaterial(scene, i));
    sink = sink + sceGetBackground(scene).red;

    Camera *camera = sceGetCamera(scene);
    if (camera == nullptr)
        return;
    const int w = camGetScreenWidth(camera), h = camGetScreenHeight(camera);
    if (w < 1 || h < 1)
        return;
    const Vector3d eye = camGetEye(camera);
    const double xs[] = {0.0, static_cast<double>((w - 1) / 2), static_cast<double>(w - 1)};
    const double ys[] = {0.0, static_cast<double>((h - 1) / 2), static_cast<double>(h - 1)};
    for (double y : ys)
        for (double x : xs) {
            const Vector3d d = camRay(camera, x, y);
#ifdef GLINT_CMD_FORMS
            const Color c = traceRay(scene, eye, d, objects, sceGetBackground(scene), 3);
#else
            const Color c = rayTrace(scene, eye, d, 0);
#endif
            sink = sink + c.red + c.green + c.blue;
        }
#ifdef GLINT_CMD_FORMS
    // glintcmd renders through a flattened copy of the scene that must give
    // traceRay's colours to the last bit: render small screens both ways and
    // compare every byte.
    if (static_cast<long long>(w) * h <= 256) {
        Image *image = renderScene(scene);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                const Color c = traceRay(scene, eye, camRay(camera, x, y), objects,
                                         sceGetBackground(scene), 3);
                if (imgGetRed(image, x, y) != toByte(c.red) ||
                    imgGetGreen(image, x, y) != toByte(c.green) ||
                    imgGetBlue(image, x, y) != toByte(c.blue))
                    __builtin_trap();
            }
        imgDestroy(image);
    }
#endif
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string path = fuzzio::writeInput("in.gsc", data, size);
    Scene *scene = sceReadFile(path.c_str());
    if (scene != nullptr) {
        walk(scene);
        sceDestroy(scene);
    }
    return 0;
}
