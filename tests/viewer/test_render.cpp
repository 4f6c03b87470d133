// glintview's render driver, headless: a canvas element that is never shown,
// the driver stepped by hand, its saved images compared with the engine's
// render traced pixel by pixel.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "gui/canvas.h"
#include "gui/element.h"
#include "gui/toolkit.h"
#include "tests/support.h"
#include "tests/viewer/driver_fixture.h"
#include "tests/viewer/reference.h"
#include "viewer/render.h"

namespace {

class ViewerDriver : public ViewerDriverTest {
protected:
    void canvasSize(const char *size) { IupSetAttribute(canvas, "RASTERSIZE", size); }

    int load(const std::string &path, int *w = nullptr, int *h = nullptr)
    {
        int width = -1, height = -1;
        int result = 0;
        captureStdout([&] { result = rvLoad(path.c_str(), &width, &height); });
        if (w != nullptr)
            *w = width;
        if (h != nullptr)
            *h = height;
        return result;
    }

    std::string reference(const std::string &scene, int w, int h)
    {
        const std::string out = dir.file("reference.ppm");
        bool ok = false;
        captureStdout([&] { ok = renderReference(scene.c_str(), w, h, out.c_str()); });
        EXPECT_TRUE(ok);
        return readFile(out);
    }

    // The canvas's pixels as a PPM file's raster (top row first).
    std::string canvasRaster() const
    {
        const std::vector<unsigned char> &p = canvas->view->pixels();
        return std::string(p.begin(), p.end());
    }
};

TEST_F(ViewerDriver, RendersTheSceneAsTheEngineTracesIt)
{
    const std::string scene = dir.write("room.gsc", viewerScene(40, 30));
    canvasSize("40x30");
    int w = 0, h = 0;
    ASSERT_EQ(load(scene, &w, &h), 1);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 30);
    rvRestart();
    // One line a step: 29 steps say lines remain, the 30th that none do.
    for (int i = 0; i < 29; ++i)
        ASSERT_EQ(rvStep(), 1) << "step " << i;
    EXPECT_EQ(rvStep(), 0);
    EXPECT_EQ(rvStep(), 0) << "a finished picture has nothing more to render";

    const std::string out = save();
    EXPECT_NE(out.find("O " + dir.file("room.ppm") + " was written successfully."),
              std::string::npos)
        << out;
    const std::string expected = reference(scene, 40, 30);
    EXPECT_EQ(readFile(dir.file("room.ppm")), expected);
    EXPECT_EQ(canvasRaster(), rasterOf(expected)) << "the canvas shows what was saved";
}

TEST_F(ViewerDriver, PictureBuildsUpFromTheBottomRowOneLineAStep)
{
    const int width = 12;
    const int height = 9;
    const std::string scene = dir.write("room.gsc", viewerScene(width, height));
    canvasSize("12x9");
    ASSERT_EQ(load(scene), 1);
    const std::string expected = rasterOf(reference(scene, width, height));
    // Row y of a raster (top row first) as bytes.
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    auto row = [&](const std::string &raster, int y) {
        return raster.substr(static_cast<size_t>(height - 1 - y) * rowBytes, rowBytes);
    };
    // Both the image and the canvas start black; every row of this scene has
    // some colour, so a row rendered too early shows.
    const std::string black(rowBytes, '\0');
    for (int y = 0; y < height; ++y)
        ASSERT_NE(row(expected, y), black) << "row " << y << " of the scene is all black";

    // Which rows of a raster are done, bottom row first: '#' rendered, '.'
    // still black, '?' anything else.
    auto rowsDone = [&](const std::string &raster) {
        std::string done;
        for (int y = 0; y < height; ++y)
            done += row(raster, y) == row(expected, y) ? '#' : row(raster, y) == black ? '.' : '?';
        return done;
    };
    // After k steps rows 0..k-1 hold their colours and the rows above are
    // still black, in the saved image and on the canvas.
    for (int k = 0; k <= height; ++k) {
        if (k > 0) {
            ASSERT_EQ(rvStep(), k < height ? 1 : 0) << "step " << k;
        }
        save();
        const std::string want = std::string(k, '#') + std::string(height - k, '.');
        EXPECT_EQ(rowsDone(rasterOf(readFile(dir.file("room.ppm")))), want)
            << "image after " << k << " steps";
        EXPECT_EQ(rowsDone(canvasRaster()), want) << "canvas after " << k << " steps";
    }
}

