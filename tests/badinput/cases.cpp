#include "tests/badinput/cases.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "tests/support.h"

namespace badinput {

namespace {

const char *const kOrder[] = {"CAMERA", "SCENE", "MATERIAL", "LIGHT", "SPHERE", "TRIANGLE", "BOX"};

const std::map<std::string, std::vector<std::string>> &bodies()
{
    static const std::map<std::string, std::vector<std::string>> b = {
        {"CAMERA", {"1", "2", "10", "1", "2", "0", "0", "1", "0", "60", "1", "100", "4", "3"}},
        {"SCENE", {"10", "20", "30", "null"}},
        {"MATERIAL",
         {"10", "20", "30", "40", "50", "60", "70", "80", "90", "5", "0.5", "0", "1", "null"}},
        {"LIGHT", {"4", "5", "6", "255", "128", "0"}},
        {"SPHERE", {"0", "1.5", "0.25", "0.5", "0.75"}},
        {"TRIANGLE", {"0", "-1", "-1", "0", "1", "-1", "0", "0", "1", "0"}},
        {"BOX", {"0", "-1", "-1", "-1", "1", "1", "1"}},
    };
    return b;
}

std::string format(const char *fmt, double a, double b, double c)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

}  // namespace

std::string fields(const std::string &category, int keep)
{
    const std::vector<std::string> &body = bodies().at(category);
    std::string text;
    for (int i = 0; i < keep && i < static_cast<int>(body.size()); i++)
        text += (i ? " " : "") + body[i];
    return keep > 0 ? text + "\n" : text;
}

std::string sceneWithout(const std::string &without)
{
    std::string text;
    for (const char *cat : kOrder)
        if (without != cat)
            text += std::string("#") + cat + "\n" + fields(cat, 100);
    return text;
}

std::string camera(const std::string &screen)
{
    return "#CAMERA\n" + fields("CAMERA", 12) + screen + "\n";
}

std::string material(const std::string &texture)
{
    return "#MATERIAL\n" + fields("MATERIAL", 13) + texture + "\n";
}

std::string repeat(const std::string &text, int times)
{
    std::string out;
    for (int i = 0; i < times; i++)
        out += text;
    return out;
}

std::string garbage()
{
    std::string out;
    unsigned state = 12345;
    for (int i = 0; i < 4096; i++) {
        state = state * 1103515245u + 12345u;
        out += static_cast<char>((state >> 16) & 0xff);
    }
    return out;
}

void writeFixtureFiles(const TempDir &dir)
{
    dir.write("good.ppm", std::string("P6\n2 2\n255\n") + std::string(12, '\x7f'));
    dir.write("notppm.ppm", "this is a text file\nnot an image\n");
    mkdir(dir.file("folder").c_str(), 0755);
    dir.write("short.ppm", std::string("P6\n4 4\n255\n") + std::string(10, '\x01'));
    dir.write("huge.ppm", std::string("P6\n46000 46000\n255\n") + std::string(3, '\x01'));
    dir.write("header.ppm", "P6\n4 4\n");
    dir.write("overflow.ppm", std::string("P6\n65536 65536\n255\n") + std::string(3, '\x01'));
    // 2 x 2 pixels of two-byte samples; and a file that ends after its maximum.
    dir.write("wide.ppm", std::string("P6\n2 2\n65535\n") + std::string(24, '\x01'));
    dir.write("nosep.ppm", "P6\n2 2\n255");
}

std::string pointMsg(double x, double y, double z)
{
    return format("\n[#] can't read point (%g, %g, %g)\n", x, y, z);
}

std::string colourMsg(double r, double g, double b)
{
    return format("[#] error reading color components (%g, %g, %g)\n", r, g, b);
}

std::string skipBodyMsg(const std::string &category)
{
    return "\n[#] skipping category '#" + category + "': its body could not be read\n";
}

namespace {

std::string gsc(const std::string &body) { return "GSD 2.0\n" + body; }

// A scene made of the fixture's categories except `cut`, then `cut` with
// only its first `keep` fields: the file ends there.
std::string cutScene(const std::string &cut, int keep)
{
    return gsc(sceneWithout(cut) + "#" + cut + "\n" + fields(cut, keep));
}

}  // namespace

std::vector<SceneCase> cutCases(Program program)
{
    std::vector<SceneCase> cases;
    auto add = [&](const std::string &cat, int keep, std::vector<std::string> messages,
                   Outcome outcome = Outcome::Renders) {
        cases.push_back({cat + "_cut_after_" + std::to_string(keep), cutScene(cat, keep),
                         messages, outcome});
    };
    const Outcome noCamera = Outcome::NoCamera;

    // CAMERA: eye 1 2 10, at 1 2 0, up 0 1 0, fovy 60, near 1, far 100,
    // screen 4 3. A short point is reported and counts 0 where it ends; any
    // other field short gives no camera, and the body is skipped.
    const std::string skipCam = skipBodyMsg("CAMERA");
    add("CAMERA", 0, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 1, {pointMsg(1, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 2, {pointMsg(1, 2, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 3, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 4, {pointMsg(1, 0, 0), pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 5, {pointMsg(1, 2, 0), pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 6, {pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 7, {pointMsg(0, 0, 0), skipCam}, noCamera);
    add("CAMERA", 8, {pointMsg(0, 1, 0), skipCam}, noCamera);
    for (int keep = 9; keep <= 13; keep++)
        add("CAMERA", keep, {skipCam}, noCamera);

    // SCENE: colour 10 20 30, image word "null". A missing word is "null".
    add("SCENE", 0, {colourMsg(0, 0, 0), skipBodyMsg("SCENE")});
    add("SCENE", 1, {colourMsg(10, 0, 0)});
    add("SCENE", 2, {colourMsg(10, 20, 0)});
    add("SCENE", 3, {});

    // MATERIAL: ambient 10 20 30, diffuse 40 50 60, specular 70 80 90,
    // n 5, reflect 0.5, refract 0, opacity 1, texture "null". The objects
    // use material 0: without it the scene is refused.
    add("MATERIAL", 0,
        {colourMsg(0, 0, 0), colourMsg(0, 0, 0), colourMsg(0, 0, 0), skipBodyMsg("MATERIAL"),
         "\n[#] object 0 (sphere) uses material 0, but the scene has 0 materials\n",
         "\n[#] object 1 (triangle) uses material 0, but the scene has 0 materials\n",
         "\n[#] object 2 (box) uses material 0, but the scene has 0 materials\n"},
        Outcome::NoScene);
    add("MATERIAL", 1, {colourMsg(10, 0, 0), colourMsg(0, 0, 0), colourMsg(0, 0, 0)});
    add("MATERIAL", 2, {colourMsg(10, 20, 0), colourMsg(0, 0, 0), colourMsg(0, 0, 0)});
    add("MATERIAL", 3, {colourMsg(0, 0, 0), colourMsg(0, 0, 0)});
    add("MATERIAL", 4, {colourMsg(40, 0, 0), colourMsg(0, 0, 0)});
    add("MATERIAL", 5, {colourMsg(40, 50, 0), colourMsg(0, 0, 0)});
    add("MATERIAL", 6, {colourMsg(0, 0, 0)});
    add("MATERIAL", 7, {colourMsg(70, 0, 0)});
    add("MATERIAL", 8, {colourMsg(70, 80, 0)});
    // The four reals and the word: what is missing counts as 0 and "null".
    add("MATERIAL", 9, {"\ttexture = 'null',\n\tn = 0,\n\treflect = 0,\n"});
    add("MATERIAL", 10, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0,\n"});
    add("MATERIAL", 11, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0.5,\n\trefract = 0,\n\topacity = 0\n"});
    add("MATERIAL", 12, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0.5,\n\trefract = 0,\n\topacity = 0\n"});
    add("MATERIAL", 13, {"\ttexture = 'null',\n\tn = 5,\n\treflect = 0.5,\n\trefract = 0,\n\topacity = 1\n"});

    // LIGHT: position 4 5 6, colour 255 128 0.
    add("LIGHT", 0, {pointMsg(0, 0, 0), colourMsg(0, 0, 0), skipBodyMsg("LIGHT")});
    add("LIGHT", 1, {pointMsg(4, 0, 0), colourMsg(0, 0, 0)});
    add("LIGHT", 2, {pointMsg(4, 5, 0), colourMsg(0, 0, 0)});
    add("LIGHT", 3, {colourMsg(0, 0, 0)});
    add("LIGHT", 4, {colourMsg(255, 0, 0)});
    add("LIGHT", 5, {colourMsg(255, 128, 0)});

    // SPHERE: material 0, radius 1.5, centre 0.25 0.5 0.75. A missing
    // number counts as 0; a body with no number at all is dropped.
    add("SPHERE", 0, {pointMsg(0, 0, 0), skipBodyMsg("SPHERE")});
    add("SPHERE", 1, {pointMsg(0, 0, 0), "\tmaterial = 0,\n\tradius = 0,\n"});
    add("SPHERE", 2, {pointMsg(0, 0, 0), "\tradius = 1.5,\n"});
    add("SPHERE", 3, {pointMsg(0.25, 0, 0)});
    add("SPHERE", 4, {pointMsg(0.25, 0.5, 0)});

    // TRIANGLE: material 0, vertices -1 -1 0, 1 -1 0, 0 1 0.
    add("TRIANGLE", 0, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipBodyMsg("TRIANGLE")});
    add("TRIANGLE", 1, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0)});
    add("TRIANGLE", 2, {pointMsg(-1, 0, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0)});
    add("TRIANGLE", 3, {pointMsg(-1, -1, 0), pointMsg(0, 0, 0), pointMsg(0, 0, 0)});
    add("TRIANGLE", 4, {pointMsg(0, 0, 0), pointMsg(0, 0, 0)});
    add("TRIANGLE", 5, {pointMsg(1, 0, 0), pointMsg(0, 0, 0)});
    add("TRIANGLE", 6, {pointMsg(1, -1, 0), pointMsg(0, 0, 0)});
    add("TRIANGLE", 7, {pointMsg(0, 0, 0)});
    add("TRIANGLE", 8, {pointMsg(0, 0, 0)});
    add("TRIANGLE", 9, {pointMsg(0, 1, 0)});

    // BOX: material 0, corners -1 -1 -1 and 1 1 1. glintcmd reads each
    // corner as a point, so a short corner is reported; glintview's reader
    // takes the six numbers in one conversion and reports nothing. Both count
    // what is missing as 0.
    if (program == Program::Cmd) {
        add("BOX", 0, {pointMsg(0, 0, 0), pointMsg(0, 0, 0), skipBodyMsg("BOX")});
        add("BOX", 1, {pointMsg(0, 0, 0), pointMsg(0, 0, 0)});
        add("BOX", 2, {pointMsg(-1, 0, 0), pointMsg(0, 0, 0)});
        add("BOX", 3, {pointMsg(-1, -1, 0), pointMsg(0, 0, 0)});
        add("BOX", 4, {pointMsg(0, 0, 0)});
        add("BOX", 5, {pointMsg(1, 0, 0)});
        add("BOX", 6, {pointMsg(1, 1, 0)});
    } else {
        add("BOX", 0, {"\tll = (0, 0, 0),\n\tur = (0, 0, 0)\n", skipBodyMsg("BOX")});
        add("BOX", 1, {"\tll = (0, 0, 0),\n\tur = (0, 0, 0)\n"});
        add("BOX", 2, {"\tll = (-1, 0, 0),\n\tur = (0, 0, 0)\n"});
        add("BOX", 3, {"\tll = (-1, -1, 0),\n\tur = (0, 0, 0)\n"});
        add("BOX", 4, {"\tll = (-1, -1, -1),\n\tur = (0, 0, 0)\n"});
        add("BOX", 5, {"\tll = (-1, -1, -1),\n\tur = (1, 0, 0)\n"});
        add("BOX", 6, {"\tll = (-1, -1, -1),\n\tur = (1, 1, 0)\n"});
    }
    return cases;
}

std::vector<SceneCase> fileCases(Program program)
{
    const std::string good = sceneWithout("");
    const int maxObjects = program == Program::Cmd ? 64 : 128;
    const std::string objectsPast = std::to_string(maxObjects);
    std::vector<SceneCase> cases = {
        {"empty_file", "", {}, Outcome::NoScene},
        {"binary_garbage", garbage(), {}, Outcome::NoScene},
        {"magic_word_only", "GSD", {}, Outcome::NoScene},
        {"wrong_version", "GSD 2.1\n" + good, {}, Outcome::NoScene},
        {"header_only", "GSD 2.0\n", {}, Outcome::NoCamera},
        {"header_without_line_end", "GSD 2.0", {}, Outcome::NoCamera},
        {"nul_bytes_in_a_body", gsc(good + "#LIGHT\n1 2" + std::string("\0\0\0", 3) + " 3\n"),
         {pointMsg(1, 2, 0), colourMsg(0, 0, 0)}, Outcome::Renders},
        // glibc keeps the low 32 bits of a number too large for an int:
        // 99999999999 reads as 1215752191, and 4294967296 as 0.
        {"screen_width_beyond_int", gsc(sceneWithout("CAMERA") + camera("99999999999 48")),
         {"\tscreen = 1215752191x48,\n"}, Outcome::NoImage},
        {"screen_product_beyond_int", gsc(sceneWithout("CAMERA") + camera("65536 65536")),
         {"\tscreen = 65536x65536,\n"}, Outcome::NoImage},
        {"material_index_beyond_int",
         gsc(sceneWithout("SPHERE") + "#SPHERE\n99999999999 1  0 0 0\n"),
         {"\tmaterial = 1215752191,\n",
          "\n[#] object 2 (sphere) uses material 1215752191, but the scene has 1 materials\n"},
         Outcome::NoScene},
        {"material_index_wraps_to_zero", gsc(good + "#SPHERE\n4294967296 1  3 0 0\n"),
         {"\tmaterial = 0,\n"}, Outcome::Renders},
        {"negative_material_index", gsc(good + "#SPHERE\n-1 1  3 0 0\n"),
         {"\n[#] object 3 (sphere) uses material -1, but the scene has 1 materials\n"},
         Outcome::NoScene},
        {"zero_screen", gsc(sceneWithout("CAMERA") + camera("0 0")), {"\tscreen = 0x0,\n"},
         Outcome::NoImage},
        {"negative_screen", gsc(sceneWithout("CAMERA") + camera("-4 3")), {"\tscreen = -4x3,\n"},
         Outcome::NoImage},
        {"text_before_the_first_header", gsc("stray words 1 2 3\n" + good),
         {"\n[#] skipping text before the first category\n"}, Outcome::Renders},
        // Numbers that convert but make no sense: the render goes on, with
        // whatever colours the arithmetic gives, and nothing is touched that
        // the program does not own.
        {"camera_near_zero", gsc(sceneWithout("CAMERA") + "#CAMERA\n1 2 10 1 2 0 0 1 0 60 0 100 4 3\n"),
         {"\tnear = 0,\n"}, Outcome::Renders},
        {"camera_fovy_not_a_number",
         gsc(sceneWithout("CAMERA") + "#CAMERA\n1 2 10 1 2 0 0 1 0 nan 1 100 4 3\n"),
         {"\tfovy = nan,\n"}, Outcome::Renders},
        {"camera_eye_at_its_target",
         gsc(sceneWithout("CAMERA") + "#CAMERA\n1 2 10 1 2 10 0 1 0 60 1 100 4 3\n"),
         {"\n[#] v3dNormalized: NULL VECTOR\n", "\n[#] v3dNormalized: NULL VECTOR\n"},
         Outcome::Renders},
        {"sphere_radius_infinite", gsc(good + "#SPHERE\n0 inf 0 0 0\n"), {"\tradius = inf,\n"},
         Outcome::Renders},
        {"coordinates_beyond_double", gsc(good + "#TRIANGLE\n0 1e999 0 0  0 -1e999 0  1 1 1\n"),
         {"\tv0 = (inf, 0, 0),\n"}, Outcome::Renders},
        {"light_on_a_surface", gsc(good + "#LIGHT\n1 1 1 255 255 255\n"), {}, Outcome::Renders},
        {"line_of_10000_characters_in_a_comment",
         gsc("! " + std::string(10000, 'x') + " 7 7 7\n" + good), {}, Outcome::Renders},
        {"body_line_of_10000_blanks",
         gsc(good + "#LIGHT\n" + std::string(10000, ' ') + "1 2 3 255 255 255\n"),
         {"\tpos = (1, 2, 3),\n"}, Outcome::Renders},
        {"number_of_10000_digits",
         gsc(good + "#LIGHT\n" + std::string(9999, '0') + "1 2 3 255 255 255\n"),
         {"\tpos = (1, 2, 3),\n"}, Outcome::Renders},
        // A header name longer than the loop's 512-byte buffer is no
        // category: it is reported (cut to 511 characters) and skipped.
        {"header_of_10000_letters", gsc(good + "#" + std::string(10000, 'A') + "\n1 2 3\n"),
         {"\n[#] skipping unknown category '#" + std::string(511, 'A') + "'\n"}, Outcome::Renders},
        {"texture_name_of_10000_characters",
         gsc(sceneWithout("MATERIAL") + material(std::string(10000, 't'))),
         {"\n[#] unable to load image file '" + std::string(10000, 't') + "'.\n"}, Outcome::Renders},
        {"texture_missing", gsc(sceneWithout("MATERIAL") + material("no-such.ppm")),
         {"\ttexture = 'no-such.ppm',\n", "\n[#] unable to load image file 'no-such.ppm'.\n"},
         Outcome::Renders},
        // A first line other than "P6\n" is refused without a message; a
        // directory opens but gives no first line.
        {"texture_not_a_ppm", gsc(sceneWithout("MATERIAL") + material("notppm.ppm")),
         {"\ttexture = 'notppm.ppm',\n\tn = 5,\n"}, Outcome::Renders},
        {"texture_is_a_directory", gsc(sceneWithout("MATERIAL") + material("folder")),
         {"\ttexture = 'folder',\n\tn = 5,\n"}, Outcome::Renders},
        {"texture_raster_cut_short", gsc(sceneWithout("MATERIAL") + material("short.ppm")),
         {"\n[#] image file '@/short.ppm' ends before its last pixel.\n"}, Outcome::Renders},
        {"texture_header_promises_gigapixels", gsc(sceneWithout("MATERIAL") + material("huge.ppm")),
         {"\n[#] image file '@/huge.ppm' ends before its last pixel.\n"}, Outcome::Renders},
        {"texture_header_cut_short", gsc(sceneWithout("MATERIAL") + material("header.ppm")),
         {"\ttexture = 'header.ppm',\n\tn = 5,\n"}, Outcome::Renders},
        {"texture_size_beyond_int", gsc(sceneWithout("MATERIAL") + material("overflow.ppm")),
         {"\ttexture = 'overflow.ppm',\n\tn = 5,\n"}, Outcome::Renders},
        {"texture_with_two_byte_samples", gsc(sceneWithout("MATERIAL") + material("wide.ppm")),
         {"\n[#] image file '@/wide.ppm' has two-byte samples (maximum value 65535); only "
          "one-byte samples (maximum value up to 255) are read.\n"},
         Outcome::Renders},
        {"texture_ends_after_its_maximum", gsc(sceneWithout("MATERIAL") + material("nosep.ppm")),
         {"\n[#] image file '@/nosep.ppm' ends before its last pixel.\n"}, Outcome::Renders},
        {"background_with_two_byte_samples", gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 wide.ppm\n"),
         {"\n[#] image file '@/wide.ppm' has two-byte samples (maximum value 65535); only "
          "one-byte samples (maximum value up to 255) are read.\n"},
         Outcome::Renders},
        {"background_missing", gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 no-such.ppm\n"),
         {"\n[#] unable to load image file 'no-such.ppm'.\n"}, Outcome::Renders},
        {"background_raster_cut_short", gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 short.ppm\n"),
         {"\n[#] image file '@/short.ppm' ends before its last pixel.\n"}, Outcome::Renders},
        {"background_is_a_directory", gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 folder\n"), {},
         Outcome::Renders},
        {"second_camera", gsc(good + camera("8 6")),
         {"\tscreen = 8x6,\n", "\n[#] skipping category '#CAMERA': a scene holds at most 1 camera\n"},
         Outcome::Renders},
        {"second_background_image",
         gsc(sceneWithout("SCENE") + "#SCENE\n1 2 3 good.ppm\n4 5 6 good.ppm\n"),
         {"\n[#] skipping category '#SCENE': a scene holds at most 1 background image\n"},
         Outcome::Renders},
        {"ninth_light", gsc(good + repeat("#LIGHT\n1 1 1 9 9 9\n", 8)),
         {"\n[#] skipping category '#LIGHT': a scene holds at most 8 lights\n"}, Outcome::Renders},
        {"sixty_fifth_material", gsc(good + repeat(material("null"), 64)),
         {"\n[#] skipping category '#MATERIAL': a scene holds at most 64 materials\n"},
         Outcome::Renders},
        // The fixture has 3 objects. glintcmd's table holds 64 objects,
        // glintview's 128.
        {"object_past_the_table", gsc(good + repeat("#SPHERE\n0 1 0 0 0\n", maxObjects - 2)),
         {"\n[#] skipping category '#SPHERE': a scene holds at most " + objectsPast + " objects\n"},
         Outcome::Renders},
        {"objects_filling_the_table", gsc(good + repeat("#BOX\n0 0 0 0 1 1 1\n", maxObjects - 3)),
         {}, Outcome::Renders},
        // A 65th object that names no material: glintcmd drops it at its
        // limit before the materials are checked; glintview keeps it.
        {"sixty_fifth_object_naming_no_material",
         gsc(good + repeat("#SPHERE\n0 1 0 0 0\n", 61) + "#SPHERE\n7 1 0 0 0\n"),
         {program == Program::Cmd
              ? "\n[#] skipping category '#SPHERE': a scene holds at most 64 objects\n"
              : "\n[#] object 64 (sphere) uses material 7, but the scene has 1 materials\n"},
         program == Program::Cmd ? Outcome::Renders : Outcome::NoScene},
    };
    return cases;
}

std::ostream &operator<<(std::ostream &os, const SceneCase &c) { return os << c.name; }

void expectInOrder(const std::string &text, const std::vector<std::string> &messages,
                   const std::string &folder)
{
    std::string::size_type at = 0;
    for (std::string m : messages) {
        for (std::string::size_type p; (p = m.find("@/")) != std::string::npos;)
            m.replace(p, 2, folder);
        std::string::size_type found = text.find(m, at);
        if (found == std::string::npos) {
            ADD_FAILURE() << "expected, after offset " << at << ":\n"
                          << m << "\n--- in the output:\n"
                          << text;
            return;
        }
        at = found + m.size();
    }
}

}  // namespace badinput
