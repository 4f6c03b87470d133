#include "viewer/render.h"

#include <cstdio>
#include <string>

#include "engine/camera.h"
#include "engine/color.h"
#include "engine/image.h"
#include "engine/scene.h"
#include "engine/tracer.h"
#include "gui/canvas.h"

namespace {

struct RenderState {
    struct cdCanvas *cdCanvas = nullptr;
    Scene *scene = nullptr;
    Camera *camera = nullptr;  // the scene's, borrowed
    Image *image = nullptr;
    Vector3d eye = {0.0, 0.0, 0.0};
    int width = 0;
    int height = 0;
    // Held whole: the file dialog gives full paths of any length.
    std::string sceneFileName;
    int line = 0;
};

RenderState rv;

// A colour component in 0..1 as a byte: times 255, truncated toward zero.
unsigned char toByte(double component) { return static_cast<unsigned char>(component * 255.0); }

}  // namespace

int rvCreateCanvas(Ihandle *canvas)
{
    rv.cdCanvas = cdCreateCanvas(cdContextIup(), canvas);
    rv.scene = nullptr;
    rv.camera = nullptr;
    rv.image = nullptr;
    rv.line = 0;
    return rv.cdCanvas != nullptr ? 1 : 0;
}

void rvRestart()
{
    cdActivate(rv.cdCanvas);
    int w = 0;
    int h = 0;
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    camSetScreen(rv.camera, w, h);
    rv.width = w;
    rv.height = h;
    // Once a scene is loaded a restart at a new size makes a new, black image,
    // and the canvas is cleared to match it: what a canvas kept from before is
    // not part of the new picture, and a save writes what the window shows.
    // For a canvas without area imgCreate gives none, and the steps then draw
    // nothing until a restart at a real size makes one again. A restart at the
    // image's own size (an uncovered or remapped window) keeps the image and
    // puts it back on the canvas, which may have lost rows to a size it had
    // for a moment; the picture is then traced again over both with the same
    // values.
    const bool sameSize =
        rv.image != nullptr && imgGetWidth(rv.image) == w && imgGetHeight(rv.image) == h;
    if (rv.camera != nullptr && !sameSize) {
        imgDestroy(rv.image);
        rv.image = imgCreate(rv.width, rv.height);
        cdClear();
    } else if (sameSize) {
        cdPutImageRectRGB(w, h, imgGetRedPlane(rv.image), imgGetGreenPlane(rv.image),
                          imgGetBluePlane(rv.image), 0, 0, w, h, 0, 0, 0, 0);
    }
    rv.line = 0;
}

int rvLoad(const char *name, int *width, int *height)
{
    Scene *s = sceReadFile(name);
    if (s == nullptr)
        return 0;
    if (sceGetCamera(s) == nullptr) {
        // Nothing could be rendered from it; the scene on show stays.
        printf("\nCenario sem camera: '%s' nao foi carregado.\n", name);
        sceDestroy(s);
        return 0;
    }
    if (rv.scene != nullptr)
        sceDestroy(rv.scene);
    rv.scene = s;
    rv.camera = sceGetCamera(rv.scene);
    rv.height = camGetScreenHeight(rv.camera);
    rv.width = camGetScreenWidth(rv.camera);
    rv.eye = camGetEye(rv.camera);
    rv.sceneFileName = name;
    *width = rv.width;
    *height = rv.height;
    // The canvas may keep its size (the scene asks for the size it has), and
    // then no repaint comes to restart: restart here, at the canvas's size,
    // so that no step runs past the new image. The earlier scene's picture
    // goes first, so that the restart begins the new one from black.
    imgDestroy(rv.image);
    rv.image = nullptr;
    rvRestart();
    return 1;
}

int rvStep()
{
    if (rv.camera == nullptr || rv.image == nullptr || rv.line >= rv.height)
        return 0;
    const int y = rv.line;
    cdActivate(rv.cdCanvas);
    for (int x = 0; x < rv.width; ++x) {
        Vector3d d = camRay(rv.camera, static_cast<double>(x), static_cast<double>(y));
        Color c = rayTrace(rv.scene, rv.eye, d, 0);
        const unsigned char r = toByte(colGetRed(c));
        const unsigned char g = toByte(colGetGreen(c));
        const unsigned char b = toByte(colGetBlue(c));
        imgSetPixel(rv.image, x, y, r, g, b);
        cdPixel(x, y, cdEncodeColor(r, g, b));
    }
    rv.line = y + 1;
    return rv.line < rv.height ? 1 : 0;
}

void rvSave()
{
    if (rv.scene == nullptr) {
        printf("\nNenhum cenario carregado: nada foi salvo.\n");
        return;
    }
    // The last four characters of the file's own name are replaced, so that
    // the picture lands in the scene's folder: a shorter name would take the
    // folder's name with it.
    const std::string::size_type slash = rv.sceneFileName.rfind('/');
    const std::string::size_type base = slash == std::string::npos ? 0 : slash + 1;
    if (rv.sceneFileName.size() - base < 4) {
        printf("\nNome de arquivo '%s' curto demais para trocar a extensao: nada foi salvo.\n",
               rv.sceneFileName.c_str());
        return;
    }
    if (rv.image == nullptr) {
        printf("\nNenhuma imagem (canvas sem area): nada foi salvo.\n");
        return;
    }
    const std::string name =
        rv.sceneFileName.substr(0, rv.sceneFileName.size() - 4) + ".ppm";
    // The picture never replaces what the scene was read from.
    switch (sceReadFrom(rv.scene, name.c_str())) {
    case SCENE_FILE:
        printf("\nO arquivo '%s' e o proprio cenario: nada foi salvo.\n", name.c_str());
        return;
    case SCENE_IMAGE:
        printf("\nO arquivo '%s' e uma imagem lida pelo cenario: nada foi salvo.\n", name.c_str());
        return;
    }
    imgWritePPM(rv.image, name.c_str());
}

void rvFree()
{
    if (rv.scene != nullptr)
        sceDestroy(rv.scene);
    imgDestroy(rv.image);
    rv.scene = nullptr;
    rv.camera = nullptr;
    rv.image = nullptr;
    rv.line = 0;
}
