// viewer_engine SCENE RUNS: the engine's render of SCENE at its camera's size,
// traced pixel by pixel as glintview's driver does (camera ray, rayTrace,
// bytes into an image: the viewer tests' reference render, renderPixels),
// without a window. Prints the size and, for each run, the seconds the render
// took, wall clock and processor time, on lines that begin with
// "viewer_engine:" (the scene reader's echoes come before them).
// The scene is read before the clocks start.

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/camera.h"
#include "engine/image.h"
#include "engine/scene.h"
#include "tests/viewer/reference.h"

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCENE RUNS\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[2]));
    std::vector<double> seconds;
    std::vector<double> processor;
    int width = 0;
    int height = 0;
    for (int run = 0; run < runs; ++run) {
        Scene *scene = sceReadFile(argv[1]);
        Camera *camera = scene != nullptr ? sceGetCamera(scene) : nullptr;
        if (camera == nullptr) {
            std::fprintf(stderr, "cannot render %s\n", argv[1]);
            return 1;
        }
        width = camGetScreenWidth(camera);
        height = camGetScreenHeight(camera);
        Image *image = imgCreate(width, height);
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        renderPixels(scene, camera, image, width, height);
        const auto end = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(end - start).count());
        processor.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        imgDestroy(image);
        sceDestroy(scene);
    }
    std::printf("viewer_engine: size %d %d\n", width, height);
    for (size_t i = 0; i < seconds.size(); ++i)
        std::printf("viewer_engine: run %.4f %.4f\n", seconds[i], processor[i]);
    return 0;
}
