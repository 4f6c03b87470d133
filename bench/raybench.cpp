// Measures glintcmd's rendering of one scene: the processor time of
// renderScene, the rays it traces and the ray-object tests that the plain
// loops (nearestHit over every object, the hit object skipped on shadow rays)
// would make, and the time per such test. The same figures are given for the
// straightforward tracer (traceRay over the scene's accessors), whose image
// must be identical to renderScene's.
//
//     glint_raybench SCENE.GSC [RUNS]
//
// Counting is done in a separate pass, so the timed renders carry no counters.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <functional>

#include "cmd/render.h"
#include "cmd/scenetable.h"
#include "cmd/trace.h"
#include "engine/camera.h"
#include "engine/image.h"
#include "engine/scene.h"

namespace {

// Runs fn with standard output sent to /dev/null (the readers echo the scene).
void quietly(const std::function<void()> &fn)
{
    std::fflush(stdout);
    const int saved = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    fn();
    std::fflush(stdout);
    dup2(saved, 1);
    close(null);
    close(saved);
}

double seconds(std::clock_t t0, std::clock_t t1)
{
    return static_cast<double>(t1 - t0) / CLOCKS_PER_SEC;
}

unsigned char toByte(double c) { return static_cast<unsigned char>(static_cast<int>(c * 255.0) & 0xff); }

// The straightforward render: traceRay for every pixel.
Image *renderPlain(const Scene *scene)
{
    const Camera *camera = sceGetCamera(scene);
    const int w = camGetScreenWidth(camera), h = camGetScreenHeight(camera);
    const int count = sceGetObjectCount(scene);
    const Color bg = sceGetBackground(scene);
    const Vector3d eye = camGetEye(camera);
    Image *image = imgCreate(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const Color c = traceRay(scene, eye, camRay(camera, x, y), count, bg, 3);
            imgSetPixel(image, x, y, toByte(c.red), toByte(c.green), toByte(c.blue));
        }
    return image;
}

// The table's searches, counted as the plain loops would make them.
struct CountingHits {
    const SceneTable &table;
    int count;
    mutable long long nearestCalls = 0;
    mutable long long shadowCalls = 0;
    mutable long long shadowBlocked = 0;

    int nearest(Vector3d o, Vector3d d, int skip, double *t) const
    {
        nearestCalls++;
        return table.nearest(o, d, skip, t);
    }
    bool blocked(Vector3d o, Vector3d d, int skip, int light) const
    {
        shadowCalls++;
        const bool b = table.blocked(o, d, skip, light);
        shadowBlocked += b;
        return b;
    }
    const Object *object(int i) const { return table.object(i); }
    const Material &material(const Object *obj) const { return table.material(obj); }
    int lightCount() const { return table.lightCount(); }
    Light light(int i) const { return table.light(i); }
};

bool sameImage(Image *a, Image *b)
{
    const size_t n = static_cast<size_t>(imgGetWidth(a)) * imgGetHeight(a);
    return imgGetWidth(a) == imgGetWidth(b) && imgGetHeight(a) == imgGetHeight(b) &&
           std::memcmp(imgGetRedPlane(a), imgGetRedPlane(b), n) == 0 &&
           std::memcmp(imgGetGreenPlane(a), imgGetGreenPlane(b), n) == 0 &&
           std::memcmp(imgGetBluePlane(a), imgGetBluePlane(b), n) == 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s SCENE.GSC [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc == 3 ? std::atoi(argv[2]) : 3;
    Scene *scene = nullptr;
    quietly([&] { scene = sceReadFile(argv[1]); });
    if (scene == nullptr || sceGetCamera(scene) == nullptr) {
        std::fprintf(stderr, "%s: cannot read a scene with a camera\n", argv[1]);
        return 1;
    }
    const Camera *camera = sceGetCamera(scene);
    const int w = camGetScreenWidth(camera), h = camGetScreenHeight(camera);
    const int count = sceGetObjectCount(scene);

    // Counting pass.
    long long primary = 0, nearestCalls = 0, shadowCalls = 0, shadowBlocked = 0;
    quietly([&] {
        const SceneTable table(scene, count);
        CountingHits hits{table, count};
        const Vector3d eye = camGetEye(camera);
        const Color bg = sceGetBackground(scene);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                traceWith(hits, eye, camRay(camera, x, y), bg, 3);
                primary++;
            }
        nearestCalls = hits.nearestCalls;
        shadowCalls = hits.shadowCalls;
        shadowBlocked = hits.shadowBlocked;
    });
    const long long reflected = nearestCalls - primary;
    const long long tests = nearestCalls * count + shadowCalls * (count - 1);

    // Timed renders: the best of several runs of each.
    double fast = 1e300, plain = 1e300;
    Image *fastImage = nullptr, *plainImage = nullptr;
    for (int r = 0; r < runs; r++) {
        quietly([&] {
            imgDestroy(fastImage);
            std::clock_t t0 = std::clock();
            fastImage = renderScene(scene);
            std::clock_t t1 = std::clock();
            if (seconds(t0, t1) < fast)
                fast = seconds(t0, t1);
            imgDestroy(plainImage);
            t0 = std::clock();
            plainImage = renderPlain(scene);
            t1 = std::clock();
            if (seconds(t0, t1) < plain)
                plain = seconds(t0, t1);
        });
    }

    std::printf("scene               %s (%d x %d, %d objects, %d lights)\n", argv[1], w, h, count,
                sceGetLightCount(scene));
    std::printf("primary rays        %lld\n", primary);
    std::printf("shadow rays         %lld (%lld blocked)\n", shadowCalls, shadowBlocked);
    std::printf("reflected rays      %lld\n", reflected);
    std::printf("ray-object tests    %lld\n", tests);
    std::printf("renderScene         %.3f s processor time, %.2f ns per test (best of %d)\n", fast,
                fast * 1e9 / static_cast<double>(tests), runs);
    std::printf("plain traceRay      %.3f s processor time, %.2f ns per test (best of %d)\n", plain,
                plain * 1e9 / static_cast<double>(tests), runs);
    const bool same = sameImage(fastImage, plainImage);
    std::printf("images identical    %s\n", same ? "yes" : "NO");

    imgDestroy(fastImage);
    imgDestroy(plainImage);
    quietly([&] { sceDestroy(scene); });
    return same ? 0 : 1;
}
