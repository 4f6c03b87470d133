#ifndef GLINT_TESTS_SCENE_CHECK_H
#define GLINT_TESTS_SCENE_CHECK_H

// Helpers for tests that read scenes and trace rays, with either build of the
// engine (the library or glintcmd's own): kept in this header because the
// support library links neither.

#include <gtest/gtest.h>

#include <string>

#include "engine/color.h"
#include "engine/scene.h"
#include "tests/support.h"

// A scene read from text (after the header words) written to a temporary
// file, freed with the object; the readers' echo is swallowed.
class LoadedScene {
public:
    explicit LoadedScene(const std::string &body) : LoadedScene(body, true) {}
    // path names an existing scene file.
    static LoadedScene fromFile(const std::string &path) { return LoadedScene(path, false); }
    ~LoadedScene()
    {
        if (scene_ != nullptr)
            captureStdout([&] { sceDestroy(scene_); });
    }
    LoadedScene(const LoadedScene &) = delete;
    LoadedScene &operator=(const LoadedScene &) = delete;
    Scene *get() const { return scene_; }

private:
    LoadedScene(const std::string &text, bool isBody)
    {
        std::string path = text;
        if (isBody)
            path = dir_.write("scene.gsc", "GSD 2.0\n" + text);
        captureStdout([&] { scene_ = sceReadFile(path.c_str()); });
    }
    TempDir dir_;
    Scene *scene_ = nullptr;
};

// Each component exactly as expected.
inline void expectColor(Color expected, Color actual)
{
    EXPECT_EQ(expected.red, actual.red);
    EXPECT_EQ(expected.green, actual.green);
    EXPECT_EQ(expected.blue, actual.blue);
}

const Color BLACK = {0.0, 0.0, 0.0};
const Color WHITE = {1.0, 1.0, 1.0};
const Color RED = {1.0, 0.0, 0.0};
const Color GREEN = {0.0, 1.0, 0.0};
const Color BLUE = {0.0, 0.0, 1.0};

#endif
