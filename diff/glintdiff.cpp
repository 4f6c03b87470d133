// glintdiff: two PPM images side by side, each in its own canvas with its own
// Load button. Error counts the colours of both, measures their difference,
// turns the right-hand image into the picture of the differences and shows
// the numbers in a message box.

#include <cstdio>

#include "diff/image.h"
#include "diff/measures.h"
#include "gui/canvas.h"
#include "gui/toolkit.h"

// One pane. The callbacks reach a pane's record through the attributes
// "gc" (canvas, Load), "gc1" and "gc2" (Error, Exit) of the element they get.
struct ViewRecord {
    Ihandle *dialog;
    Ihandle *canvas;
    struct cdCanvas *cdCanvas;
    Image *image;
};

static ViewRecord pane1;
static ViewRecord pane2;

static void attachRecord(Ihandle *element, const char *name, ViewRecord *record)
{
    IupSetAttribute(element, name, reinterpret_cast<const char *>(record));
}

static ViewRecord *recordOf(Ihandle *element, const char *name)
{
    return reinterpret_cast<ViewRecord *>(IupGetAttribute(element, name));
}

// Draws the pane's image stretched over the whole canvas, bottom row at the
// bottom. Without an image nothing is drawn.
static int repaint_cb(Ihandle *canvas)
{
    ViewRecord *rec = recordOf(canvas, "gc");
    if (rec == nullptr || rec->image == nullptr)
        return IUP_DEFAULT;
    cdActivate(rec->cdCanvas);
    int w = 0, h = 0;
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    Image *image = rec->image;
    cdPutImageRectRGB(imgGetWidth(image), imgGetHeight(image), imgGetRedPlane(image),
                      imgGetGreenPlane(image), imgGetBluePlane(image), 0, 0, w, h, 0, 0, 0, 0);
    return IUP_DEFAULT;
}

// Asks for a PPM file and shows it in the button's pane, sizing the canvas to
// the image. Cancel leaves the pane as it was; an unreadable file leaves it
// without an image, and its canvas cleared to show that.
static int load_cb(Ihandle *button)
{
    ViewRecord *rec = recordOf(button, "gc");
    Ihandle *fd = IupFileDlg();
    IupSetAttribute(fd, "DIALOGTYPE", "OPEN");
    IupSetAttribute(fd, "TITLE", "Selecione o arquivo ");
    IupSetAttribute(fd, "FILTER", "*.ppm");
    IupSetAttribute(fd, "FILTERINFO", "PPM files");
    IupPopup(fd, -1, -1);
    const char *name = IupGetAttribute(fd, "VALUE");
    if (name == nullptr)
        return 0;

    Image *img = imgReadPPM(name);
    imgDestroy(rec->image);
    rec->image = img;
    if (img == nullptr) {
        // The old picture must not stay on the screen of an empty pane.
        cdActivate(rec->cdCanvas);
        cdClear();
        return 0;
    }

    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", imgGetWidth(img), imgGetHeight(img));
    IupSetAttribute(rec->canvas, "RASTERSIZE", size);
    IupSetAttribute(rec->dialog, "SIZE", nullptr);
    repaint_cb(rec->canvas);
    return IUP_DEFAULT;
}

// Counts the colours of both images (before image 2 changes), measures the
// error, which turns image 2 into the difference picture, and shows the three
// numbers.
static int error_cb(Ihandle *button)
{
    ViewRecord *rec1 = recordOf(button, "gc1");
    ViewRecord *rec2 = recordOf(button, "gc2");
    if (rec1->image == nullptr || rec2->image == nullptr) {
        IupMessage("Measures", "Both panes need an image.");
        return IUP_DEFAULT;
    }
    const long count1 = imgCountColors(rec1->image);
    const long count2 = imgCountColors(rec2->image);
    const double e = imgError(rec1->image, rec2->image);
    char text[160];
    std::snprintf(text, sizeof text, "Colors in 1 = %ld\nColors in 2 = %ld\nError = %.0lf ", count1,
                  count2, e);
    IupMessage("Measures", text);
    repaint_cb(rec2->canvas);
    return IUP_DEFAULT;
}

static int exit_cb(Ihandle *button)
{
    ViewRecord *rec1 = recordOf(button, "gc1");
    ViewRecord *rec2 = recordOf(button, "gc2");
    imgDestroy(rec1->image);
    rec1->image = nullptr;
    imgDestroy(rec2->image);
    rec2->image = nullptr;
    return IUP_CLOSE;
}

static int createDialog()
{
    Ihandle *load1 = IupButton("Load", "load_cb");
    Ihandle *exitButton = IupButton("Exit", "exit_cb");
    Ihandle *load2 = IupButton("Load", "load_cb");
    Ihandle *errorButton = IupButton("Error", "error_cb");
    Ihandle *canvas1 = IupCanvas("repaint_cb");
    Ihandle *canvas2 = IupCanvas("repaint_cb");

    Ihandle *buttons1 = IupHbox(load1, exitButton, nullptr);
    Ihandle *buttons2 = IupHbox(load2, errorButton, nullptr);
    Ihandle *box2 = IupVbox(canvas2, buttons2, nullptr);
    Ihandle *box1 = IupVbox(canvas1, buttons1, nullptr);
    Ihandle *row = IupHbox(box1, box2, nullptr);
    Ihandle *dialog = IupDialog(row);

    attachRecord(canvas1, "gc", &pane1);
    attachRecord(canvas2, "gc", &pane2);
    attachRecord(load1, "gc", &pane1);
    attachRecord(load2, "gc", &pane2);
    attachRecord(errorButton, "gc1", &pane1);
    attachRecord(errorButton, "gc2", &pane2);
    attachRecord(exitButton, "gc1", &pane1);
    attachRecord(exitButton, "gc2", &pane2);

    IupShowXY(dialog, -2, -2);

    pane1.cdCanvas = cdCreateCanvas(cdContextIup(), canvas1);
    pane2.cdCanvas = cdCreateCanvas(cdContextIup(), canvas2);
    pane1.canvas = canvas1;
    pane2.canvas = canvas2;
    pane1.dialog = dialog;
    pane2.dialog = dialog;

    repaint_cb(canvas1);
    repaint_cb(canvas2);

    IupSetFunction("repaint_cb", repaint_cb);
    IupSetFunction("load_cb", load_cb);
    IupSetFunction("exit_cb", exit_cb);
    IupSetFunction("error_cb", error_cb);
    return 1;
}

int main(int, char **)
{
    // Each message reaches a log file or a pipe when it is printed, not at exit.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    IupOpen();
    if (createDialog())
        IupMainLoop();
    // Closing the window with the window manager's control skips exit_cb.
    imgDestroy(pane1.image);
    imgDestroy(pane2.image);
    IupClose();
    return 0;
}
