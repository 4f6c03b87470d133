#ifndef GLINT_GUI_CANVAS_H
#define GLINT_GUI_CANVAS_H

// Drawing on the layer's canvas elements (gui/toolkit.h). Coordinates are in
// pixels with row 0 at the bottom of the canvas. Drawing goes to the canvas's
// own pixel store at once and reaches the screen from the main loop, within a
// sixtieth of a second (and before IupMainLoop returns); it never makes the
// canvas's callback run. A canvas that is not on show can be drawn into all
// the same.

struct Ihandle;
struct cdCanvas;
struct cdContext;

// The kind of drawing canvas that draws on a canvas element.
cdContext *cdContextIup();

// The drawing canvas on the canvas element given as data; NULL when context
// is not cdContextIup() or data is not a canvas element. Each element has one
// drawing canvas, owned by the layer and valid until IupClose.
cdCanvas *cdCreateCanvas(cdContext *context, void *data);

// Makes canvas the one the operations below draw on.
void cdActivate(cdCanvas *canvas);

// The active canvas's current size in pixels (0 x 0 when none is active).
// The sizes in millimetres are not offered: pass NULL for them.
void cdGetCanvasSize(int *width, int *height, double *widthMM, double *heightMM);

// A colour as cdPixel takes it.
long cdEncodeColor(unsigned char red, unsigned char green, unsigned char blue);

// Sets one pixel of the active canvas; a pixel outside it is ignored.
void cdPixel(int x, int y, long color);

// Sets every pixel of the active canvas to black, the colour a new canvas
// shows before anything is drawn on it.
void cdClear();

// Draws an image of imageWidth x imageHeight pixels, given as three planes of
// one byte per pixel with row 0 at the bottom, stretched over the rectangle of
// width x height pixels whose bottom-left corner is (x, y). xmin..xmax and
// ymin..ymax (inclusive) select the part of the image drawn; all four 0 stand
// for the whole image. Each target pixel takes the nearest source pixel.
void cdPutImageRectRGB(int imageWidth, int imageHeight, const unsigned char *red,
                       const unsigned char *green, const unsigned char *blue, int x, int y,
                       int width, int height, int xmin, int xmax, int ymin, int ymax);

#endif
