// glintview's render driver, headless: a canvas element that is never shown,
// the driver stepped by hand, its saved images compared with the engine's
// render traced pixel by pixel.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
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

TEST_F(ViewerDriver, SaveWritesWhatTheCanvasShowsThroughEveryRestart)
{
    const std::string scene = dir.write("room.gsc", viewerScene(16, 12));
    const std::string other = dir.write("other.gsc", viewerScene(16, 12, "200 10 10"));
    canvasSize("16x12");
    ASSERT_EQ(load(scene), 1);
    const std::string finished = rasterOf(reference(scene, 16, 12));
    // The raster saved now, which must be the canvas's.
    auto saved = [&](const char *name) {
        save();
        const std::string raster = rasterOf(readFile(dir.file(name)));
        EXPECT_EQ(raster, canvasRaster()) << "the saved picture is the one on show";
        return raster;
    };
    EXPECT_EQ(stepAll(), 12);
    EXPECT_EQ(saved("room.ppm"), finished);

    // An uncover restarts at the same size: the picture stays whole while it
    // is traced again, and the rendering runs from line 0 to the top.
    rvRestart();
    EXPECT_EQ(saved("room.ppm"), finished);
    for (int i = 0; i < 5; ++i)
        rvStep();
    EXPECT_EQ(saved("room.ppm"), finished);
    // Another restart midway, and the rest.
    rvRestart();
    EXPECT_EQ(stepAll(), 12);
    EXPECT_EQ(saved("room.ppm"), finished);
    // The window shrinks and grows back before it repaints: the canvas lost
    // the rows it had no room for, and the restart puts them back.
    canvasSize("16x5");
    canvasSize("16x12");
    rvRestart();
    EXPECT_EQ(saved("room.ppm"), finished);

    // A new size begins from black, on the canvas too.
    canvasSize("10x7");
    rvRestart();
    EXPECT_EQ(saved("room.ppm"), std::string(10 * 7 * 3, '\0'));
    rvStep();
    saved("room.ppm");
    EXPECT_EQ(stepAll(), 6);
    EXPECT_EQ(saved("room.ppm"), rasterOf(reference(scene, 10, 7)));

    // So does a load, also one at the size the canvas already has.
    ASSERT_EQ(load(other), 1);
    EXPECT_EQ(saved("other.ppm"), std::string(10 * 7 * 3, '\0'));
    for (int i = 0; i < 3; ++i)
        rvStep();
    saved("other.ppm");
    EXPECT_EQ(stepAll(), 4);
    EXPECT_EQ(saved("other.ppm"), rasterOf(reference(other, 10, 7)));
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

TEST_F(ViewerDriver, ShortFileNameIsNotSaved)
{
    // The file dialog gives full paths: it is the file's own name that must
    // have four characters to replace, or the picture would take the
    // folder's name and land beside the folder.
    const std::string folder = dir.file("scenes");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    canvasSize("4x3");
    for (const char *name : {"a.g", "abc"}) {
        const std::string scene = folder + "/" + name;
        dir.write(std::string("scenes/") + name, viewerScene(4, 3));
        ASSERT_EQ(load(scene), 1) << name;
        stepAll();
        EXPECT_EQ(save(), "\nNome de arquivo '" + scene +
                              "' curto demais para trocar a extensao: nada foi salvo.\n");
        EXPECT_FALSE(fileExists(dir.file("scenes.ppm"))) << name;
    }
    EXPECT_FALSE(fileExists(folder + "/.ppm"));

    // A relative name without a folder.
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    const int loaded = load("a.g");
    stepAll();
    const std::string out = save();
    ASSERT_EQ(chdir(saved), 0);
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(out, "\nNome de arquivo 'a.g' curto demais para trocar a extensao: nada foi salvo.\n");
    EXPECT_FALSE(fileExists(folder + "/.ppm"));

    // Four characters are enough: all of them are replaced.
    const std::string room = dir.write("scenes/room", viewerScene(4, 3));
    ASSERT_EQ(load(room), 1);
    stepAll();
    EXPECT_EQ(save(), "\nO " + folder + "/.ppm was written successfully.\n");
}

TEST_F(ViewerDriver, SaveNeverWritesOverWhatTheSceneWasReadFrom)
{
    const std::string texel("P6\n1 1\n255\n\x10\x20\x30", 14);
    const std::string texture = dir.write("earth.ppm", texel);
    const std::string sky = dir.write("sky.ppm", texel);
    // A textured scene whose picture would be named as its texture, and one
    // whose picture would be named as its background image.
    std::string earth = viewerScene(4, 3);
    earth.replace(earth.find("40 0.4 0 1 null"), 15, "40 0.4 0 1 earth.ppm");
    const std::string earthScene = dir.write("earth.gsc", earth);
    std::string skyText = viewerScene(4, 3);
    skyText.replace(skyText.find("30 40 60 null"), 13, "30 40 60 sky.ppm");
    const std::string skyScene = dir.write("sky.gsc", skyText);
    // A scene stored under the name its picture would take, loaded also by
    // another spelling of its path.
    const std::string sceneText = viewerScene(4, 3);
    const std::string x = dir.write("x.ppm", sceneText);
    std::filesystem::create_symlink(x, dir.file("y.ppm"));

    const struct {
        std::string scene;
        std::string image;
        const char *what;
    } cases[] = {
        {earthScene, texture, "e uma imagem lida pelo cenario"},
        {skyScene, sky, "e uma imagem lida pelo cenario"},
        {x, x, "e o proprio cenario"},
        {dir.path() + "/./x.ppm", dir.path() + "/./x.ppm", "e o proprio cenario"},
        {dir.file("y.ppm"), dir.file("y.ppm"), "e o proprio cenario"},
    };
    canvasSize("4x3");
    for (const auto &c : cases) {
        ASSERT_EQ(load(c.scene), 1) << c.scene;
        stepAll();
        EXPECT_EQ(save(), "\nO arquivo '" + c.image + "' " + c.what + ": nada foi salvo.\n");
    }
    EXPECT_EQ(readFile(texture), texel);
    EXPECT_EQ(readFile(sky), texel);
    EXPECT_EQ(readFile(x), sceneText);

    // The texture's scene under another name saves as usual, and again over
    // its own earlier picture.
    const std::string moon = dir.write("moon.gsc", earth);
    ASSERT_EQ(load(moon), 1);
    stepAll();
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(save(), "\nO " + dir.file("moon.ppm") + " was written successfully.\n");
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
