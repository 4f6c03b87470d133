// glintdiff's callbacks run in this process on its real dialog, with the
// layer answering the file dialogs and taking the message boxes' texts
// (gui/testing.h), so the exact text of the "Measures" box can be checked.
// createDialog shows the dialog, which opens the display: run under
// tests/gui/with_xvfb.sh. The main loop never runs, so nothing but the
// callbacks themselves draws on the canvases: a canvas that a later load's
// layout resized is not drawn again, and only a pane's own load or Error
// says what its canvas shows.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gui/element.h"
#include "gui/testing.h"
#include "tests/support.h"

// The program's window code, its main renamed out of the way of the test's.
#define main glintdiff_main
#include "diff/glintdiff.cpp"
#undef main

namespace {

// The answer the next file dialog gets: a path, or NULL for a Cancel.
const char *chosenFile = nullptr;
int fileDialogs = 0;
std::string dialogTitle;
std::string dialogFilter;

const char *answerFileDialog(Ihandle *fileDialog)
{
    ++fileDialogs;
    const char *title = IupGetAttribute(fileDialog, "TITLE");
    const char *filter = IupGetAttribute(fileDialog, "FILTER");
    dialogTitle = title != nullptr ? title : "(none)";
    dialogFilter = filter != nullptr ? filter : "(none)";
    return chosenFile;
}

// Every message box asked for, as (title, text).
std::vector<std::pair<std::string, std::string>> messages;

void takeMessage(const char *title, const char *text) { messages.emplace_back(title, text); }

const std::pair<std::string, std::string> BOTH_NEEDED{"Measures", "Both panes need an image."};

// A binary PPM of a 2 x 2 image from its pixels (x, y), bottom row first:
// (0, 0), (1, 0), (0, 1), (1, 1), three bytes each. The file lists the top
// row first.
std::string ppm2x2(const std::vector<unsigned char> &bottomFirst)
{
    std::string bytes = "P6\n2 2\n255\n";
    bytes.append(bottomFirst.begin() + 6, bottomFirst.end());
    bytes.append(bottomFirst.begin(), bottomFirst.begin() + 6);
    return bytes;
}

// Image 1: four colours. Image 2: two colours. Their differences, pixel by
// pixel, are (3, 4, 0), (5, 12, 0), (0, 0, 0) and (6, 8, 0), at distances 5,
// 13, 0 and 10: the error is 28 / 4 = 7, and the difference picture has four
// colours, so counting image 2 after it became the difference gives 4, not 2.
const std::vector<unsigned char> IMAGE1 = {13, 14, 10, 15, 22, 10, 10, 10, 10, 26, 28, 20};
const std::vector<unsigned char> IMAGE2 = {10, 10, 10, 10, 10, 10, 10, 10, 10, 20, 20, 20};
const std::vector<unsigned char> DIFFERENCE = {3, 4, 0, 5, 12, 0, 0, 0, 0, 6, 8, 0};

class GlintdiffWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        image1 = dir.write("one.ppm", ppm2x2(IMAGE1));
        image2 = dir.write("two.ppm", ppm2x2(IMAGE2));
        // 1 x 1, one colour.
        small = dir.write("small.ppm", std::string("P6\n1 1\n255\n") + "\x01\x02\x03");
        notAnImage = dir.write("bad.ppm", "not an image\n");
        messages.clear();
        fileDialogs = 0;
        guiAnswerFileDialogs(answerFileDialog);
        guiAnswerMessages(takeMessage);
        IupOpen();
        ASSERT_EQ(createDialog(), 1);
        // dialog > row > pane > (canvas, buttons) > (Load, Exit or Error)
        Ihandle *row = pane1.dialog->children.at(0);
        load1 = row->children.at(0)->children.at(1)->children.at(0);
        exitButton = row->children.at(0)->children.at(1)->children.at(1);
        load2 = row->children.at(1)->children.at(1)->children.at(0);
        errorButton = row->children.at(1)->children.at(1)->children.at(1);
        ASSERT_STREQ(IupGetAttribute(load1, "TITLE"), "Load");
        ASSERT_STREQ(IupGetAttribute(exitButton, "TITLE"), "Exit");
        ASSERT_STREQ(IupGetAttribute(load2, "TITLE"), "Load");
        ASSERT_STREQ(IupGetAttribute(errorButton, "TITLE"), "Error");
    }

    void TearDown() override
    {
        if (exitButton != nullptr) {
            EXPECT_EQ(exit_cb(exitButton), IUP_CLOSE);
            EXPECT_EQ(pane1.image, nullptr);
            EXPECT_EQ(pane2.image, nullptr);
        }
        IupClose();
        guiAnswerFileDialogs(nullptr);
        guiAnswerMessages(nullptr);
    }

    // Presses a Load button and answers its file dialog with path (NULL for
    // Cancel); gives load_cb's result.
    static int load(Ihandle *button, const std::string *path)
    {
        chosenFile = path != nullptr ? path->c_str() : nullptr;
        const int before = fileDialogs;
        const int result = load_cb(button);
        EXPECT_EQ(fileDialogs, before + 1) << "one file dialog per Load";
        return result;
    }

    // Presses Error and gives the one message it showed.
    std::pair<std::string, std::string> measure()
    {
        messages.clear();
        EXPECT_EQ(error_cb(errorButton), IUP_DEFAULT);
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? std::pair<std::string, std::string>() : messages.back();
    }

    // The image's pixels, bottom row first, three bytes each.
    static std::vector<unsigned char> pixelsOf(const Image *image)
    {
        std::vector<unsigned char> bytes;
        for (int y = 0; y < imgGetHeight(image); y++)
            for (int x = 0; x < imgGetWidth(image); x++)
                for (int c : {imgGetRed(image, x, y), imgGetGreen(image, x, y),
                              imgGetBlue(image, x, y)})
                    bytes.push_back(static_cast<unsigned char>(c));
        return bytes;
    }

    // The canvas's pixel at (x, y), row 0 at the bottom, as three bytes.
    static std::vector<unsigned char> canvasPixel(Ihandle *canvas, int x, int y)
    {
        const CanvasView *view = canvas->view;
        const std::vector<unsigned char> &p = view->pixels();
        const size_t i = (static_cast<size_t>(view->h() - 1 - y) * view->w() + x) * 3;
        return {p[i], p[i + 1], p[i + 2]};
    }

    // The canvas shows a 2 x 2 picture: its corners hold the picture's.
    static void expectCorners(Ihandle *canvas, const std::vector<unsigned char> &picture)
    {
        const int w = canvas->view->w(), h = canvas->view->h();
        ASSERT_GE(w, 2);
        ASSERT_GE(h, 2);
        const auto at = [&picture](int i) {
            return std::vector<unsigned char>(picture.begin() + 3 * i, picture.begin() + 3 * i + 3);
        };
        EXPECT_EQ(canvasPixel(canvas, 0, 0), at(0));
        EXPECT_EQ(canvasPixel(canvas, w - 1, 0), at(1));
        EXPECT_EQ(canvasPixel(canvas, 0, h - 1), at(2));
        EXPECT_EQ(canvasPixel(canvas, w - 1, h - 1), at(3));
    }

    static bool blank(Ihandle *canvas)
    {
        const std::vector<unsigned char> &p = canvas->view->pixels();
        return !p.empty() && p == std::vector<unsigned char>(p.size(), 0);
    }

    TempDir dir;
    std::string image1, image2, small, notAnImage;
    Ihandle *load1 = nullptr, *exitButton = nullptr, *load2 = nullptr, *errorButton = nullptr;
};

