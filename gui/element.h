#ifndef GLINT_GUI_ELEMENT_H
#define GLINT_GUI_ELEMENT_H

// Inside the windowing layer: what an element is, shared by the toolkit and
// the canvas modules. Not for the programs.

#include <FL/Fl_Widget.H>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "gui/canvas.h"
#include "gui/toolkit.h"

class Fl_Button;
class CanvasView;
class DialogWindow;

enum class ElementKind { Dialog, Vbox, Hbox, Button, Canvas, FileDialog };

// The drawing canvas of a canvas element; it only names its element.
struct cdCanvas {
    Ihandle *element;
};

struct Ihandle {
    ElementKind kind;
    Ihandle *parent = nullptr;
    std::vector<Ihandle *> children;
    // Attributes the layer interprets, copied when set.
    std::map<std::string, std::string> texts;
    // Every other attribute: the pointer the program gave.
    std::map<std::string, const char *> pointers;

    // Canvas: the size the layout gives it, its widget and drawing canvas.
    int rasterWidth = 0;
    int rasterHeight = 0;
    CanvasView *view = nullptr;
    cdCanvas drawing{nullptr};
    // Button.
    Fl_Button *button = nullptr;
    // Dialog: its window, and whether it has been laid out and shown once.
    DialogWindow *window = nullptr;
    bool laidOut = false;
};

// Runs the callback named by the element's "ACTION", if one is registered
// under that name; a result of IUP_CLOSE ends the main loop.
void guiRunAction(Ihandle *element);

// The FLTK widget behind a canvas element. It keeps every pixel drawn in a
// store of its own (top row first, three bytes a pixel), so drawing costs no
// trip to the window system; the rows changed since the last flush are put on
// the screen when FLTK next draws the widget, at most 60 times a second. A
// redraw that the window system asks for (first showing, uncovering,
// resizing) runs the element's callback first; the layer's own flushes never
// do.
class CanvasView : public Fl_Widget {
public:
    CanvasView(Ihandle *element, int width, int height);
    ~CanvasView() override;

    void draw() override;
    void resize(int x, int y, int width, int height) override;

    // Pixel store access, in canvas coordinates (row 0 at the bottom). The
    // caller checks the bounds.
    void setPixel(int x, int y, unsigned char red, unsigned char green, unsigned char blue);
    // Sets every pixel to the colour of a new store's (black) and notes the
    // change.
    void clear();
    // Notes that rows bottom..top (inclusive, canvas coordinates) changed.
    void changed(int bottom, int top);
    // Has the rows changed and not yet on the screen put there at the next
    // flush, without waiting for the flush interval.
    void flushPending();

    // The pixel store, top row first; for the layer's tests.
    const std::vector<unsigned char> &pixels() const { return pixels_; }

private:
    static const double FLUSHES_PER_SECOND;

    void blit(int firstRow, int lastRow);
    static void flushLater(void *view);

    Ihandle *element_;
    std::vector<unsigned char> pixels_;
    int dirtyFirst_;  // rows of pixels_ (top row 0) not yet on the screen
    int dirtyLast_;
    std::chrono::steady_clock::time_point lastFlush_{};
    bool drawing_ = false;
};

#endif
