// glintview on malformed scene files, through its render driver without a
// display (the canvas element is never shown): the same tables as glintcmd's,
// read by the engine's own build of the reader. For each file, the messages
// of the load, its result, and what stepping and saving then do. The window
// itself meets the zero and negative screen sizes in glintview_window.sh.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/toolkit.h"
#include "tests/badinput/cases.h"
#include "tests/support.h"
#include "tests/viewer/driver_fixture.h"
#include "viewer/render.h"

namespace {

using badinput::Outcome;
using badinput::SceneCase;

const char *const kNoScene = "\nNenhum cenario carregado: nada foi salvo.\n";
const char *const kNoImage = "\nNenhuma imagem (canvas sem area): nada foi salvo.\n";

// The fixture's scene files, and a canvas of the 4 x 3 their camera asks for.
class ViewerDriverFixture : public ViewerDriverTest {
protected:
    void SetUp() override
    {
        ViewerDriverTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        IupSetAttribute(canvas, "RASTERSIZE", "4x3");
        badinput::writeFixtureFiles(dir);
    }
};

class ViewerBadInput : public ViewerDriverFixture,
                       public ::testing::WithParamInterface<SceneCase> {};

TEST_P(ViewerBadInput, LoadsAsDefined)
{
    const SceneCase &c = GetParam();
    const std::string path = dir.write("scene.gsc", c.scene);
    const std::string saved = dir.file("scene.ppm");
    int width = -1, height = -1, result = -1;
    const std::string out =
        maskPrefixes(captureStdout([&] { result = rvLoad(path.c_str(), &width, &height); }));
    // The scene is loaded by its full path, as the file dialog gives it, so
    // its images load from its folder under that path.
    badinput::expectInOrder(out, c.messages, dir.path() + "/");

    switch (c.outcome) {
    case Outcome::Renders:
        ASSERT_EQ(result, 1) << out;
        EXPECT_EQ(width, 4);
        EXPECT_EQ(height, 3);
        rvRestart();
        EXPECT_EQ(stepAll(), 3);
        EXPECT_EQ(save(), "\nO " + saved + " was written successfully.\n");
        EXPECT_EQ(readFile(saved).substr(0, 11), "P6\n4 3\n255\n");
        break;
    case Outcome::NoCamera:
        EXPECT_EQ(result, 0);
        badinput::expectInOrder(out, {"\nCenario sem camera: '" + path + "' nao foi carregado.\n"});
        EXPECT_EQ(rvStep(), 0);
        EXPECT_EQ(save(), kNoScene);
        break;
    case Outcome::NoScene:
        EXPECT_EQ(result, 0);
        EXPECT_EQ(out.find("Cenario sem camera"), std::string::npos);
        EXPECT_EQ(rvStep(), 0);
        EXPECT_EQ(save(), kNoScene);
        break;
    case Outcome::NoImage: {
        // The load succeeds; the window then asks for the camera's size,
        // which it clamps to what a canvas can have.
        ASSERT_EQ(result, 1) << out;
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        IupSetAttribute(canvas, "RASTERSIZE", size.c_str());
        if (width > 0 && height > 0)
            break;  // a huge canvas: rendering it is no test of bad input
        rvRestart();
        EXPECT_EQ(rvStep(), 0);
        EXPECT_EQ(save(), kNoImage);
        EXPECT_FALSE(fileExists(saved));
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(CutShort, ViewerBadInput,
                         ::testing::ValuesIn(badinput::cutCases(badinput::Program::View)),
                         [](const auto &info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(Files, ViewerBadInput,
                         ::testing::ValuesIn(badinput::fileCases(badinput::Program::View)),
                         [](const auto &info) { return info.param.name; });

// A scene whose screen has no area, loaded after one that rendered, and then
// a good one again: the driver draws nothing and saves nothing while the
// canvas has no area, and renders normally once it has one.
TEST_F(ViewerDriverFixture, ZeroScreenBetweenTwoGoodScenes)
{
    const std::string good = dir.write("good.gsc", "GSD 2.0\n" + badinput::sceneWithout(""));
    const std::string zero = dir.write(
        "zero.gsc", "GSD 2.0\n" + badinput::sceneWithout("CAMERA") + badinput::camera("0 -5"));
    int w = 0, h = 0;
    captureStdout([&] { ASSERT_EQ(rvLoad(good.c_str(), &w, &h), 1); });
    EXPECT_EQ(stepAll(), 3);

    captureStdout([&] { ASSERT_EQ(rvLoad(zero.c_str(), &w, &h), 1); });
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, -5);
    IupSetAttribute(canvas, "RASTERSIZE", "0x-5");
    rvRestart();
    EXPECT_EQ(rvStep(), 0);
    EXPECT_EQ(save(), kNoImage);

    captureStdout([&] { ASSERT_EQ(rvLoad(good.c_str(), &w, &h), 1); });
    IupSetAttribute(canvas, "RASTERSIZE", "4x3");
    rvRestart();
    EXPECT_EQ(stepAll(), 3);
    EXPECT_EQ(save(), "\nO " + dir.file("good.ppm") + " was written successfully.\n");
}

// The window makes the canvas as small as a scene's screen asks, and a canvas
// without area is never drawn by the window system. Its repaint callback must
// still run when it loses its area, or the driver goes on rendering (and
// saving) at the old size. glintview's canvas callback restarts the driver.
int restartDriver(Ihandle *)
{
    rvRestart();
    return IUP_DEFAULT;
}

TEST_F(ViewerDriverFixture, CanvasLosingItsAreaRestartsTheDriver)
{
    IupSetFunction("repaint_cb", restartDriver);
    const std::string good = dir.write("good.gsc", "GSD 2.0\n" + badinput::sceneWithout(""));
    int w = 0, h = 0;
    captureStdout([&] { ASSERT_EQ(rvLoad(good.c_str(), &w, &h), 1); });
    EXPECT_EQ(rvStep(), 1);
    IupSetAttribute(canvas, "RASTERSIZE", "0x0");
    EXPECT_EQ(rvStep(), 0);
    EXPECT_EQ(save(), kNoImage);
    IupSetFunction("repaint_cb", nullptr);
}

}  // namespace