TEST_F(GlintdiffWindow, ErrorCountsBothImagesAsLoadedThenShowsTheDifferenceInPane2)
{
    ASSERT_EQ(load(load1, &image1), IUP_DEFAULT);
    EXPECT_EQ(dialogTitle, "Selecione o arquivo ");
    EXPECT_EQ(dialogFilter, "*.ppm");
    ASSERT_NE(pane1.image, nullptr);
    EXPECT_EQ(pane2.image, nullptr) << "Load of pane 1 fills pane 1 only";
    expectCorners(pane1.canvas, IMAGE1);
    ASSERT_EQ(load(load2, &image2), IUP_DEFAULT);
    ASSERT_NE(pane2.image, nullptr);
    EXPECT_EQ(pixelsOf(pane1.image), IMAGE1);
    EXPECT_EQ(pixelsOf(pane2.image), IMAGE2);
    expectCorners(pane2.canvas, IMAGE2);
    EXPECT_TRUE(messages.empty());

    const auto box = measure();
    EXPECT_EQ(box.first, "Measures");
    EXPECT_EQ(box.second, "Colors in 1 = 4\nColors in 2 = 2\nError = 7 ");
    EXPECT_EQ(pixelsOf(pane1.image), IMAGE1) << "image 1 is kept";
    EXPECT_EQ(pixelsOf(pane2.image), DIFFERENCE);
    expectCorners(pane2.canvas, DIFFERENCE);
}

