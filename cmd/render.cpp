#include "cmd/render.h"

#include <cstdio>
#include <cstdlib>

#include "cmd/scenetable.h"
#include "cmd/trace.h"
#include "engine/camera.h"

namespace {

// The objects as nearestHit searches them, through the scene's accessors.
struct SceneHits {
    const Scene *scene;
    int count;

    int nearest(Vector3d origin, Vector3d direction, int skip, double *t) const
    {
        return nearestHit(scene, origin, direction, count, skip, t);
    }
    bool blocked(Vector3d origin, Vector3d direction, int skip, int) const
    {
        double t;
        return nearestHit(scene, origin, direction, count, skip, &t) != -1;
    }
    const Object *object(int i) const { return sceGetObject(scene, i); }
    Material material(const Object *obj) const { return sceGetMaterial(scene, objGetMaterial(obj)); }
    int lightCount() const { return sceGetLightCount(scene); }
    Light light(int i) const { return sceGetLight(scene, i); }
};

// A colour component in 0..1 as a byte: times 255, truncated toward zero, the
// low eight bits kept. Only exactly 1.0 gives 255.
unsigned char toByte(double component)
{
    return static_cast<unsigned char>(static_cast<int>(component * 255.0) & 0xff);
}

}  // namespace

int nearestHit(const Scene *scene, Vector3d origin, Vector3d direction, int count, int skip,
               double *dist)
{
    int best = -1;
    double nearest = 1e308;
    for (int i = 0; i < count; i++) {
        if (i == skip)
            continue;
        const double t = objIntersect(sceGetObject(scene, i), origin, direction);
        // Strict on both sides: of two objects at the same t the lower index stays.
        if (t > 0.01 && t < nearest) {
            nearest = t;
            best = i;
        }
    }
    *dist = nearest;
    return best;
}

Color traceRay(const Scene *scene, Vector3d origin, Vector3d direction, int count, Color miss,
               int depth)
{
    return traceWith(SceneHits{scene, count}, origin, direction, miss, depth);
}

Image *renderScene(const Scene *scene)
{
    const Camera *camera = sceGetCamera(scene);
    if (camera == nullptr) {
        printf("Impossivel criar camera!\n");
        std::exit(1);
    }
    const Color background = sceGetBackground(scene);
    const Vector3d eye = camGetEye(camera);
    const int height = camGetScreenHeight(camera);
    const int width = camGetScreenWidth(camera);
    const int count = sceGetObjectCount(scene);

    Image *image = imgCreate(width, height);
    if (image == nullptr) {
        printf("Impossivel criar imagem!\n");
        std::exit(1);
    }

    // traceRay over a flattened copy of the objects: the same colours, faster.
    const SceneTable table(scene, count);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const Vector3d direction = camRay(camera, static_cast<double>(x), static_cast<double>(y));
            const Color colour = traceWith(table, eye, direction, background, 3);
            imgSetPixel(image, x, y, toByte(colour.red), toByte(colour.green), toByte(colour.blue));
        }
    }
    return image;
}
