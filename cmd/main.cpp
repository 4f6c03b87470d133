// glintcmd: renders a scene description file to a binary PPM image.
#include <cstdio>
#include <ctime>

#include "cmd/render.h"
#include "engine/image.h"
#include "engine/scene.h"

int main(int argc, char **argv)
{
    if (argc != 3) {
        printf("uso: %s FILE.GSC FILE.PPM\n", argc > 0 && argv[0] != nullptr ? argv[0] : "glintcmd");
        return 1;
    }

    Scene *scene = sceReadFile(argv[1]);
    if (scene == nullptr) {
        printf("Impossivel criar cenario!\n");
        return 1;
    }

    // The picture never replaces what the scene was read from.
    const int source = sceReadFrom(scene, argv[2]);
    if (source != 0) {
        printf(source == SCENE_FILE ? "Impossivel gravar '%s': e o proprio cenario!\n"
                                    : "Impossivel gravar '%s': e uma imagem lida pelo cenario!\n",
               argv[2]);
        sceDestroy(scene);
        return 1;
    }

    // Only the rendering is timed, in whole seconds of processor time.
    const std::clock_t t0 = std::clock();
    Image *image = renderScene(scene);
    const std::clock_t t1 = std::clock();
    const double seconds = static_cast<double>((t1 - t0) / CLOCKS_PER_SEC);

    // The writer reports its own success or failure; a failure still lets
    // every step below run, then ends with status 1.
    const int written = imgWritePPM(image, argv[2]);
    imgDestroy(image);
    sceDestroy(scene);
    printf("levou %lf segundos\n", seconds);
    // Holds a console window open until Enter; returns at once at end of input.
    (void)getchar();
    return written ? 0 : 1;
}
