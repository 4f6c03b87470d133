// The windowing layer on a real display (run under with_xvfb.sh): placing,
// the main loop and its idle function, repaints, what reaches the screen, the
// window's close request and the message box. (Typing into the file dialog,
// cancelling it and resizing from outside are exercised through glintview's
// own window test.) Timeouts set by the tests
// play the user; a guard ends every main loop after a generous bound, and a
// watchdog ends the process when a test outlives its own (loop_guard.h).

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <string>
#include <utility>
#include <vector>

#include "gui/canvas.h"
#include "gui/element.h"
#include "gui/toolkit.h"
#include "tests/gui/loop_guard.h"

namespace {

// Runs the main loop with the guard armed.
void runLoop()
{
    EXPECT_FALSE(loopguard::runGuarded(IupMainLoop)) << "the main loop had to be ended by the guard";
}

// The timeouts the tests set. Each test removes what is left of them when it
// ends: after a loop that ended early they would fire in a later test, on
// elements and windows freed since, whose memory that test's may reuse (a
// close request sent to a freed window once closed the next test's dialog).
std::vector<std::pair<Fl_Timeout_Handler, void *>> timeouts;

// Runs fn once, after the given seconds, when the main loop (or a modal
// dialog's) is waiting.
void later(double seconds, Fl_Timeout_Handler fn, void *data = nullptr)
{
    Fl::add_timeout(seconds, fn, data);
    timeouts.emplace_back(fn, data);
}

// Runs fn once, as soon as the main loop (or a modal dialog's) is waiting.
void soon(Fl_Timeout_Handler fn, void *data = nullptr) { later(0.0, fn, data); }

void removeTimeouts()
{
    for (const auto &timeout : timeouts)
        Fl::remove_timeout(timeout.first, timeout.second);
    timeouts.clear();
}

Fl_Window *windowTitled(const char *title)
{
    for (Fl_Window *w = Fl::first_window(); w != nullptr; w = Fl::next_window(w))
        if (w->label() != nullptr && std::string(w->label()) == title)
            return w;
    return nullptr;
}

template <class T> void collect(Fl_Widget *widget, std::vector<T *> &found)
{
    if (T *t = dynamic_cast<T *>(widget))
        found.push_back(t);
    if (Fl_Group *group = widget->as_group())
        for (int i = 0; i < group->children(); ++i)
            collect(group->child(i), found);
}

class GuiWindow : public ::testing::Test {
protected:
    void SetUp() override { IupOpen(); }
    void TearDown() override
    {
        removeTimeouts();
        IupClose();
    }

    // A dialog of one canvas above a row of two buttons.
    void build(const char *canvasAction = "repaint_cb")
    {
        canvas = IupCanvas(canvasAction);
        first = IupButton("First", "first_cb");
        second = IupButton("Second", "second_cb");
        dialog = IupDialog(IupVbox(canvas, IupHbox(first, second, NULL), NULL));
        drawing = cdCreateCanvas(cdContextIup(), canvas);
    }

    // The canvas's pixels on the screen, top row first, three bytes each;
    // all black, and a failure, when the dialog is not on the screen (where
    // FLTK would put up an alert box and wait for a click).
    std::vector<unsigned char> onScreen()
    {
        CanvasView *view = canvas->view;
        std::vector<unsigned char> pixels(static_cast<size_t>(view->w()) * view->h() * 3);
        if (!win()->shown()) {
            ADD_FAILURE() << "the dialog is not on the screen";
            return pixels;
        }
        win()->make_current();
        fl_read_image(pixels.data(), view->x(), view->y(), view->w(), view->h());
        return pixels;
    }

    // The dialog's window: the one holding the canvas.
    Fl_Window *win() const { return canvas->view->window(); }

