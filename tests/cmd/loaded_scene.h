#ifndef GLINT_TESTS_CMD_LOADED_SCENE_H
#define GLINT_TESTS_CMD_LOADED_SCENE_H

#include <string>

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

#endif
