// The windowing layer without a display: elements, attributes and drawing
// into a canvas that is never shown.

#include <gtest/gtest.h>

#include <FL/Fl_Button.H>

#include <cstring>
#include <string>
#include <vector>

#include "gui/canvas.h"
#include "gui/element.h"
#include "gui/toolkit.h"

namespace {

class GuiLayer : public ::testing::Test {
protected:
    void SetUp() override { IupOpen(); }
    void TearDown() override { IupClose(); }

    // The pixel at canvas coordinates (x, y), row 0 at the bottom, as "r g b".
    static std::string pixel(Ihandle *canvas, int x, int y)
    {
        const CanvasView *view = canvas->view;
        const std::vector<unsigned char> &p = view->pixels();
        const size_t i = (static_cast<size_t>(view->h() - 1 - y) * view->w() + x) * 3;
        return std::to_string(p[i]) + " " + std::to_string(p[i + 1]) + " " +
               std::to_string(p[i + 2]);
    }

    static cdCanvas *drawingOn(Ihandle *canvas, const char *size)
    {
        IupSetAttribute(canvas, "RASTERSIZE", size);
        cdCanvas *cd = cdCreateCanvas(cdContextIup(), canvas);
        cdActivate(cd);
        return cd;
    }
};

TEST_F(GuiLayer, CanvasTakesItsRasterSizeUntilLaidOut)
{
    Ihandle *canvas = IupCanvas("repaint_cb");
    Ihandle *dialog = IupDialog(IupVbox(canvas, IupHbox(IupButton("Load", "load_cb"), NULL), NULL));
    ASSERT_NE(dialog, nullptr);
    cdCanvas *cd = cdCreateCanvas(cdContextIup(), canvas);
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cdCreateCanvas(cdContextIup(), canvas), cd) << "one drawing canvas per element";
    cdActivate(cd);
    int w = -1, h = -1;
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);

    const struct {
        const char *text;
        int width;
        int height;
    } cases[] = {
        {"17x5", 17, 5},      {"1x1", 1, 1},          {"0x7", 0, 7},
        {"-3x4", 0, 4},       {"99999x2", 8192, 2},   {"garbage", 8192, 2},
        {"5x6junk", 8192, 2}, {"640x480", 640, 480},
    };
    for (const auto &c : cases) {
        IupSetAttribute(canvas, "RASTERSIZE", c.text);
        cdGetCanvasSize(&w, &h, nullptr, nullptr);
        EXPECT_EQ(w, c.width) << c.text;
        EXPECT_EQ(h, c.height) << c.text;
    }
}

TEST_F(GuiLayer, NoDrawingCanvasForOtherElements)
{
    EXPECT_EQ(cdCreateCanvas(cdContextIup(), nullptr), nullptr);
    EXPECT_EQ(cdCreateCanvas(cdContextIup(), IupButton("Load", "load_cb")), nullptr);
    EXPECT_EQ(cdCreateCanvas(nullptr, IupCanvas(nullptr)), nullptr);
    // With nothing active the size is 0 x 0 and drawing does nothing.
    cdActivate(nullptr);
    int w = -1, h = -1;
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    cdPixel(0, 0, cdEncodeColor(1, 2, 3));
}

TEST_F(GuiLayer, PixelRowZeroIsTheBottomAndOutsidePixelsAreIgnored)
{
    Ihandle *canvas = IupCanvas(nullptr);
    drawingOn(canvas, "3x2");
    cdPixel(0, 0, cdEncodeColor(255, 0, 0));
    cdPixel(2, 1, cdEncodeColor(0, 255, 7));
    // Store rows are top first: the top row holds (2, 1), the bottom (0, 0).
    const std::vector<unsigned char> expected = {0, 0, 0, 0, 0, 0, 0, 255, 7,
                                                 255, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(canvas->view->pixels(), expected);

    // Every pixel of a 4 x 3 canvas its own colour, then a pixel one past
    // each edge on every row and every column. A bound off by one would put
    // (4, y) on the first pixel of the store row after row y's (canvas row
    // y - 1), (-1, y) on the last pixel of the store row before it (canvas
    // row y + 1), and rows -1 and 3 outside the store (only the address
    // sanitizer sees those, and (4, 0) and (-1, 2)).
    drawingOn(canvas, "4x3");
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            cdPixel(x, y, cdEncodeColor(static_cast<unsigned char>(10 * x),
                                        static_cast<unsigned char>(10 * y), 100));
    for (int y = -1; y <= 3; ++y)
        for (int x : {-1, 4})
            cdPixel(x, y, cdEncodeColor(255, 255, 255));
    for (int x = -1; x <= 4; ++x)
        for (int y : {-1, 3})
            cdPixel(x, y, cdEncodeColor(255, 255, 255));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixel(canvas, x, y),
                      std::to_string(10 * x) + " " + std::to_string(10 * y) + " 100")
                << "at " << x << ", " << y;
}

