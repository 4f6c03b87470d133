#ifndef GLINT_GUI_TESTING_H
#define GLINT_GUI_TESTING_H

// For tests only: the layer's modal dialogs answered without a window, and
// the registered functions open to view, so a program's callbacks (and the
// idle function they install) can be run from a test with no chooser or box
// on the screen, and no event (a dialog closing over a canvas, say) that
// could make up for what a callback forgot to do.

#include "gui/toolkit.h"

// While set, IupPopup shows no chooser: it calls answer with the file dialog
// and takes the result as the dialog's "VALUE" (a path, copied; NULL is a
// Cancel). NULL restores the chooser.
typedef const char *(*GuiFileAnswer)(Ihandle *fileDialog);
void guiAnswerFileDialogs(GuiFileAnswer answer);

// While set, IupMessage shows no box: it hands the title and the text to
// answer and returns. NULL restores the box.
typedef void (*GuiMessageAnswer)(const char *title, const char *text);
void guiAnswerMessages(GuiMessageAnswer answer);

// The function registered under name (IupSetFunction), NULL if none: a test
// can see what a callback installed, "iup-idle" say, and call it itself
// without handing control to a main loop.
Icallback guiRegisteredFunction(const char *name);

#endif
