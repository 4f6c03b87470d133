// glintview's window code in process (run under with_xvfb.sh): its dialog on
// a real display, the file dialog answered by the test, and after a Load the
// idle function that the callbacks installed called by the test itself, with
// no event handled in between, so no repaint can start a rendering that the
// Load forgot to start.

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/canvas.h"
#include "gui/element.h"
#include "gui/testing.h"
#include "gui/toolkit.h"
#include "tests/gui/loop_guard.h"
#include "tests/support.h"
#include "tests/viewer/reference.h"
#include "viewer/render.h"

// glintview's own window code, its main renamed so that the test's runs; its
// callbacks, rvCreateDialog and the two handles it keeps are reachable here.
#define main glintview_main
#include "viewer/glintview.cpp"
#undef main

namespace {

// The file dialog's answer.
std::string chosenScene;
const char *answerChosenScene(Ihandle *) { return chosenScene.c_str(); }

// glintview's idle function, ending the main loop once it has removed itself
// (the picture is complete).
int idle_until_complete(Ihandle *element)
{
    idle_cb(element);
    return guiRegisteredFunction("iup-idle") == nullptr ? IUP_CLOSE : IUP_DEFAULT;
}

// glintview's repaint, counted; the idle function it installs is watched.
int repaints = 0;
int repaint_counted(Ihandle *element)
{
    ++repaints;
    const int result = repaint_cb(element);
    IupSetFunction("iup-idle", idle_until_complete);
    return result;
}

TEST(GlintviewWindow, LoadAtTheCanvasSizeRendersTheNewSceneWithoutARepaint)
{
    const loopguard::TestBound bound;
    TempDir dir;
    // Two scenes asking for the default canvas size, 320x240; their
    // backgrounds tell their pictures apart.
    const std::string first = dir.write("first.gsc", viewerScene(320, 240, "30 40 60"));
    const std::string second = dir.write("second.gsc", viewerScene(320, 240, "220 150 20"));
    const std::string expected = dir.file("expected.ppm");
    bool rendered = false;
    captureStdout([&] { rendered = renderReference(second.c_str(), 320, 240, expected.c_str()); });
    ASSERT_TRUE(rendered);

    IupOpen();
    guiAnswerFileDialogs(answerChosenScene);
    ASSERT_EQ(rvCreateDialog(), 1);
    IupSetFunction("repaint_cb", repaint_counted);

    // The first scene, loaded before any event is handled; the main loop then
    // handles the showing's repaint and runs until that rendering is complete.
    chosenScene = first;
    captureStdout([] { load_cb(nullptr); });
    repaints = 0;
    ASSERT_FALSE(loopguard::runGuarded(IupMainLoop)) << "the first rendering did not complete";
    ASSERT_GE(repaints, 1) << "the showing's repaint was not handled";
    ASSERT_EQ(guiRegisteredFunction("iup-idle"), nullptr);
    int w = 0, h = 0;
    cdActivate(cdCreateCanvas(cdContextIup(), canvas));
    cdGetCanvasSize(&w, &h, nullptr, nullptr);
    ASSERT_EQ(w, 320);
    ASSERT_EQ(h, 240);

    // The second scene keeps the canvas's size: no resize, so no repaint
    // would come, and no event is handled from here on. Whatever the Load
    // installed as the idle function is called here until it removes itself.
    chosenScene = second;
    captureStdout([] { EXPECT_EQ(load_cb(nullptr), IUP_DEFAULT); });
    const int repaintsBefore = repaints;
    int idleCalls = 0;
    while (Icallback idle = guiRegisteredFunction("iup-idle")) {
        if (idleCalls == 10 * 240)
            break;
        ++idleCalls;
        idle(nullptr);
    }
    EXPECT_EQ(idleCalls, 240) << "one idle call per line of the new scene, from its first";
    EXPECT_EQ(repaints, repaintsBefore);

    const std::string out = captureStdout([] { save_cb(nullptr); });
    EXPECT_EQ(out, "\nO " + dir.file("second.ppm") + " was written successfully.\n");
    EXPECT_TRUE(readFile(dir.file("second.ppm")) == readFile(expected))
        << "the saved picture is not the engine's render of the new scene";
    const std::vector<unsigned char> &shown = canvas->view->pixels();
    EXPECT_TRUE(std::string(shown.begin(), shown.end()) == rasterOf(readFile(expected)))
        << "the canvas does not show the engine's render of the new scene";

    EXPECT_EQ(exit_cb(nullptr), IUP_CLOSE);
    guiAnswerFileDialogs(nullptr);
    IupClose();
}

}  // namespace