TEST_F(GuiLayer, ResizingKeepsThePictureAnchoredAtTheBottomLeft)
{
    Ihandle *canvas = IupCanvas(nullptr);
    drawingOn(canvas, "2x2");
    cdPixel(0, 0, cdEncodeColor(1, 1, 1));
    cdPixel(1, 1, cdEncodeColor(2, 2, 2));
    IupSetAttribute(canvas, "RASTERSIZE", "3x3");
    EXPECT_EQ(pixel(canvas, 0, 0), "1 1 1");
    EXPECT_EQ(pixel(canvas, 1, 1), "2 2 2");
    EXPECT_EQ(pixel(canvas, 2, 2), "0 0 0");
    IupSetAttribute(canvas, "RASTERSIZE", "1x1");
    EXPECT_EQ(pixel(canvas, 0, 0), "1 1 1");
}

TEST_F(GuiLayer, ImageIsStretchedOverTheRectangleUpright)
{
    // A 2 x 2 image: bottom row red, green; top row blue, white.
    const unsigned char r[] = {255, 0, 0, 255};
    const unsigned char g[] = {0, 255, 0, 255};
    const unsigned char b[] = {0, 0, 255, 255};
    Ihandle *canvas = IupCanvas(nullptr);
    drawingOn(canvas, "5x3");
    cdPutImageRectRGB(2, 2, r, g, b, 0, 0, 5, 3, 0, 0, 0, 0);
    // Columns 0..2 take image column 0, 3..4 column 1; rows 0..1 image row 0.
    const char *rows[3][5] = {
        {"255 0 0", "255 0 0", "255 0 0", "0 255 0", "0 255 0"},
        {"255 0 0", "255 0 0", "255 0 0", "0 255 0", "0 255 0"},
        {"0 0 255", "0 0 255", "0 0 255", "255 255 255", "255 255 255"},
    };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixel(canvas, x, y), rows[y][x]) << "at " << x << ", " << y;
}

TEST_F(GuiLayer, ImagePartsRectanglesAndClipping)
{
    const unsigned char r[] = {10, 20, 30, 40};
    const unsigned char g[] = {0, 0, 0, 0};
    const unsigned char b[] = {0, 0, 0, 0};
    Ihandle *canvas = IupCanvas(nullptr);
    drawingOn(canvas, "4x4");
    // Only the image's top-right pixel (1, 1), spread over 2 x 2 at (1, 1).
    cdPutImageRectRGB(2, 2, r, g, b, 1, 1, 2, 2, 1, 1, 1, 1);
    EXPECT_EQ(pixel(canvas, 0, 0), "0 0 0");
    EXPECT_EQ(pixel(canvas, 1, 1), "40 0 0");
    EXPECT_EQ(pixel(canvas, 2, 2), "40 0 0");
    EXPECT_EQ(pixel(canvas, 3, 3), "0 0 0");
    // A rectangle hanging over the canvas's edges is drawn where it lies.
    cdPutImageRectRGB(2, 2, r, g, b, -2, -2, 4, 4, 0, 0, 0, 0);
    EXPECT_EQ(pixel(canvas, 0, 0), "40 0 0");
    EXPECT_EQ(pixel(canvas, 1, 1), "40 0 0");
    EXPECT_EQ(pixel(canvas, 2, 2), "40 0 0");
    // Empty rectangles and bad parts draw nothing.
    cdPutImageRectRGB(2, 2, r, g, b, 0, 0, 0, 4, 0, 0, 0, 0);
    cdPutImageRectRGB(2, 2, r, g, b, 0, 0, 4, 4, 0, 2, 0, 1);
    cdPutImageRectRGB(2, 2, r, g, b, 0, 0, 4, 4, 1, 0, 0, 1);
    EXPECT_EQ(pixel(canvas, 3, 3), "0 0 0");
}

