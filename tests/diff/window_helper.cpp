// window_helper: the pieces of glintdiff's window test that are easier in
// C++ than in the shell.
//
//   window_helper probe W1xH1 W2xH2
//       Builds glintdiff's dialog with canvases of those sizes, shows it and
//       prints each widget's place in the window, one line each in the order
//       canvas1 load1 exit canvas2 load2 error ("NAME X Y W H", pixels, Y down
//       from the top), then "window W H".
//   window_helper images DIR
//       Writes the test images into DIR: a.ppm (200 x 150, every pixel its
//       own colour), b.ppm (the same), d.ppm (a + (10, 20, 0)), c.ppm (2 x 2:
//       red, green at the bottom, blue, white at the top) and bad.ppm (not an
//       image).
//   window_helper same SHOT X Y FILE
//       Exit status 0 when the screenshot SHOT holds FILE's picture, upright,
//       with its top-left corner at X, Y.
//   window_helper stretched SHOT X Y W H FILE
//       Exit status 0 when the rectangle of SHOT shows FILE's picture upright,
//       stretched over it: each pixel holds the colour of the picture's pixel
//       at the same relative place, give or take one pixel of the picture
//       either way (the rounding of the stretch is the toolkit's).
//   window_helper uniform SHOT X Y W H R G B
//       Exit status 0 when every pixel of that rectangle of SHOT is R G B.
//
// Screenshots are binary PPM files with 8-bit samples (import -depth 8).

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "diff/image.h"
#include "gui/toolkit.h"

