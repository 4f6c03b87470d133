// glintcmd on malformed input, run as a process with standard input from
// /dev/null: for each input, the messages it must print (in this order, with
// the "[file:line]" prefixes masked), its exit status, and whether the image
// is written. Nothing may crash, hang or write past what it owns; the
// sanitizer build and scripts/valgrind.sh watch the same runs for that.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/badinput/cases.h"
#include "tests/badinput/process.h"
#include "tests/support.h"

namespace {

using badinput::colourMsg;
using badinput::pointMsg;
using badinput::skipBodyMsg;

const char *const kCamera = "Impossivel criar camera!\n";
const char *const kScene = "Impossivel criar cenario!\n";
const char *const kImage = "Impossivel criar imagem!\n";
const char *const kTime = "levou 0.000000 segundos\n";

// One run of glintcmd: the scene text (written to scene.gsc in a fresh
// folder, with the files of the fixture beside it), the output name, and what
// must come of it.
struct CmdCase {
    std::string name;
    std::string scene;
    std::vector<std::string> messages;  // in order, each found after the last
    int status;
    bool written;                       // the image file exists afterwards
    std::string output = "out.ppm";     // relative to the folder
};

std::ostream &operator<<(std::ostream &os, const CmdCase &c) { return os << c.name; }

std::string gsc(const std::string &body) { return "GSD 2.0\n" + body; }

// What a run that renders must end with.
std::vector<std::string> rendered(std::vector<std::string> messages, const std::string &out = "out.ppm")
{
    messages.push_back("\nO " + out + " was written successfully.\n");
    messages.push_back(kTime);
    return messages;
}

// A scene made of the fixture's good categories except `without`, then the
// category `cut` with only its first `keep` fields: the file ends there.
std::string cutScene(const std::string &cut, int keep)
{
    return gsc(badinput::sceneWithout(cut) + "#" + cut + "\n" + badinput::fields(cut, keep));
}

std::vector<CmdCase> cutCases()
{
    std::vector<CmdCase> cases;
    auto add = [&](const std::string &cat, int keep, std::vector<std::string> messages, int status) {
        CmdCase c{cat + "_cut_after_" + std::to_string(keep), cutScene(cat, keep), messages, status,
                  status == 0};
        if (status == 0)
            c.messages = rendered(messages);
        cases.push_back(c);
    };

    // CAMERA: eye 1 2 10, at 1 2 0, up 0 1 0, fovy 60, near 1, far 100,
    // screen 4 3. Any field short gives no camera: nothing to render.
    const std::string noCam = skipBodyMsg("CAMERA");
    add("CAMERA", 0, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 1, {pointMsg(1, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 2, {pointMsg(1, 2, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 3, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 4, {pointMsg(1, 0, 0), pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 5, {pointMsg(1, 2, 0), pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 6, {pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 7, {pointMsg(0, 0, 0), noCam, kCamera}, 1);
    add("CAMERA", 8, {pointMsg(0, 1, 0), noCam, kCamera}, 1);
    for (int keep = 9; keep <= 13; keep++)
        add("CAMERA", keep, {noCam, kCamera}, 1);

    // SCENE: colour 10 20 30, image word "null". A missing word is "null".
    add("SCENE", 0, {colourMsg(0, 0, 0), skipBodyMsg("SCENE")}, 0);
    add("SCENE", 1, {colourMsg(10, 0, 0)}, 0);
    add("SCENE", 2, {colourMsg(10, 20, 0)}, 0);
    add("SCENE", 3, {}, 0);

    // MATERIAL: ambient 10 20 30, diffuse 40 50 60, specular 70 80 90,
    // n 5, reflect 0.5, refract 0, opacity 1, texture "null". The sphere uses
    // material 0: without it the scene is refused.
    add("MATERIAL", 0,
        {colourMsg(0, 0, 0), colourMsg(0, 0, 0), colourMsg(0, 0, 0), skipBodyMsg("MATERIAL"),
         "\n[#] object 0 (sphere) uses material 0, but the scene has 0 materials\n", kScene},
        1);
    add("MATERIAL", 1, {colourMsg(10, 0, 0), colourMsg(0, 0, 0), colourMsg(0, 0, 0)}, 0);
    add("MATERIAL", 2, {colourMsg(10, 20, 0), colourMsg(0, 0, 0), colourMsg(0, 0, 0)}, 0);
    add("MATERIAL", 3, {colourMsg(0, 0, 0), colourMsg(0, 0, 0)}, 0);
    add("MATERIAL", 4, {colourMsg(40, 0, 0), colourMsg(0, 0, 0)}, 0);
    add("MATERIAL", 5, {colourMsg(40, 50, 0), colourMsg(0, 0, 0)}, 0);
    add("MATERIAL", 6, {colourMsg(0, 0, 0)}, 0);
    add("MATERIAL", 7, {colourMsg(70, 0, 0)}, 0);
    add("MATERIAL", 8, {colourMsg(70, 80, 0)}, 0);
    // The four reals and the word: what is missing counts as 0 and "null".
    add("MATERIAL", 9, {"\ttexture = 'null',\n\tn = 0,\n\treflect = 0,\n"}, 0);
    add("MATERIAL", 10, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0,\n"}, 0);
    add("MATERIAL", 11, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0.5,\n\trefract = 0,\n\topacity = 0\n"}, 0);
    add("MATERIAL", 12, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0.5,\n\trefract = 0,\n\topacity = 0\n"}, 0);
    add("MATERIAL", 13, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0.5,\n\trefract = 0,\n\topacity = 1\n"}, 0);

    // LIGHT: position 4 5 6, colour 255 128 0.
    add("LIGHT", 0, {pointMsg(0, 0, 0), colourMsg(0, 0, 0), skipBodyMsg("LIGHT")}, 0);
    add("LIGHT", 1, {pointMsg(4, 0, 0), colourMsg(0, 0, 0)}, 0);
    add("LIGHT", 2, {pointMsg(4, 5, 0), colourMsg(0, 0, 0)}, 0);
    add("LIGHT", 3, {colourMsg(0, 0, 0)}, 0);
    add("LIGHT", 4, {colourMsg(255, 0, 0)}, 0);
    add("LIGHT", 5, {colourMsg(255, 128, 0)}, 0);

    // SPHERE: material 0, radius 1.5, centre 0.25 0.5 0.75. A missing
    // number counts as 0; a body with no number at all is dropped.
    add("SPHERE", 0, {pointMsg(0, 0, 0), skipBodyMsg("SPHERE")}, 0);
    add("SPHERE", 1, {pointMsg(0, 0, 0), "\tmaterial = 0,\n\tradius = 0,\n"}, 0);
    add("SPHERE", 2, {pointMsg(0, 0, 0), "\tradius = 1.5,\n"}, 0);
    add("SPHERE", 3, {pointMsg(0.25, 0, 0)}, 0);
    add("SPHERE", 4, {pointMsg(0.25, 0.5, 0)}, 0);

    // TRIANGLE: material 0, vertices -1 -1 0, 1 -1 0, 0 1 0.
    add("TRIANGLE", 0, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipBodyMsg("TRIANGLE")}, 0);
    add("TRIANGLE", 1, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 2, {pointMsg(-1, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 3, {pointMsg(-1, -1, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 4, {pointMsg(0, 0, 0), pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 5, {pointMsg(1, 0, 0), pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 6, {pointMsg(1, -1, 0), pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 7, {pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 8, {pointMsg(0, 0, 0)}, 0);
    add("TRIANGLE", 9, {pointMsg(0, 1, 0)}, 0);

    // BOX: material 0, corners -1 -1 -1 and 1 1 1. glintcmd reads each
    // corner as a point, so a short corner is reported.
    add("BOX", 0, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipBodyMsg("BOX")}, 0);
    add("BOX", 1, {pointMsg(0, 0, 0), pointMsg(0, 0, 0)}, 0);
    add("BOX", 2, {pointMsg(-1, 0, 0), pointMsg(0, 0, 0)}, 0);
    add("BOX", 3, {pointMsg(-1, -1, 0), pointMsg(0, 0, 0)}, 0);
    add("BOX", 4, {pointMsg(0, 0, 0)}, 0);
    add("BOX", 5, {pointMsg(1, 0, 0)}, 0);
    add("BOX", 6, {pointMsg(1, 1, 0)}, 0);
    return cases;
}

std::vector<CmdCase> fileCases()
{
    using namespace badinput;
    const std::string good = sceneWithout("");
    std::vector<CmdCase> cases = {
        {"empty_file", "", {kScene}, 1, false},
        {"binary_garbage", garbage(), {kScene}, 1, false},
        {"magic_word_only", "GSD", {kScene}, 1, false},
        {"wrong_version", "GSD 2.1\n" + good, {kScene}, 1, false},
        {"header_only", "GSD 2.0\n", {kCamera}, 1, false},
        {"header_without_line_end", "GSD 2.0", {kCamera}, 1, false},
        {"nul_bytes_in_a_body", gsc(good + "#LIGHT\n1 2" + std::string("\0\0\0", 3) + " 3\n"),
         rendered({pointMsg(1, 2, 0), colourMsg(0, 0, 0)}), 0, true},
        // glibc keeps the low 32 bits of a number too large for an int:
        // 99999999999 reads as 1215752191, and 4294967296 as 0.
        {"screen_width_beyond_int", gsc(sceneWithout("CAMERA") + camera("99999999999 48")),
         {"\tscreen = 1215752191x48,\n", kImage}, 1, false},
        {"screen_product_beyond_int", gsc(sceneWithout("CAMERA") + camera("65536 65536")),
         {"\tscreen = 65536x65536,\n", kImage}, 1, false},
        {"material_index_beyond_int",
         gsc(sceneWithout("SPHERE") + "#SPHERE\n99999999999 1  0 0 0\n"),
         {"\tmaterial = 1215752191,\n",
          "\n[#] object 2 (sphere) uses material 1215752191, but the scene has 1 materials\n",
          kScene},
         1, false},
        {"material_index_wraps_to_zero", gsc(good + "#SPHERE\n4294967296 1  3 0 0\n"),
         rendered({"\tmaterial = 0,\n"}), 0, true},
        {"negative_material_index", gsc(good + "#SPHERE\n-1 1  3 0 0\n"),
         {"\n[#] object 3 (sphere) uses material -1, but the scene has 1 materials\n", kScene}, 1,
         false},
        {"zero_screen", gsc(sceneWithout("CAMERA") + camera("0 0")), {"\tscreen = 0x0,\n", kImage},
         1, false},
        {"negative_screen", gsc(sceneWithout("CAMERA") + camera("-4 3")),
         {"\tscreen = -4x3,\n", kImage}, 1, false},
        {"line_of_10000_characters_in_a_comment",
         gsc("! " + std::string(10000, 'x') + " 7 7 7\n" + good), rendered({}), 0, true},
        {"body_line_of_10000_blanks", gsc(good + "#LIGHT\n" + std::string(10000, ' ') + "1 2 3 255 255 255\n"),
         rendered({"\tpos = (1, 2, 3),\n"}), 0, true},
        {"number_of_10000_digits", gsc(good + "#LIGHT\n" + std::string(9999, '0') + "1 2 3 255 255 255\n"),
         rendered({"\tpos = (1, 2, 3),\n"}), 0, true},
        {"header_of_10000_letters", gsc(good + "#" + std::string(10000, 'A') + "\n1 2 3\n"),
         rendered({"\n[#] skipping unknown category '#" + std::string(511, 'A') + "'\n"}), 0, true},
        {"texture_name_of_10000_characters",
         gsc(sceneWithout("MATERIAL") + material(std::string(10000, 't'))),
         rendered({"\n[#] unable to load image file '" + std::string(10000, 't') + "'.\n"}), 0, true},
        {"texture_missing", gsc(sceneWithout("MATERIAL") + material("no-such.ppm")),
         rendered({"\ttexture = 'no-such.ppm',\n", "\n[#] unable to load image file 'no-such.ppm'.\n"}),
         0, true},
        // A first line other than "P6\n" is refused without a message.
        {"texture_not_a_ppm", gsc(sceneWithout("MATERIAL") + material("notppm.ppm")),
         rendered({"\ttexture = 'notppm.ppm',\n\tn = 5,\n"}), 0, true},
        {"texture_is_a_directory", gsc(sceneWithout("MATERIAL") + material("folder")),
         rendered({"\ttexture = 'folder',\n\tn = 5,\n"}), 0, true},
        {"texture_raster_cut_short", gsc(sceneWithout("MATERIAL") + material("short.ppm")),
         rendered({"\n[#] image file 'short.ppm' ends before its last pixel.\n"}), 0, true},
        {"texture_header_promises_gigapixels", gsc(sceneWithout("MATERIAL") + material("huge.ppm")),
         rendered({"\n[#] image file 'huge.ppm' ends before its last pixel.\n"}), 0, true},
        {"texture_header_cut_short", gsc(sceneWithout("MATERIAL") + material("header.ppm")),
         rendered({"\ttexture = 'header.ppm',\n\tn = 5,\n"}), 0, true},
        {"texture_size_beyond_int", gsc(sceneWithout("MATERIAL") + material("overflow.ppm")),
         rendered({"\ttexture = 'overflow.ppm',\n\tn = 5,\n"}), 0, true},
        {"background_missing", gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 no-such.ppm\n"),
         rendered({"\n[#] unable to load image file 'no-such.ppm'.\n"}), 0, true},
        {"background_raster_cut_short", gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 short.ppm\n"),
         rendered({"\n[#] image file 'short.ppm' ends before its last pixel.\n"}), 0, true},
        {"background_is_a_directory", gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 folder\n"),
         rendered({}), 0, true},
        {"output_in_a_missing_folder", gsc(good),
         {"\n[#] unable to write image file 'no/such/folder/out.ppm'\n", kTime}, 1, false,
         "no/such/folder/out.ppm"},
        {"output_is_a_directory", gsc(good), {"\n[#] unable to write image file 'folder'\n", kTime},
         1, false, "folder"},
        {"second_camera", gsc(good + camera("8 6")),
         rendered({"\tscreen = 8x6,\n",
                   "\n[#] skipping category '#CAMERA': a scene holds at most 1 camera\n"}),
         0, true},
        {"second_background_image",
         gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 good.ppm\n4 5 6 good.ppm\n"),
         rendered({"\n[#] skipping category '#SCENE': a scene holds at most 1 background image\n"}),
         0, true},
        {"ninth_light", gsc(good + repeat("#LIGHT\n1 1 1 9 9 9\n", 8)),
         rendered({"\n[#] skipping category '#LIGHT': a scene holds at most 8 lights\n"}), 0, true},
        {"sixty_fifth_material", gsc(good + repeat(material("null"), 64)),
         rendered({"\n[#] skipping category '#MATERIAL': a scene holds at most 64 materials\n"}), 0,
         true},
        // glintcmd's table holds 64 objects (glintview's 128).
        {"sixty_fifth_object", gsc(good + repeat("#SPHERE\n0 1 0 0 0\n", 62)),
         rendered({"\n[#] skipping category '#SPHERE': a scene holds at most 64 objects\n"}), 0, true},
        {"sixty_four_objects", gsc(good + repeat("#BOX\n0 0 0 0 1 1 1\n", 61)), rendered({}), 0, true},
    };
    return cases;
}

class CmdBadInput : public ::testing::TestWithParam<CmdCase> {};

TEST_P(CmdBadInput, GivesTheDefinedOutcome)
{
    const CmdCase &c = GetParam();
    TempDir dir;
    badinput::writeFixtureFiles(dir);
    const std::string scene = dir.write("scene.gsc", c.scene);
    RunResult r = runProgram({GLINT_CMD_PATH, "scene.gsc", c.output}, dir.path());
    (void)scene;
    ASSERT_FALSE(r.timedOut) << "glintcmd did not end";
    ASSERT_EQ(r.signal, 0) << "glintcmd was killed by signal " << r.signal << "\n" << r.err;
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_EQ(r.err, "");
    badinput::expectInOrder(maskPrefixes(r.out), c.messages);
    const std::string out = readFile(dir.file(c.output));
    if (c.written) {
        // The fixture's camera renders 4 x 3 pixels.
        EXPECT_EQ(out.compare(0, 11, "P6\n4 3\n255\n"), 0);
        EXPECT_EQ(out.size(), 11u + 4 * 3 * 3);
    } else if (c.output == "out.ppm") {
        EXPECT_FALSE(fileExists(dir.file(c.output)));
    }
}

INSTANTIATE_TEST_SUITE_P(CutShort, CmdBadInput, ::testing::ValuesIn(cutCases()),
                         [](const auto &info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(Files, CmdBadInput, ::testing::ValuesIn(fileCases()),
                         [](const auto &info) { return info.param.name; });

TEST(CmdBadInput, MissingSceneFile)
{
    TempDir dir;
    RunResult r = runProgram({GLINT_CMD_PATH, "no-such.gsc", "out.ppm"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kScene);
    EXPECT_FALSE(fileExists(dir.file("out.ppm")));
}

TEST(CmdBadInput, SceneFileIsADirectory)
{
    TempDir dir;
    badinput::writeFixtureFiles(dir);
    RunResult r = runProgram({GLINT_CMD_PATH, "folder", "out.ppm"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kScene);
}

TEST(CmdBadInput, WrongArgumentCounts)
{
    const std::vector<std::vector<std::string>> argvs = {
        {GLINT_CMD_PATH}, {GLINT_CMD_PATH, "a.gsc"}, {GLINT_CMD_PATH, "a.gsc", "b.ppm", "c"}};
    for (const auto &argv : argvs) {
        RunResult r = runProgram(argv);
        EXPECT_EQ(r.status, 1) << argv.size();
        EXPECT_EQ(r.out, std::string("uso: ") + GLINT_CMD_PATH + " FILE.GSC FILE.PPM\n");
    }
}

}  // namespace