TEST_F(GlintdiffWindow, SecondErrorMeasuresImage1AgainstTheDifferencePicture)
{
    ASSERT_EQ(load(load1, &image1), IUP_DEFAULT);
    ASSERT_EQ(load(load2, &image2), IUP_DEFAULT);
    measure();
    ASSERT_EQ(pixelsOf(pane2.image), DIFFERENCE);
    // Image 1 less the difference is (10, 10, 10) at three pixels and
    // (20, 20, 20) at one: the error is (3 sqrt(300) + sqrt(1200)) / 4 = 21.65,
    // and the new difference happens to be image 2 again.
    const auto box = measure();
    EXPECT_EQ(box.second, "Colors in 1 = 4\nColors in 2 = 4\nError = 22 ");
    EXPECT_EQ(pixelsOf(pane2.image), IMAGE2);
    expectCorners(pane2.canvas, IMAGE2);
}

TEST_F(GlintdiffWindow, ErrorOnImagesOfDifferentSizesGivesMinusOneAndKeepsPane2)
{
    ASSERT_EQ(load(load1, &image1), IUP_DEFAULT);
    ASSERT_EQ(load(load2, &small), IUP_DEFAULT);
    const auto box = measure();
    EXPECT_EQ(box.first, "Measures");
    EXPECT_EQ(box.second, "Colors in 1 = 4\nColors in 2 = 1\nError = -1 ");
    ASSERT_NE(pane2.image, nullptr);
    EXPECT_EQ(pixelsOf(pane2.image), std::vector<unsigned char>({1, 2, 3}));
}

TEST_F(GlintdiffWindow, ErrorWithAPaneEmptySaysBothAreNeededAndChangesNothing)
{
    EXPECT_EQ(measure(), BOTH_NEEDED);
    ASSERT_EQ(load(load2, &image2), IUP_DEFAULT);
    EXPECT_EQ(pane1.image, nullptr) << "Load of pane 2 fills pane 2 only";
    EXPECT_EQ(measure(), BOTH_NEEDED);
    EXPECT_EQ(pixelsOf(pane2.image), IMAGE2);
    expectCorners(pane2.canvas, IMAGE2);

    // Pane 1 filled, pane 2 emptied by an unreadable file.
    ASSERT_EQ(load(load1, &image1), IUP_DEFAULT);
    EXPECT_EQ(load(load2, &notAnImage), 0);
    EXPECT_EQ(measure(), BOTH_NEEDED);
    EXPECT_EQ(pixelsOf(pane1.image), IMAGE1);
}

TEST_F(GlintdiffWindow, FailedLoadEmptiesThePaneAndClearsItsCanvasCancelKeepsBoth)
{
    ASSERT_EQ(load(load1, &image1), IUP_DEFAULT);
    ASSERT_EQ(load(load2, &image2), IUP_DEFAULT);
    const std::vector<unsigned char> shown = pane2.canvas->view->pixels();
    ASSERT_FALSE(blank(pane2.canvas));

    Image *held = pane2.image;
    EXPECT_EQ(load(load2, nullptr), 0);
    EXPECT_EQ(pane2.image, held) << "Cancel keeps the image";
    EXPECT_EQ(pixelsOf(pane2.image), IMAGE2);
    EXPECT_EQ(pane2.canvas->view->pixels(), shown) << "Cancel keeps the picture";

    // A file that is not a PPM image, then one that does not exist.
    for (const std::string &path : {notAnImage, dir.file("missing.ppm")}) {
        ASSERT_EQ(load(load2, &image2), IUP_DEFAULT);
        ASSERT_FALSE(blank(pane2.canvas));
        captureStdout([&] { EXPECT_EQ(load(load2, &path), 0) << path; });
        EXPECT_EQ(pane2.image, nullptr) << path;
        EXPECT_TRUE(blank(pane2.canvas)) << "pane 2 still shows a picture after " << path;
        EXPECT_EQ(pixelsOf(pane1.image), IMAGE1) << path;
    }
    // The canvas keeps its size; a repaint of the empty pane draws nothing.
    EXPECT_EQ(pane2.canvas->view->pixels().size(), shown.size());
    repaint_cb(pane2.canvas);
    EXPECT_TRUE(blank(pane2.canvas));
}

}  // namespace