    Ihandle *dialog = nullptr;
    Ihandle *canvas = nullptr;
    Ihandle *first = nullptr;
    Ihandle *second = nullptr;
    cdCanvas *drawing = nullptr;

private:
    const loopguard::TestBound bound_;
};

// ---- counters the callbacks below share ----
int repaints = 0;
int idleCalls = 0;
int idleLimit = 0;

int count_repaint(Ihandle *)
{
    ++repaints;
    return IUP_DEFAULT;
}

int close_cb(Ihandle *) { return IUP_CLOSE; }

int idle_until_repainted(Ihandle *) { return repaints > 0 ? IUP_CLOSE : IUP_DEFAULT; }

TEST_F(GuiWindow, ShowPlacesTheDialogAndLaysItOut)
{
    build();
    IupShowXY(dialog, -1, -2);
    Fl_Window *w = win();
    ASSERT_TRUE(w->shown());
    EXPECT_EQ(w->x(), (Fl::w() - w->w()) / 2) << "centred";
    // At the top: FLTK keeps room for a title bar when no window manager does.
    EXPECT_LE(w->y(), 20);
    // The canvas above, the buttons side by side below it, at the left.
    const CanvasView *view = canvas->view;
    EXPECT_EQ(view->x(), 0);
    EXPECT_EQ(view->y(), 0);
    EXPECT_EQ(view->w(), w->w());
    EXPECT_EQ(view->h(), 240);
    EXPECT_EQ(first->button->x(), 0);
    EXPECT_EQ(first->button->y(), 240);
    EXPECT_EQ(second->button->x(), first->button->w());
    EXPECT_EQ(w->h(), 240 + first->button->h());
    EXPECT_EQ(w->w(), 320);

    IupShowXY(dialog, 100, -1);
    EXPECT_EQ(w->x(), 100);
    EXPECT_EQ(w->y(), (Fl::h() - w->h()) / 2);
}

int idle_counting(Ihandle *element)
{
    EXPECT_EQ(element, nullptr);
    ++idleCalls;
    if (idleCalls == idleLimit)
        IupSetFunction("iup-idle", nullptr);
    return IUP_DEFAULT;
}

int idle_close(Ihandle *)
{
    ++idleCalls;
    return idleCalls == 3 ? IUP_CLOSE : IUP_DEFAULT;
}

void pressFirst(void *data) { static_cast<Ihandle *>(data)->button->do_callback(); }

TEST_F(GuiWindow, IdleRunsUntilRemovedAndCloseEndsTheLoop)
{
    build();
    IupShowXY(dialog, -1, -1);
    idleCalls = 0;
    idleLimit = 5;
    IupSetFunction("iup-idle", idle_counting);
    IupSetFunction("first_cb", close_cb);
    // The idle function removes itself after 5 calls; the loop then sleeps
    // until the button's callback returns IUP_CLOSE.
    later(0.3, pressFirst, first);
    runLoop();
    EXPECT_EQ(idleCalls, 5);
    EXPECT_TRUE(win()->shown()) << "IUP_CLOSE ends the loop, not the dialog";

    // An idle function's IUP_CLOSE ends the loop too.
    idleCalls = 0;
    IupSetFunction("iup-idle", idle_close);
    runLoop();
    EXPECT_EQ(idleCalls, 3);
}

void sendCloseRequest(void *data)
{
    Fl_Window *window = static_cast<Fl_Window *>(data);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = fl_xid(window);
    event.xclient.message_type = XInternAtom(fl_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(fl_display, "WM_DELETE_WINDOW", False));
    XSendEvent(fl_display, event.xclient.window, False, NoEventMask, &event);
    XFlush(fl_display);
}

int idle_forever(Ihandle *)
{
    ++idleCalls;
    return IUP_DEFAULT;
}

TEST_F(GuiWindow, ClosingTheLastDialogEndsTheLoopEvenWithAnIdleFunction)
{
    build();
    IupShowXY(dialog, -1, -1);
    idleCalls = 0;
    IupSetFunction("iup-idle", idle_forever);
    later(0.2, sendCloseRequest, win());
    runLoop();
    EXPECT_FALSE(win()->shown());
    EXPECT_GT(idleCalls, 0);
}

// Draws one row per idle call, bottom row first, then stops.
cdCanvas *rowCanvas = nullptr;
int rowsDrawn = 0;
int idle_rows(Ihandle *)
{
    cdActivate(rowCanvas);
    int w = 0, h = 0;
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    if (rowsDrawn == h)
        return IUP_CLOSE;  // one more turn of the loop has flushed the last row
    for (int x = 0; x < w; ++x)
        cdPixel(x, rowsDrawn, cdEncodeColor(static_cast<unsigned char>(x), 
                                            static_cast<unsigned char>(rowsDrawn), 200));
    ++rowsDrawn;
    return IUP_DEFAULT;
}

TEST_F(GuiWindow, PixelsReachTheScreenWithoutRepaints)
{
    build();
    IupSetAttribute(canvas, "RASTERSIZE", "64x48");
    repaints = 0;
    IupSetFunction("repaint_cb", count_repaint);
    IupShowXY(dialog, -1, -1);
    EXPECT_EQ(repaints, 0) << "nothing is handled before the main loop";
    IupSetFunction("iup-idle", idle_until_repainted);
    runLoop();
    EXPECT_EQ(repaints, 1) << "the first showing asks for the canvas";
    rowCanvas = drawing;
    rowsDrawn = 0;
    IupSetFunction("iup-idle", idle_rows);
    runLoop();
    EXPECT_EQ(repaints, 1) << "the layer's own drawing never asks for a repaint";
    // The canvas fills the dialog's width, wider than asked for.
    const int w = canvas->view->w();
    ASSERT_EQ(canvas->view->h(), 48);
    const std::vector<unsigned char> screen = onScreen();
    // Screen row 0 is the canvas's top row, 47.
    for (int sy = 0; sy < 48; ++sy)
        for (int x = 0; x < w; ++x) {
            const unsigned char *p = &screen[(static_cast<size_t>(sy) * w + x) * 3];
            ASSERT_EQ(p[0], x) << "at " << x << ", screen row " << sy;
            ASSERT_EQ(p[1], 47 - sy) << "at " << x << ", screen row " << sy;
            ASSERT_EQ(p[2], 200);
        }
}

int stretch_repaint(Ihandle *element)
{
    // Draws a 2 x 2 image over the whole canvas each time it is asked.
    static const unsigned char r[] = {255, 0, 0, 255};
    static const unsigned char g[] = {0, 255, 0, 255};
    static const unsigned char b[] = {0, 0, 255, 255};
    ++repaints;
    cdActivate(cdCreateCanvas(cdContextIup(), element));
    int w = 0, h = 0;
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    cdPutImageRectRGB(2, 2, r, g, b, 0, 0, w, h, 0, 0, 0, 0);
    return IUP_DEFAULT;
}

TEST_F(GuiWindow, ResizeAsksForARepaintAndTheStretchedImageFollows)
{
    build();
    IupSetAttribute(canvas, "RASTERSIZE", "6x4");
    repaints = 0;
    IupSetFunction("repaint_cb", stretch_repaint);
    IupShowXY(dialog, -1, -1);
    IupSetFunction("iup-idle", idle_until_repainted);
    runLoop();
    const int afterShow = repaints;

    // The same size again: nothing to lay out, no repaint.
    IupSetAttribute(dialog, "SIZE", NULL);
    idleCalls = 0;
    IupSetFunction("iup-idle", idle_close);
    runLoop();
    EXPECT_EQ(repaints, afterShow);

    IupSetAttribute(canvas, "RASTERSIZE", "401x301");
    IupSetAttribute(dialog, "SIZE", NULL);
    cdActivate(drawing);
    int w = 0, h = 0;
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    EXPECT_EQ(w, 401);
    EXPECT_EQ(h, 301);
    EXPECT_EQ(win()->w(), 401);
    EXPECT_EQ(win()->h(), 301 + first->button->h());
    idleCalls = 0;
    IupSetFunction("iup-idle", idle_close);
    runLoop();
    EXPECT_GT(repaints, afterShow) << "a resized canvas is repainted";

    // Four quadrants, the image's bottom row at the bottom: blue above red
    // on the left, white above green on the right; columns 0..200 and rows
    // 0..150 (from the bottom) take the image's first column and row.
    const std::vector<unsigned char> screen = onScreen();
    auto at = [&](int x, int y) {
        const unsigned char *p = &screen[(static_cast<size_t>(300 - y) * 401 + x) * 3];
        return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]);
    };
    EXPECT_EQ(at(0, 0), "255 0 0");
    EXPECT_EQ(at(200, 150), "255 0 0");
    EXPECT_EQ(at(201, 150), "0 255 0");
    EXPECT_EQ(at(200, 151), "0 0 255");
    EXPECT_EQ(at(400, 300), "255 255 255");
}

std::string messageSeen;
void answerMessage(void *)
{
    Fl_Window *box = windowTitled("Measures");
    if (box == nullptr) {
        soon(answerMessage);
        return;
    }
    std::vector<Fl_Button *> buttons;
    collect(box, buttons);
    messageSeen = std::to_string(buttons.size());
    if (!buttons.empty()) {
        messageSeen += std::string(" ") + buttons.front()->label();
        buttons.front()->do_callback();
    }
}

TEST_F(GuiWindow, MessageBoxHasOneOkButton)
{
    messageSeen.clear();
    soon(answerMessage);
    EXPECT_FALSE(loopguard::runGuarded(
        [] { IupMessage("Measures", "Colors in 1 = 2\nColors in 2 = 3\nError = 0 "); }));
    EXPECT_EQ(messageSeen, "1 OK");
}

}  // namespace
