#ifndef GLINT_TESTS_BADINPUT_CASES_H
#define GLINT_TESTS_BADINPUT_CASES_H

// The scene fixture and message texts that the bad-input tables of the
// programs share.

#include <ostream>
#include <string>
#include <vector>

class TempDir;

namespace badinput {

// The good fixture scene, one body per category, rendering 4 x 3 pixels:
//   CAMERA    1 2 10  1 2 0  0 1 0  60  1 100  4 3
//   SCENE     10 20 30 null
//   MATERIAL  10 20 30  40 50 60  70 80 90  5 0.5 0 1 null
//   LIGHT     4 5 6  255 128 0
//   SPHERE    0 1.5  0.25 0.5 0.75
//   TRIANGLE  0  -1 -1 0  1 -1 0  0 1 0
//   BOX       0  -1 -1 -1  1 1 1
// All of its categories except `without` (all of them for ""), each with its
// header line, without the "GSD 2.0" header words.
std::string sceneWithout(const std::string &without);

// The first `keep` fields of the category's fixture body, separated by blanks
// and ended by a line end (nothing at all for 0).
std::string fields(const std::string &category, int keep);

// A CAMERA category with the fixture's body and the given screen size text.
std::string camera(const std::string &screen);
// A MATERIAL category with the fixture's numbers and the given texture word.
std::string material(const std::string &texture);

std::string repeat(const std::string &text, int times);
// 4096 bytes of fixed pseudo-random binary data, zero bytes included.
std::string garbage();

// Files that scenes of the tables name, written into dir:
//   good.ppm      a 2 x 2 image
//   notppm.ppm    a text file
//   folder/       a directory
//   short.ppm     a 4 x 4 header and 10 raster bytes
//   huge.ppm      a 46000 x 46000 header and 3 raster bytes
//   header.ppm    the magic line and the size, then the end of the file
//   overflow.ppm  a 65536 x 65536 header (the pixel count overflows an int)
void writeFixtureFiles(const TempDir &dir);

// Engine messages as they read with their "[file:line]" prefix masked.
std::string pointMsg(double x, double y, double z);
std::string colourMsg(double r, double g, double b);
std::string skipBodyMsg(const std::string &category);

// What a scene file comes to in a program, beyond the messages printed while
// it is read:
//   Renders   the scene reads and renders (glintcmd: the image is written,
//             status 0; glintview: the load succeeds)
//   NoCamera  the scene has no camera (glintcmd: "Impossivel criar camera!",
//             status 1; glintview: the load fails with its message)
//   NoScene   the reader gives no scene (glintcmd: "Impossivel criar
//             cenario!", status 1; glintview: the load fails, silently)
//   NoImage   the camera's screen size gives no image (glintcmd: "Impossivel
//             criar imagem!", status 1; glintview: the load succeeds and
//             the canvas takes the size asked for, clamped by the window)
enum class Outcome { Renders, NoCamera, NoScene, NoImage };

// glintcmd's build of the reader or glintview's (the engine's): they differ in
// the box reader and the object limit.
enum class Program { Cmd, View };

// A scene file of a table: its text (written as scene.gsc beside the fixture
// files), the messages that reading it must print in this order, with the
// "[file:line]" prefixes masked, and what it comes to.
struct SceneCase {
    std::string name;
    std::string scene;
    std::vector<std::string> messages;
    Outcome outcome;
};

// Each category cut short at each of its fields: the fixture scene without the
// category, then its header and first fields, where the file ends.
std::vector<SceneCase> cutCases(Program program);
// Whole files that are malformed in other ways, and limits exceeded.
std::vector<SceneCase> fileCases(Program program);

std::ostream &operator<<(std::ostream &os, const SceneCase &c);

// Expects each message to occur in text after the end of the one before. An
// image beside the scene file loads under the path of the scene's folder:
// "@/" in a message stands for folder, the path the program names it by.
void expectInOrder(const std::string &text, const std::vector<std::string> &messages,
                   const std::string &folder = "");

}  // namespace badinput

#endif