TEST_F(ViewerDriver, RestartAtAnotherSizeRendersAtTheCanvasSize)
{
    const std::string scene = dir.write("room.gsc", viewerScene(40, 30));
    canvasSize("40x30");
    ASSERT_EQ(load(scene), 1);
    rvRestart();
    for (int i = 0; i < 7; ++i)
        rvStep();
    // The window gives the canvas another size midway: start again there.
    canvasSize("24x13");
    rvRestart();
    EXPECT_EQ(stepAll(), 13);
    save();
    EXPECT_EQ(readFile(dir.file("room.ppm")), reference(scene, 24, 13));
}

TEST_F(ViewerDriver, CanvasOfHeightOneFinishesInOneStep)
{
    const std::string scene = dir.write("room.gsc", viewerScene(40, 30));
    canvasSize("9x1");
    ASSERT_EQ(load(scene), 1);
    rvRestart();
    EXPECT_EQ(rvStep(), 0);
    save();
    EXPECT_EQ(readFile(dir.file("room.ppm")), reference(scene, 9, 1));
}

TEST_F(ViewerDriver, NothingToRenderOrSaveBeforeALoad)
{
    rvRestart();
    EXPECT_EQ(rvStep(), 0);
    const std::string out = save();
    EXPECT_EQ(out, "\nNenhum cenario carregado: nada foi salvo.\n");
}

TEST_F(ViewerDriver, SaveNameReplacesTheLastFourCharacters)
{
    // A folder path long enough that the scene's full name has 200
    // characters.
    const std::string tail = "room.gsc";
    const std::string folder =
        dir.path() + "/" + std::string(200 - tail.size() - dir.path().size() - 2, 'd') + "/";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string longScene = folder + tail;
    ASSERT_EQ(longScene.size(), 200u);

    const struct {
        std::string scene;
        std::string image;
    } cases[] = {
        {dir.file("room.gsc"), dir.file("room.ppm")},
        {dir.file("scene"), dir.file("s.ppm")},
        {longScene, folder + "room.ppm"},
    };
    canvasSize("4x3");
    for (const auto &c : cases) {
        FILE *fp = std::fopen(c.scene.c_str(), "w");
        ASSERT_NE(fp, nullptr);
        std::fputs(viewerScene(4, 3).c_str(), fp);
        std::fclose(fp);
        ASSERT_EQ(load(c.scene), 1) << c.scene;
        stepAll();
        const std::string out = save();
        EXPECT_EQ(out, "\nO " + c.image + " was written successfully.\n");
        EXPECT_EQ(readFile(c.image), reference(c.scene, 4, 3)) << c.image;
    }
}

TEST_F(ViewerDriver, ShortSceneNameIsNotSaved)
{
    dir.write("a.g", viewerScene(4, 3));
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    canvasSize("4x3");
    const int loaded = load("a.g");
    stepAll();
    const std::string out = save();
    ASSERT_EQ(chdir(saved), 0);
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(out, "\nNome de arquivo 'a.g' curto demais para trocar a extensao: nada foi salvo.\n");
    EXPECT_FALSE(fileExists(dir.file(".ppm")));
}

