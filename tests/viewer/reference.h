#ifndef GLINT_TESTS_VIEWER_REFERENCE_H
#define GLINT_TESTS_VIEWER_REFERENCE_H

// The engine's render of a scene at a given size, traced pixel by pixel with
// rayTrace, independently of glintview's driver: what the viewer must show
// and save.

// Writes the render as a binary PPM file; false when the scene cannot be read
// or has no camera, or the image cannot be made or written.
bool renderReference(const char *scenePath, int width, int height, const char *ppmPath);

#endif
