#ifndef GLINT_VIEWER_RENDER_H
#define GLINT_VIEWER_RENDER_H

// glintview's render driver: owns the loaded scene, the image rendered into
// and the drawing canvas that shows it, and renders progressively, one scan
// line per step, from the bottom row up. One instance for the whole program.
//
// Calling order: rvCreateCanvas once; rvRestart at every repaint of the
// canvas; rvLoad when the user loads a scene; rvStep from the idle function
// until it returns 0; rvSave when the user saves; rvFree at exit.

struct Ihandle;

// Makes the drawing canvas on the window's canvas element and empties the
// driver. 1 when the drawing canvas was made, 0 when it could not be.
int rvCreateCanvas(Ihandle *canvas);

// Starts the rendering again from line 0 at the canvas's current size: the
// camera's screen takes that size. Once a scene is loaded, a new size gets a
// new black image (none for a canvas without area) and a cleared canvas; at
// the size the image already has, the image keeps its pixels, is put back on
// the canvas, and is traced over again.
void rvRestart();

// Reads the scene file. On success the scene replaces the one loaded before,
// *width and *height get the camera's screen size (the canvas size the
// caller should ask for), the rendering restarts from a black image at the
// canvas's current size, and 1 is returned. On failure (the file cannot be read, or its scene has no
// camera, which is reported) 0 is returned and nothing changes: a scene
// loaded before stays loaded and on show.
int rvLoad(const char *name, int *width, int *height);

// Renders the next scan line into the image and onto the canvas. 1 while
// lines remain; 0 once the top line is done, or when there is nothing to
// render (no scene, or a canvas without area), in which case nothing is drawn.
int rvStep();

// Writes the image as it stands beside the scene file, the scene file's name
// with its last four characters replaced by ".ppm". It writes nothing, and
// says why, with no scene, no image, a file name (the part after the last
// "/") shorter than four characters, or a name that leads to the scene's own
// file or to an image the scene read.
void rvSave();

// Frees the scene and the image; the driver is then empty.
void rvFree();

#endif
