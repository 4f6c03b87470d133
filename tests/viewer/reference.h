#ifndef GLINT_TESTS_VIEWER_REFERENCE_H
#define GLINT_TESTS_VIEWER_REFERENCE_H

// The engine's render of a scene at a given size, traced pixel by pixel with
// rayTrace, independently of glintview's driver: what the viewer must show
// and save. Also a scene the viewer's tests render.

#include <string>

#include "engine/camera.h"
#include "engine/image.h"
#include "engine/scene.h"

// Traces every pixel of image (width x height, the camera's screen size):
// camera ray, rayTrace, bytes into the image.
void renderPixels(const Scene *scene, const Camera *camera, Image *image, int width, int height);

// Writes the render as a binary PPM file; false when the scene cannot be read
// or has no camera, or the image cannot be made or written.
bool renderReference(const char *scenePath, int width, int height, const char *ppmPath);

// The raster of a PPM file as imgWritePPM writes it ("P6\n%d %d\n255\n"
// and the pixels, top row first): what follows the third line end.
std::string rasterOf(const std::string &ppm);

// A small scene with every kind of object, a mirror and shadows, for the
// viewer's tests: its camera asks for width x height, its background is the
// given "R G B" (0..255 each).
std::string viewerScene(int width, int height, const char *background = "30 40 60");

#endif
