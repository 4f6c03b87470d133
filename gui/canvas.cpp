// Drawing canvases over canvas elements: a pixel store per canvas, put on the
// screen row range by row range.

#include "gui/canvas.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "common/assertion.h"
#include "gui/element.h"

namespace {

cdCanvas *active = nullptr;

CanvasView *activeView()
{
    if (active == nullptr)
        return nullptr;
    return active->element->view;
}

}  // namespace

// The one context there is; only its address matters.
struct cdContext {
    int unused;
};

namespace {
cdContext iupContext;
}

// How often at most the rows drawn reach the screen.
const double CanvasView::FLUSHES_PER_SECOND = 60.0;

CanvasView::CanvasView(Ihandle *element, int width, int height)
    : Fl_Widget(0, 0, width, height), element_(element),
      pixels_(static_cast<size_t>(width) * height * 3, 0), dirtyFirst_(height), dirtyLast_(-1)
{
    box(FL_NO_BOX);
}

void CanvasView::resize(int x, int y, int width, int height)
{
    const int oldWidth = w();
    const int oldHeight = h();
    Fl_Widget::resize(x, y, width, height);
    if (width == oldWidth && height == oldHeight)
        return;
    // Keep what was drawn, anchored at the bottom-left corner as the canvas's
    // coordinates are; new pixels are black.
    std::vector<unsigned char> fresh(static_cast<size_t>(width) * height * 3, 0);
    const int bytes = std::min(width, oldWidth) * 3;
    const int rows = bytes > 0 ? std::min(height, oldHeight) : 0;
    for (int row = 0; row < rows; ++row) {
        // Canvas row `row` is store row height-1-row in both stores.
        const unsigned char *from =
            pixels_.data() + static_cast<size_t>(oldHeight - 1 - row) * oldWidth * 3;
        unsigned char *to = fresh.data() + static_cast<size_t>(height - 1 - row) * width * 3;
        std::copy(from, from + bytes, to);
    }
    pixels_.swap(fresh);
    dirtyFirst_ = height;
    dirtyLast_ = -1;
    // A canvas that changes size on the screen must be drawn again in full,
    // and its callback is told.
    damage(FL_DAMAGE_ALL);
    // A canvas without area is never drawn, so that drawing cannot tell its
    // callback: tell it here, or the program would go on drawing at the old
    // size into a canvas that no longer has one.
    if (width <= 0 || height <= 0) {
        drawing_ = true;
        guiRunAction(element_);
        drawing_ = false;
    }
}

CanvasView::~CanvasView() { Fl::remove_timeout(flushLater, this); }

void CanvasView::setPixel(int x, int y, unsigned char red, unsigned char green,
                          unsigned char blue)
{
    unsigned char *p = &pixels_[(static_cast<size_t>(h() - 1 - y) * w() + x) * 3];
    p[0] = red;
    p[1] = green;
    p[2] = blue;
}

void CanvasView::clear()
{
    std::fill(pixels_.begin(), pixels_.end(), 0);
    if (w() > 0 && h() > 0)
        changed(0, h() - 1);
}

void CanvasView::changed(int bottom, int top)
{
    const int first = h() - 1 - top;
    const int last = h() - 1 - bottom;
    dirtyFirst_ = std::min(dirtyFirst_, first);
    dirtyLast_ = std::max(dirtyLast_, last);
    // Inside draw() everything is put on the screen anyway; elsewhere one
    // damage mark per flush is enough, and flushes come at most
    // FLUSHES_PER_SECOND times a second: a picture built line by line then
    // costs the window system a few dozen updates a second, not one a line.
    if (drawing_ || (damage() & FL_DAMAGE_USER1) || Fl::has_timeout(flushLater, this))
        return;
    const double since = std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                                        lastFlush_)
                             .count();
    if (since >= 1.0 / FLUSHES_PER_SECOND)
        damage(FL_DAMAGE_USER1);
    else
        Fl::add_timeout(1.0 / FLUSHES_PER_SECOND - since, flushLater, this);
}

void CanvasView::flushLater(void *view)
{
    CanvasView *self = static_cast<CanvasView *>(view);
    if (self->dirtyFirst_ <= self->dirtyLast_)
        self->damage(FL_DAMAGE_USER1);
}