TEST_F(GuiLayer, ClearGivesTheActiveCanvasANewCanvasColourOnly)
{
    const unsigned char r[] = {200};
    const unsigned char g[] = {100};
    const unsigned char b[] = {50};
    Ihandle *other = IupCanvas(nullptr);
    drawingOn(other, "2x2");
    cdPixel(1, 1, cdEncodeColor(7, 8, 9));
    Ihandle *canvas = IupCanvas(nullptr);
    drawingOn(canvas, "3x2");
    cdPutImageRectRGB(1, 1, r, g, b, 0, 0, 3, 2, 0, 0, 0, 0);
    ASSERT_EQ(pixel(canvas, 2, 1), "200 100 50");

    cdClear();
    // Exactly what a canvas of that size holds before anything is drawn.
    Ihandle *fresh = IupCanvas(nullptr);
    IupSetAttribute(fresh, "RASTERSIZE", "3x2");
    EXPECT_EQ(canvas->view->pixels(), fresh->view->pixels());
    EXPECT_EQ(pixel(canvas, 0, 0), "0 0 0");
    EXPECT_EQ(pixel(other, 1, 1), "7 8 9") << "only the active canvas is cleared";
    // The canvas stays active and can be drawn on again.
    cdPixel(0, 0, cdEncodeColor(1, 2, 3));
    EXPECT_EQ(pixel(canvas, 0, 0), "1 2 3");

    // Without an active canvas, or on one without area, it does nothing.
    cdActivate(nullptr);
    cdClear();
    EXPECT_EQ(pixel(other, 1, 1), "7 8 9");
    drawingOn(IupCanvas(nullptr), "0x5");
    cdClear();
}

TEST_F(GuiLayer, AttributesKeepPointersAndCopyTheLayersOwnTexts)
{
    Ihandle *button = IupButton("Exit", "exit_cb");
    int record = 0;
    IupSetAttribute(button, "gc1", reinterpret_cast<char *>(&record));
    EXPECT_EQ(IupGetAttribute(button, "gc1"), reinterpret_cast<char *>(&record));
    EXPECT_EQ(IupGetAttribute(button, "gc2"), nullptr);
    IupSetAttribute(button, "gc1", nullptr);
    EXPECT_EQ(IupGetAttribute(button, "gc1"), nullptr);

    char title[] = "Load";
    IupSetAttribute(button, "TITLE", title);
    std::strcpy(title, "XXXX");
    EXPECT_STREQ(IupGetAttribute(button, "TITLE"), "Load");
    EXPECT_STREQ(button->button->label(), "Load");
    EXPECT_STREQ(IupGetAttribute(button, "ACTION"), "exit_cb");

    Ihandle *canvas = IupCanvas(nullptr);
    char size[] = "12x34";
    IupSetAttribute(canvas, "RASTERSIZE", size);
    std::strcpy(size, "1x1");
    EXPECT_STREQ(IupGetAttribute(canvas, "RASTERSIZE"), "12x34");

    Ihandle *fd = IupFileDlg();
    IupSetAttribute(fd, "DIALOGTYPE", "OPEN");
    IupSetAttribute(fd, "FILTER", "*.ppm");
    EXPECT_STREQ(IupGetAttribute(fd, "FILTER"), "*.ppm");
    EXPECT_EQ(IupGetAttribute(fd, "VALUE"), nullptr);
}

int calls = 0;
Ihandle *calledWith = nullptr;
int counting_cb(Ihandle *element)
{
    ++calls;
    calledWith = element;
    return IUP_DEFAULT;
}

TEST_F(GuiLayer, ActionIsLookedUpWhenTheEventComes)
{
    calls = 0;
    Ihandle *button = IupButton("Save", "save_cb");
    button->button->do_callback();
    EXPECT_EQ(calls, 0) << "no function under the name yet";
    IupSetFunction("save_cb", counting_cb);
    button->button->do_callback();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(calledWith, button);
    IupSetAttribute(button, "ACTION", "other_cb");
    button->button->do_callback();
    EXPECT_EQ(calls, 1);
    IupSetFunction("other_cb", counting_cb);
    IupSetFunction("other_cb", nullptr);
    button->button->do_callback();
    EXPECT_EQ(calls, 1);
}

}  // namespace
