// layout_probe: shows the layer's dialog of a canvas above the buttons Load,
// Save and Exit, as glintview builds it, and prints each button's place in
// the window ("Load X Y W H", pixels, Y down from the top) and the canvas's
// height, so that the window tests know where to click.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <cstdio>

#include "gui/toolkit.h"

int main()
{
    IupOpen();
    Ihandle *canvas = IupCanvas(nullptr);
    Ihandle *dialog = IupDialog(IupVbox(
        canvas, IupHbox(IupButton("Load", nullptr), IupButton("Save", nullptr),
                        IupButton("Exit", nullptr), NULL),
        NULL));
    IupShowXY(dialog, -1, -2);
    Fl_Window *window = Fl::first_window();
    if (window == nullptr)
        return 1;
    for (int i = 0; i < window->children(); ++i) {
        const Fl_Widget *w = window->child(i);
        std::printf("%s %d %d %d %d\n", w->label() != nullptr ? w->label() : "Canvas", w->x(),
                    w->y(), w->w(), w->h());
    }
    IupClose();
    return 0;
}