TEST_F(ViewerDriver, FailedLoadKeepsTheSceneOnShow)
{
    const std::string scene = dir.write("room.gsc", viewerScene(40, 30));
    const std::string noCamera = dir.write("empty.gsc", "GSD 2.0\n#LIGHT\n0 0 0 255 255 255\n");
    canvasSize("40x30");
    ASSERT_EQ(load(scene), 1);
    for (int i = 0; i < 10; ++i)
        rvStep();
    int w = 7, h = 7;
    EXPECT_EQ(load(dir.file("missing.gsc"), &w, &h), 0);
    EXPECT_EQ(w, -1) << "sizes untouched on failure";
    std::string out = captureStdout([&] { EXPECT_EQ(rvLoad(noCamera.c_str(), &w, &h), 0); });
    EXPECT_NE(out.find("\nCenario sem camera: '" + noCamera + "' nao foi carregado.\n"),
              std::string::npos)
        << out;
    // The rendering goes on where it was, with the scene loaded before.
    EXPECT_EQ(stepAll(), 20);
    save();
    EXPECT_EQ(readFile(dir.file("room.ppm")), reference(scene, 40, 30));
    EXPECT_FALSE(fileExists(dir.file("empty.ppm")));
}

TEST_F(ViewerDriver, LoadWithoutResizeRestartsOnItsOwn)
{
    // Scenes whose cameras ask for other sizes, loaded midway through a
    // rendering into a canvas that keeps its size (no repaint follows).
    const std::string first = dir.write("first.gsc", viewerScene(40, 30));
    const std::string small = dir.write("small.gsc", viewerScene(8, 4, "200 10 10"));
    const std::string same = dir.write("same.gsc", viewerScene(40, 30, "0 0 0"));
    canvasSize("40x30");
    ASSERT_EQ(load(first), 1);
    rvRestart();
    for (int i = 0; i < 12; ++i)
        rvStep();
    int w = 0, h = 0;
    ASSERT_EQ(load(small, &w, &h), 1);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(stepAll(), 30) << "from line 0, at the canvas's size";
    save();
    EXPECT_EQ(readFile(dir.file("small.ppm")), reference(small, 40, 30));

    ASSERT_EQ(load(same), 1);
    EXPECT_EQ(stepAll(), 30);
    save();
    EXPECT_EQ(readFile(dir.file("same.ppm")), reference(same, 40, 30));
}

TEST_F(ViewerDriver, CanvasWithoutAreaDrawsNothing)
{
    const std::string scene = dir.write("room.gsc", viewerScene(40, 30));
    for (const char *size : {"0x30", "40x0"}) {
        canvasSize(size);
        ASSERT_EQ(load(scene), 1);
        EXPECT_EQ(rvStep(), 0) << size;
        EXPECT_EQ(save(), "\nNenhuma imagem (canvas sem area): nada foi salvo.\n");
        EXPECT_FALSE(fileExists(dir.file("room.ppm")));
    }
    // The canvas gets an area again: the next restart makes an image.
    canvasSize("6x5");
    rvRestart();
    EXPECT_EQ(stepAll(), 5);
    save();
    EXPECT_EQ(readFile(dir.file("room.ppm")), reference(scene, 6, 5));
}

TEST_F(ViewerDriver, ColourComponentsBecomeBytesByTruncation)
{
    // No objects: every pixel is the background, 1.0, 0.999 and 0.5, which
    // give 255, 254 and 127.
    const std::string scene = dir.write(
        "bg.gsc", "GSD 2.0\n#CAMERA\n0 0 5  0 0 0  0 1 0\n45\n1 10\n2 2\n#SCENE\n255 254.745 127.5 null\n");
    canvasSize("2x2");
    ASSERT_EQ(load(scene), 1);
    stepAll();
    save();
    const std::string pixel("\xff\xfe\x7f", 3);
    EXPECT_EQ(readFile(dir.file("bg.ppm")), "P6\n2 2\n255\n" + pixel + pixel + pixel + pixel);
}

TEST_F(ViewerDriver, NothingRendersAfterFree)
{
    const std::string scene = dir.write("room.gsc", viewerScene(4, 3));
    canvasSize("4x3");
    ASSERT_EQ(load(scene), 1);
    rvFree();
    EXPECT_EQ(rvStep(), 0);
    EXPECT_EQ(save(), "\nNenhum cenario carregado: nada foi salvo.\n");
}

}  // namespace