namespace {

int usage()
{
    std::fprintf(stderr, "usage: window_helper probe|images|same|stretched|uniform ...\n");
    return 2;
}

int probe(const char *size1, const char *size2)
{
    IupOpen();
    Ihandle *load1 = IupButton("Load", nullptr);
    Ihandle *exitButton = IupButton("Exit", nullptr);
    Ihandle *load2 = IupButton("Load", nullptr);
    Ihandle *errorButton = IupButton("Error", nullptr);
    Ihandle *canvas1 = IupCanvas(nullptr);
    Ihandle *canvas2 = IupCanvas(nullptr);
    IupSetAttribute(canvas1, "RASTERSIZE", size1);
    IupSetAttribute(canvas2, "RASTERSIZE", size2);
    Ihandle *dialog = IupDialog(IupHbox(IupVbox(canvas1, IupHbox(load1, exitButton, NULL), NULL),
                                        IupVbox(canvas2, IupHbox(load2, errorButton, NULL), NULL),
                                        NULL));
    IupShowXY(dialog, -2, -2);
    Fl_Window *window = Fl::first_window();
    if (window == nullptr || window->children() != 6)
        return 1;
    const char *names[] = {"canvas1", "load1", "exit", "canvas2", "load2", "error"};
    for (int i = 0; i < 6; ++i) {
        const Fl_Widget *w = window->child(i);
        std::printf("%s %d %d %d %d\n", names[i], w->x(), w->y(), w->w(), w->h());
    }
    std::printf("window %d %d\n", window->w(), window->h());
    IupClose();
    return 0;
}

bool write(Image *image, const std::string &path)
{
    const bool ok = imgWritePPM(image, path.c_str()) == 1;
    imgDestroy(image);
    return ok;
}

int images(const std::string &dir)
{
    Image *a = imgCreate(200, 150);
    Image *d = imgCreate(200, 150);
    for (int y = 0; y < 150; y++)
        for (int x = 0; x < 200; x++) {
            const int r = x, g = y, b = 100 + (x + y) % 50;
            imgSetPixel(a, x, y, r, g, b);
            imgSetPixel(d, x, y, r + 10, g + 20, b);
        }
    bool ok = imgWritePPM(a, (dir + "/b.ppm").c_str()) == 1;
    ok = write(a, dir + "/a.ppm") && ok;
    ok = write(d, dir + "/d.ppm") && ok;
    Image *c = imgCreate(2, 2);
    imgSetPixel(c, 0, 0, 255, 0, 0);
    imgSetPixel(c, 1, 0, 0, 255, 0);
    imgSetPixel(c, 0, 1, 0, 0, 255);
    imgSetPixel(c, 1, 1, 255, 255, 255);
    ok = write(c, dir + "/c.ppm") && ok;
    std::FILE *bad = std::fopen((dir + "/bad.ppm").c_str(), "wb");
    ok = bad != nullptr && std::fputs("not an image\n", bad) >= 0 && std::fclose(bad) == 0 && ok;
    return ok ? 0 : 1;
}

Image *readShot(const char *path)
{
    Image *shot = imgReadPPM(path);
    if (shot == nullptr)
        std::fprintf(stderr, "cannot read the screenshot %s\n", path);
    return shot;
}

// The screenshot's pixel at (x, y), y down from the top.
void shotPixel(const Image *shot, int x, int y, int rgb[3])
{
    const int row = imgGetHeight(shot) - 1 - y;
    rgb[0] = imgGetRed(shot, x, row);
    rgb[1] = imgGetGreen(shot, x, row);
    rgb[2] = imgGetBlue(shot, x, row);
}

bool inside(const Image *shot, int x, int y, int w, int h)
{
    if (x >= 0 && y >= 0 && w >= 1 && h >= 1 && x + w <= imgGetWidth(shot) &&
        y + h <= imgGetHeight(shot))
        return true;
    std::fprintf(stderr, "rectangle %dx%d+%d+%d is not inside the %dx%d screenshot\n", w, h, x, y,
                 imgGetWidth(shot), imgGetHeight(shot));
    return false;
}

int same(const char *shotPath, int x0, int y0, const char *filePath)
{
    Image *shot = readShot(shotPath);
    Image *want = imgReadPPM(filePath);
    int status = 1;
    if (shot != nullptr && want != nullptr &&
        inside(shot, x0, y0, imgGetWidth(want), imgGetHeight(want))) {
        status = 0;
        const int w = imgGetWidth(want), h = imgGetHeight(want);
        for (int y = 0; y < h && status == 0; y++)
            for (int x = 0; x < w && status == 0; x++) {
                int got[3];
                shotPixel(shot, x0 + x, y0 + y, got);
                const int row = h - 1 - y;
                const int expect[3] = {imgGetRed(want, x, row), imgGetGreen(want, x, row),
                                       imgGetBlue(want, x, row)};
                if (std::memcmp(got, expect, sizeof got) != 0) {
                    std::fprintf(stderr, "pixel %d,%d of %s is %d %d %d, not %d %d %d\n", x, y,
                                 filePath, got[0], got[1], got[2], expect[0], expect[1], expect[2]);
                    status = 1;
                }
            }
    }
    imgDestroy(shot);
    imgDestroy(want);
    return status;
}

int stretched(const char *shotPath, int x0, int y0, int w, int h, const char *filePath)
{
    Image *shot = readShot(shotPath);
    Image *want = imgReadPPM(filePath);
    int status = 1;
    if (shot != nullptr && want != nullptr && inside(shot, x0, y0, w, h)) {
        status = 0;
        const int iw = imgGetWidth(want), ih = imgGetHeight(want);
        for (int y = 0; y < h && status == 0; y++)
            for (int x = 0; x < w && status == 0; x++) {
                int got[3];
                shotPixel(shot, x0 + x, y0 + y, got);
                // Rows counted from the top of the picture.
                const long sx = static_cast<long>(x) * iw / w;
                const long sy = static_cast<long>(y) * ih / h;
                bool found = false;
                for (long ty = sy - 1; ty <= sy + 1 && !found; ty++)
                    for (long tx = sx - 1; tx <= sx + 1 && !found; tx++) {
                        if (tx < 0 || ty < 0 || tx >= iw || ty >= ih)
                            continue;
                        const int row = ih - 1 - static_cast<int>(ty);
                        const int col = static_cast<int>(tx);
                        found = got[0] == imgGetRed(want, col, row) &&
                                got[1] == imgGetGreen(want, col, row) &&
                                got[2] == imgGetBlue(want, col, row);
                    }
                if (!found) {
                    std::fprintf(stderr, "pixel %d,%d is %d %d %d, not near pixel %ld,%ld of %s\n",
                                 x, y, got[0], got[1], got[2], sx, sy, filePath);
                    status = 1;
                }
            }
    }
    imgDestroy(shot);
    imgDestroy(want);
    return status;
}

int uniform(const char *shotPath, int x0, int y0, int w, int h, int r, int g, int b)
{
    Image *shot = readShot(shotPath);
    int status = 1;
    if (shot != nullptr && inside(shot, x0, y0, w, h)) {
        status = 0;
        for (int y = y0; y < y0 + h && status == 0; y++)
            for (int x = x0; x < x0 + w && status == 0; x++) {
                int got[3];
                shotPixel(shot, x, y, got);
                if (got[0] != r || got[1] != g || got[2] != b) {
                    std::fprintf(stderr, "pixel %d,%d is %d %d %d, not %d %d %d\n", x, y, got[0],
                                 got[1], got[2], r, g, b);
                    status = 1;
                }
            }
    }
    imgDestroy(shot);
    return status;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    // The image module reports every file it writes; keep the output for
    // the answers.
    if (command == "probe" && argc == 4)
        return probe(argv[2], argv[3]);
    if (command == "images" && argc == 3) {
        std::FILE *saved = std::freopen("/dev/null", "w", stdout);
        return saved != nullptr ? images(argv[2]) : 1;
    }
    if (command == "same" && argc == 6)
        return same(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
    if (command == "stretched" && argc == 8)
        return stretched(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                         std::atoi(argv[6]), argv[7]);
    if (command == "uniform" && argc == 10)
        return uniform(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                       std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8]),
                       std::atoi(argv[9]));
    return usage();
}
