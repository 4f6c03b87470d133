#ifndef GLINT_GUI_TOOLKIT_H
#define GLINT_GUI_TOOLKIT_H

// The suite's small windowing layer: dialogs laid out from vertical and
// horizontal boxes, buttons, drawing canvases, a modal file dialog and a modal
// message box, with callbacks bound by name and an idle function. It runs over
// FLTK; the programs see only these operations.
//
// Elements are made by the constructors below and belong to the layer, which
// frees them all in IupClose. Every operation runs on the program's one thread.

struct Ihandle;

// A callback gets the element the event happened on (a null element for the
// idle function) and returns IUP_DEFAULT, or IUP_CLOSE to end IupMainLoop.
typedef int (*Icallback)(Ihandle *element);

enum { IUP_DEFAULT = -2, IUP_CLOSE = -3 };

// Starts and ends the layer. IupClose hides and frees every element and
// forgets every registered function. The display is opened only when a
// window is first shown, so elements and canvases can be made and drawn into
// without one.
void IupOpen();
void IupClose();

// Handles events until a callback returns IUP_CLOSE or no dialog is on show
// (the last one closed with the window manager's close control). While the
// function named "iup-idle" is registered it is called whenever no event is
// waiting; the canvases' new pixels reach the screen between calls, at most
// 60 times a second.
void IupMainLoop();

// Constructors. The boxes take their children as a list ending in NULL.
// A button's title and a canvas's or button's callback name may be NULL.
Ihandle *IupDialog(Ihandle *child);
Ihandle *IupVbox(Ihandle *child, ...);
Ihandle *IupHbox(Ihandle *child, ...);
Ihandle *IupButton(const char *title, const char *action);
Ihandle *IupCanvas(const char *action);
Ihandle *IupFileDlg();

// Lays the dialog out around its contents (once) and shows it at x, y in
// screen pixels; -1 centres it on that axis, -2 puts it at the left or top
// edge of the screen.
void IupShowXY(Ihandle *dialog, int x, int y);

// Registers func under name, replacing what was there; a NULL func removes
// the name. Elements name their callbacks in "ACTION", looked up when the
// event comes, so an event before its name is registered does nothing.
void IupSetFunction(const char *name, Icallback func);

// Attributes the layer interprets; their text is copied when set:
//   "ACTION"      (button, canvas) name of the callback
//   "TITLE"       (button) its label; (dialog, file dialog) the window's title
//   "RASTERSIZE"  (canvas) "WxH" in pixels, the size the layout gives it;
//                 each side limited to 0..8192, text of another form ignored,
//                 NULL for the default size (320x240)
//   "SIZE"        (dialog) only NULL: drop the size and lay the dialog out
//                 again around its contents, resizing its window
//   "DIALOGTYPE"  (file dialog) only "OPEN"
//   "FILTER"      (file dialog) pattern of the files listed, e.g. "*.gsc"
//   "FILTERINFO"  (file dialog) description of the pattern
//   "VALUE"       (file dialog) read only: the chosen path, NULL if cancelled
// Any other name keeps the pointer given as it is, for the program's own use;
// NULL removes it. IupGetAttribute returns NULL for an attribute not set.
void IupSetAttribute(Ihandle *element, const char *name, const char *value);
char *IupGetAttribute(Ihandle *element, const char *name);

// Shows a file dialog modally and returns when the user has chosen a file or
// cancelled. The other elements are not accepted. The position arguments are
// accepted for form's sake: the chooser opens under the mouse pointer.
void IupPopup(Ihandle *fileDialog, int x, int y);

// A modal box with the title, the text and one OK button; returns when the
// box is closed.
void IupMessage(const char *title, const char *text);

#endif
