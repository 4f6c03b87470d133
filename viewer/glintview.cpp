// glintview: a window with a canvas above the buttons Load, Save and Exit.
// The scene loaded is rendered one scan line per idle call of the main loop,
// so the window stays usable while the picture builds up.

#include <cstdio>

#include "gui/toolkit.h"
#include "viewer/render.h"

namespace {

// Held for the whole run: load_cb resizes the canvas and lays the dialog out.
Ihandle *dialog = nullptr;
Ihandle *canvas = nullptr;

int idle_cb(Ihandle *)
{
    if (rvStep() == 0)
        IupSetFunction("iup-idle", nullptr);
    return IUP_DEFAULT;
}

int repaint_cb(Ihandle *)
{
    rvRestart();
    IupSetFunction("iup-idle", idle_cb);
    return IUP_DEFAULT;
}

int load_cb(Ihandle *)
{
    Ihandle *fd = IupFileDlg();
    IupSetAttribute(fd, "DIALOGTYPE", "OPEN");
    IupSetAttribute(fd, "TITLE", "Selecione o arquivo ");
    IupSetAttribute(fd, "FILTER", "*.gsc");
    IupSetAttribute(fd, "FILTERINFO", "gsc files");
    IupPopup(fd, -1, -1);
    const char *name = IupGetAttribute(fd, "VALUE");
    if (name == nullptr)
        return IUP_DEFAULT;
    int w = 0;
    int h = 0;
    if (rvLoad(name, &w, &h) == 0)
        return IUP_DEFAULT;
    // The layer copies the text, so a local buffer is enough.
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", w, h);
    IupSetAttribute(canvas, "RASTERSIZE", text);
    IupSetAttribute(dialog, "SIZE", NULL);
    // rvLoad has restarted the rendering; make sure it runs even when the
    // canvas keeps its size and so no repaint comes to install the idle
    // function.
    IupSetFunction("iup-idle", idle_cb);
    return IUP_DEFAULT;
}

int save_cb(Ihandle *)
{
    rvSave();
    return IUP_DEFAULT;
}

int exit_cb(Ihandle *)
{
    rvFree();
    return IUP_CLOSE;
}

int rvCreateDialog()
{
    Ihandle *load = IupButton("Load", "load_cb");
    Ihandle *save = IupButton("Save", "save_cb");
    Ihandle *exit = IupButton("Exit", "exit_cb");
    Ihandle *view = IupCanvas("repaint_cb");
    Ihandle *dlg = IupDialog(IupVbox(view, IupHbox(load, save, exit, NULL), NULL));
    IupShowXY(dlg, -1, -2);
    dialog = dlg;
    canvas = view;
    if (rvCreateCanvas(canvas) == 0) {
        printf("Impossivel criar o canvas de desenho!\n");
        return 0;
    }
    repaint_cb(canvas);
    IupSetFunction("repaint_cb", repaint_cb);
    IupSetFunction("load_cb", load_cb);
    IupSetFunction("save_cb", save_cb);
    IupSetFunction("exit_cb", exit_cb);
    return 1;
}

}  // namespace

int main(int, char **)
{
    // Each message reaches a log file or a pipe when it is printed, not at exit.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    IupOpen();
    const int made = rvCreateDialog();
    if (made != 0)
        IupMainLoop();
    IupClose();
    return made != 0 ? 0 : 1;
}