void CanvasView::flushPending()
{
    Fl::remove_timeout(flushLater, this);
    flushLater(this);
}

void CanvasView::blit(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, h() - 1);
    if (w() <= 0 || firstRow > lastRow)
        return;
    fl_draw_image(&pixels_[static_cast<size_t>(firstRow) * w() * 3], x(), y() + firstRow, w(),
                  lastRow - firstRow + 1, 3, w() * 3);
}

void CanvasView::draw()
{
    if (damage() & FL_DAMAGE_ALL) {
        // The window system wants the canvas: the program's callback may
        // draw first, then the whole store goes up.
        drawing_ = true;
        guiRunAction(element_);
        drawing_ = false;
        blit(0, h() - 1);
    } else {
        blit(dirtyFirst_, dirtyLast_);
    }
    dirtyFirst_ = h();
    dirtyLast_ = -1;
    lastFlush_ = std::chrono::steady_clock::now();
}

cdContext *cdContextIup() { return &iupContext; }

cdCanvas *cdCreateCanvas(cdContext *context, void *data)
{
    if (context != cdContextIup() || data == nullptr)
        return nullptr;
    Ihandle *element = static_cast<Ihandle *>(data);
    if (element->kind != ElementKind::Canvas)
        return nullptr;
    element->drawing.element = element;
    return &element->drawing;
}

void cdActivate(cdCanvas *canvas) { active = canvas; }

void cdGetCanvasSize(int *width, int *height, double *widthMM, double *heightMM)
{
    GLINT_ASSERT(widthMM == nullptr && heightMM == nullptr);
    CanvasView *view = activeView();
    if (width != nullptr)
        *width = view != nullptr ? view->w() : 0;
    if (height != nullptr)
        *height = view != nullptr ? view->h() : 0;
}

long cdEncodeColor(unsigned char red, unsigned char green, unsigned char blue)
{
    return (static_cast<long>(red) << 16) | (static_cast<long>(green) << 8) | blue;
}

void cdPixel(int x, int y, long color)
{
    CanvasView *view = activeView();
    if (view == nullptr || x < 0 || y < 0 || x >= view->w() || y >= view->h())
        return;
    view->setPixel(x, y, static_cast<unsigned char>((color >> 16) & 0xff),
                   static_cast<unsigned char>((color >> 8) & 0xff),
                   static_cast<unsigned char>(color & 0xff));
    view->changed(y, y);
}

void cdClear()
{
    if (CanvasView *view = activeView())
        view->clear();
}

void cdPutImageRectRGB(int imageWidth, int imageHeight, const unsigned char *red,
                       const unsigned char *green, const unsigned char *blue, int x, int y,
                       int width, int height, int xmin, int xmax, int ymin, int ymax)
{
    CanvasView *view = activeView();
    if (view == nullptr || imageWidth <= 0 || imageHeight <= 0 || width <= 0 || height <= 0)
        return;
    if (xmin == 0 && xmax == 0 && ymin == 0 && ymax == 0) {
        xmax = imageWidth - 1;
        ymax = imageHeight - 1;
    }
    if (xmin < 0 || ymin < 0 || xmin > xmax || ymin > ymax || xmax >= imageWidth ||
        ymax >= imageHeight)
        return;
    const int64_t sourceWidth = xmax - xmin + 1;
    const int64_t sourceHeight = ymax - ymin + 1;
    // Only the part of the rectangle that lies on the canvas is drawn.
    const int fromX = std::max(0, x);
    const int toX = static_cast<int>(std::min<int64_t>(view->w(), int64_t{x} + width));
    const int fromY = std::max(0, y);
    const int toY = static_cast<int>(std::min<int64_t>(view->h(), int64_t{y} + height));
    if (fromX >= toX || fromY >= toY)
        return;
    for (int cy = fromY; cy < toY; ++cy) {
        const int64_t sy = ymin + (int64_t{cy} - y) * sourceHeight / height;
        for (int cx = fromX; cx < toX; ++cx) {
            const int64_t sx = xmin + (int64_t{cx} - x) * sourceWidth / width;
            const size_t i = static_cast<size_t>(sy * imageWidth + sx);
            view->setPixel(cx, cy, red[i], green[i], blue[i]);
        }
    }
    view->changed(fromY, toY - 1);
}
