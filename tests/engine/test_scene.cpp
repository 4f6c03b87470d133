// The scene model and the scene file reader: the pre-pass, headers, the
// category loop, and what the reader does with files that go wrong.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/image.h"
#include "engine/scene.h"
#include "tests/support.h"

namespace {

struct SceneFree {
    void operator()(Scene *s) const { sceDestroy(s); }
};
using ScenePtr = std::unique_ptr<Scene, SceneFree>;

// Reads the scene file at path; out receives the masked output.
ScenePtr readPath(const std::string &path, std::string *out)
{
    Scene *scene = nullptr;
    std::string text = captureStdout([&] { scene = sceReadFile(path.c_str()); });
    if (out != nullptr)
        *out = maskPrefixes(text);
    return ScenePtr(scene);
}

// Writes text as a scene file in a fresh folder and reads it.
class SceneFile : public ::testing::Test {
protected:
    ScenePtr read(const std::string &text, std::string *out = nullptr)
    {
        return readPath(dir.write("scene.gsc", text), out);
    }
    TempDir dir;
};

const char *const SMALL_FILE =
    "GSD 2.0 ! a test scene\n"
    "#CAMERA\n"
    "0 0 10   0 0 0   0 1 0\n"
    "60\n"
    "1 100\n"
    "320 240\n"
    "#Scene\n"
    "0 0 0 null\n"
    "#MATERIAL\n"
    "255 0 0   255 0 0   255 255 255\n"
    "20 0.5 0 1 null\n"
    "#LIGHT\n"
    "10 10 10   255 255 255\n"
    "#SPHERE\n"
    "0 1   0 0 0\n"
    "0 0.5   2 0 0\n";

const char *const SMALL_ECHO =
    "\n[#] read camera:\n\teye = (0, 0, 10),\n\tat = (0, 0, 0),\n\tup = (0, 1, 0),\n"
    "\tfovy = 60,\n\tnear = 1,\n\tfar = 100,\n\tscreen = 320x240,\n"
    "\n[#] read material:\n\tambient = (1, 0, 0)\n\tdiffuse = (1, 0, 0)\n"
    "\tspecular = (1, 1, 1),\n\ttexture = 'null',\n\tn = 20,\n\treflect = 0.5,\n"
    "\trefract = 0,\n\topacity = 1\n"
    "\n[#] read light:\n\tpos = (10, 10, 10),\n\tcolor = (1, 1, 1)\n"
    "\n[#] read sphere:\n\tmaterial = 0,\n\tradius = 1,\n\tcenter = (0, 0, 0)\n"
    "\n[#] read sphere:\n\tmaterial = 0,\n\tradius = 0.5,\n\tcenter = (2, 0, 0)\n";

const char *const SPHERE_ECHO =
    "\n[#] read sphere:\n\tmaterial = 0,\n\tradius = 1,\n\tcenter = (0, 0, 0)\n";
const char *const LIGHT_ECHO = "\n[#] read light:\n\tpos = (1, 2, 3),\n\tcolor = (1, 1, 1)\n";
const char *const ONE_MATERIAL = "#MATERIAL\n0 0 0 0 0 0 0 0 0 1 0 0 1 null\n";
const char *const MATERIAL_ECHO =
    "\n[#] read material:\n\tambient = (0, 0, 0)\n\tdiffuse = (0, 0, 0)\n"
    "\tspecular = (0, 0, 0),\n\ttexture = 'null',\n\tn = 1,\n\treflect = 0,\n"
    "\trefract = 0,\n\topacity = 1\n";

const char *const PPM_2X1 = "P6\n2 1\n255\n\x01\x02\x03\x04\x05\x06";

std::string repeat(const std::string &s, int n)
{
    std::string r;
    for (int i = 0; i < n; i++)
        r += s;
    return r;
}

int countOf(const std::string &text, const std::string &part)
{
    int n = 0;
    for (std::string::size_type at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size()))
        n++;
    return n;
}

bool endsWith(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const Sphere *sphereAt(const Scene *scene, int idx)
{
    const Object *obj = sceGetObject(scene, idx);
    EXPECT_EQ(obj->type, SPHERE);
    return static_cast<const Sphere *>(obj->data);
}

// The whole content of the pre-pass's copy of text (as a scene file).
std::string prepass(const std::string &text, bool *accepted)
{
    std::FILE *tmp = scePreprocess(streamOf(text));
    *accepted = tmp != nullptr;
    std::string copy;
    if (tmp != nullptr) {
        int c;
        while ((c = std::getc(tmp)) != EOF)
            copy += static_cast<char>(c);
        std::fclose(tmp);
    }
    return copy;
}

}  // namespace

// ---- the pre-pass ----

TEST(ScePreprocess, ChecksTheHeaderWords)
{
    struct Case {
        const char *text;
        bool accepted;
    };
    const Case cases[] = {
        {"GSD 2.0", true},          {"\n\n  GSD\n\t2.0\n#LIGHT\n", true},
        {"GSD 2.1\n", false},       {"GSD", false},
        {"gsd 2.0\n", false},       {"GSD! 2.0\n", false},
        {"! GSD 2.0\n", false},     {"GSD 2.0! x\n", false},
        {"", false},                {"GSD 2.00\n", false},
    };
    for (const Case &c : cases) {
        bool accepted = false;
        prepass(c.text, &accepted);
        EXPECT_EQ(accepted, c.accepted) << c.text;
    }
}

TEST(ScePreprocess, CutsCommentsAndEndsEveryLine)
{
    bool accepted = false;
    std::string copy = prepass("GSD 2.0 ! header comment\n"
                               "#CAMERA \t! after a blank and a tab\n"
                               "1 2 3\n"
                               "   ! a whole-line comment\n"
                               "name!cut ! second\n"
                               "\r\n"
                               "4 5 6 ! no line end",
                               &accepted);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(copy, "\n#CAMERA\n1 2 3\n\nname\n\r\n4 5 6\n");
}

TEST(ScePreprocess, LongLinesStayWholeAndTheirCommentsEnd)
{
    // Past 1023 characters a number goes on unbroken, and a comment runs to
    // the true end of its line.
    std::string line = std::string(1020, ' ') + "123456 ! " + std::string(4000, 'c') + " 7 8 9";
    bool accepted = false;
    std::string copy = prepass("GSD 2.0\n" + line + "\nlast", &accepted);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(copy, "\n" + std::string(1020, ' ') + "123456\nlast\n");
}

// ---- headers ----

TEST(SceReadCategory, ReadsOneHeader)
{
    struct Case {
        const char *text;
        int result;
        const char *name;  // the buffer afterwards; it starts as "OLD"
        const char *rest;  // what stays unread
    };
    const Case cases[] = {
        {"#SPHERE\n1 2", 1, "SPHERE", "1 2"},
        {"\n \t#sphere\n", 1, "SPHERE", ""},
        {"#sPhErE\r\n1", 1, "SPHERE", "1"},
        // A carriage return ends the name; the rest of the line goes unread.
        {"#Light\rjunk 1 2\n3", 1, "LIGHT", "3"},
        {"#LIGHT", 1, "LIGHT", ""},
        {"#\n", 1, "", ""},
        {"#SPHERE \n1", 0, "SPHERE \n", "1"},
        {"# SPHERE\n", 0, " SPHERE\n", ""},
        {"#sph3re x\n", 0, "SPH3re x\n", ""},
        {"  1 2 3\n", 0, "OLD", "1 2 3\n"},
        {"  \n", 0, "OLD", ""},
        {"#", 0, "OLD", ""},
    };
    for (const Case &c : cases) {
        std::FILE *fp = streamOf(c.text);
        char name[512] = "OLD";
        EXPECT_EQ(sceReadCategory(fp, name, 512), c.result) << c.text;
        EXPECT_STREQ(name, c.name) << c.text;
        std::string rest;
        int ch;
        while ((ch = std::getc(fp)) != EOF)
            rest += static_cast<char>(ch);
        EXPECT_EQ(rest, c.rest) << c.text;
        std::fclose(fp);
    }
}

TEST(SceReadCategory, NameLongerThanTheBufferIsNoCategory)
{
    std::FILE *fp = streamOf("#" + std::string(600, 'a') + "\n1 2 3\n");
    char name[512];
    EXPECT_EQ(sceReadCategory(fp, name, 512), 0);
    EXPECT_EQ(std::string(name), std::string(511, 'A'));
    // The whole header line is consumed: its tail does not become a body.
    EXPECT_EQ(std::getc(fp), '1');
    std::fclose(fp);
}

TEST(SceNextCategory, SkipsToTheNextHeader)
{
    std::FILE *fp = streamOf("1 2 3 x\n  #Light\n4");
    char name[512] = "";
    EXPECT_EQ(sceNextCategory(fp, name, 512), 1);
    EXPECT_STREQ(name, "LIGHT");
    EXPECT_EQ(std::getc(fp), '4');
    std::fclose(fp);

    fp = streamOf("1 2 3\n");
    EXPECT_EQ(sceNextCategory(fp, name, 512), 0);
    EXPECT_TRUE(std::feof(fp));
    std::fclose(fp);
}

// ---- whole files ----

TEST_F(SceneFile, SmallFileFieldByField)
{
    std::string out;
    ScenePtr scene = read(SMALL_FILE, &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, SMALL_ECHO);

    const Camera *cam = sceGetCamera(scene.get());
    ASSERT_NE(cam, nullptr);
    EXPECT_EQ(cam->eye.z, 10);
    EXPECT_EQ(cam->up.y, 1);
    EXPECT_EQ(cam->fovy, 60);
    EXPECT_EQ(cam->near, 1);
    EXPECT_EQ(cam->far, 100);
    EXPECT_EQ(camGetScreenWidth(cam), 320);
    EXPECT_EQ(camGetScreenHeight(cam), 240);

    Color bg = sceGetBackground(scene.get());
    EXPECT_EQ(bg.red, 0);
    EXPECT_EQ(bg.green, 0);
    EXPECT_EQ(bg.blue, 0);

    ASSERT_EQ(sceGetMaterialCount(scene.get()), 1);
    Material mat = sceGetMaterial(scene.get(), 0);
    EXPECT_EQ(mat.texture, nullptr);
    EXPECT_EQ(mat.ambient.red, 1);
    EXPECT_EQ(mat.diffuse.green, 0);
    EXPECT_EQ(mat.specular.blue, 1);
    EXPECT_EQ(mat.n, 20);
    EXPECT_EQ(mat.reflect, 0.5);
    EXPECT_EQ(mat.refract, 0);
    EXPECT_EQ(mat.opacity, 1);

    ASSERT_EQ(sceGetLightCount(scene.get()), 1);
    Light light = sceGetLight(scene.get(), 0);
    EXPECT_EQ(light.pos.x, 10);
    EXPECT_EQ(light.color.green, 1);

    ASSERT_EQ(sceGetObjectCount(scene.get()), 2);
    EXPECT_EQ(sphereAt(scene.get(), 0)->radius, 1);
    EXPECT_EQ(sphereAt(scene.get(), 1)->radius, 0.5);
    EXPECT_EQ(sphereAt(scene.get(), 1)->center.x, 2);
    EXPECT_EQ(objGetMaterial(sceGetObject(scene.get(), 1)), 0);
}

TEST_F(SceneFile, HeaderWordsAloneGiveAnEmptyScene)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, "");
    EXPECT_EQ(sceGetCamera(scene.get()), nullptr);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 0);
    EXPECT_EQ(sceGetLightCount(scene.get()), 0);
    EXPECT_EQ(sceGetMaterialCount(scene.get()), 0);
    // No SCENE category: a black background.
    Color bg = sceGetBackground(scene.get());
    EXPECT_EQ(bg.red + bg.green + bg.blue, 0);
}

TEST_F(SceneFile, WrongHeaderOrMissingFileGivesNoSceneSilently)
{
    const char *const texts[] = {"GSD 2.1\n#LIGHT\n1 2 3 255 255 255\n", "GSD", "!\n"};
    for (const char *text : texts) {
        std::string out;
        EXPECT_EQ(read(text, &out), nullptr) << text;
        EXPECT_EQ(out, "");
    }
    std::string out;
    EXPECT_EQ(readPath(dir.file("absent.gsc"), &out), nullptr);
    EXPECT_EQ(out, "");
}

TEST_F(SceneFile, VersionLineMayGoOnWithAHeader)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0 #LIGHT\n1 2 3 255 255 255\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    EXPECT_EQ(out, LIGHT_ECHO);
}

TEST_F(SceneFile, HeaderCaseAndComments)
{
    const char *const headers[] = {"#sphere\n", "#Sphere\n", "#SPHERE ! spheres follow\n",
                                   "#SPHERE\t!\n"};
    for (const char *header : headers) {
        std::string out;
        ScenePtr scene =
            read(std::string("GSD 2.0\n") + ONE_MATERIAL + header + "0 1 0 0 0\n", &out);
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(sceGetObjectCount(scene.get()), 1) << header;
        EXPECT_EQ(out, std::string(MATERIAL_ECHO) + SPHERE_ECHO) << header;
    }
}

TEST_F(SceneFile, HeaderWithABlankAndNoCommentIsUnknown)
{
    std::string out;
    ScenePtr scene =
        read("GSD 2.0\n#SPHERE \n0 1 0 0 0\n#LIGHT\n1 2 3 255 255 255\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 0);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    EXPECT_EQ(out, "\n[#] skipping unknown category '#SPHERE \n'\n" + std::string(LIGHT_ECHO));
}

TEST_F(SceneFile, RepeatedBodiesAreNumberedInFileOrder)
{
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL +
                          "#SPHERE\n0 1 0 0 0\n0 2 0 0 0   0 3\n0 0 0\n");
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetObjectCount(scene.get()), 3);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(sphereAt(scene.get(), i)->radius, i + 1);
}

TEST_F(SceneFile, UnknownCategoryAndItsBodyAreSkipped)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#FOG\n0.5 1 2\nthick\n#LIGHT\n1 2 3 255 255 255\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    EXPECT_EQ(out, "\n[#] skipping unknown category '#FOG'\n" + std::string(LIGHT_ECHO));
}

TEST_F(SceneFile, KnownHeaderWithoutBodyAfterAnUnknownOneIsDropped)
{
    std::string out;
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL +
                              "#FOG\n#LIGHT\n#SPHERE\n0 1 0 0 0\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 0);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 1);
    EXPECT_EQ(out, std::string(MATERIAL_ECHO) + "\n[#] skipping unknown category '#FOG'\n" +
                       SPHERE_ECHO);
}

TEST_F(SceneFile, KnownHeaderAtTheEndAfterAnUnknownOneIsDroppedSilently)
{
    // Without the unknown header before it, the same #LIGHT gets "its body
    // could not be read".
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#FOG\n#LIGHT\n \n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 0);
    EXPECT_EQ(out, "\n[#] skipping unknown category '#FOG'\n");
}

TEST_F(SceneFile, InvalidHeaderAfterAnUnknownOneIsReportedAndReadingGoesOn)
{
    std::string out;
    ScenePtr scene = read(
        "GSD 2.0\n#FOG\n1\n#MIST 2\n3\n#HAZE!\n4\n#LIGHT\n1 2 3 255 255 255\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    EXPECT_EQ(out, "\n[#] skipping unknown category '#FOG'\n"
                   "\n[#] skipping unknown category '#MIST 2\n'\n"
                   "\n[#] skipping unknown category '#HAZE'\n" +
                       std::string(LIGHT_ECHO));
}

TEST_F(SceneFile, CarriageReturnLineEndsReadAsLineFeeds)
{
    std::string crlf;
    for (const char *p = SMALL_FILE; *p != '\0'; p++) {
        if (*p == '\n')
            crlf += '\r';
        crlf += *p;
    }
    std::string out;
    ScenePtr scene = read(crlf, &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, SMALL_ECHO);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 2);
    EXPECT_EQ(camGetScreenHeight(sceGetCamera(scene.get())), 240);
}

TEST_F(SceneFile, LongLineWithACommentIsReadWhole)
{
    // The sphere's centre straddles character 1023; the comment that follows
    // holds what would read as a second sphere if it were cut into pieces.
    std::string line = "0 1 0 0" + std::string(1012, ' ') + "12345 ! " +
                       repeat("0 2 0 0 0 ", 400) + "\n";
    ASSERT_GT(line.size(), 5000u);
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL + "#SPHERE\n" + line);
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetObjectCount(scene.get()), 1);
    EXPECT_EQ(sphereAt(scene.get(), 0)->center.z, 12345);
}

TEST_F(SceneFile, FileWithoutFinalLineEnd)
{
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL + "#SPHERE\n0 1 0 0 5");
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetObjectCount(scene.get()), 1);
    EXPECT_EQ(sphereAt(scene.get(), 0)->center.z, 5);
}

TEST_F(SceneFile, OctalAndHexMaterialIndices)
{
    ScenePtr scene = read("GSD 2.0\n#MATERIAL\n" + repeat("0 0 0 0 0 0 0 0 0 1 0 0 1 null\n", 17) +
                          "#BOX\n010 0 0 0 1 1 1\n0x10 0 0 0 1 1 1\n");
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetObjectCount(scene.get()), 2);
    EXPECT_EQ(objGetMaterial(sceGetObject(scene.get(), 0)), 8);
    EXPECT_EQ(objGetMaterial(sceGetObject(scene.get(), 1)), 16);
}

TEST_F(SceneFile, SwappedBoxCorners)
{
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL + "#BOX\n0  1 5 2  0 7 3\n");
    ASSERT_NE(scene, nullptr);
    const Box *box = static_cast<const Box *>(sceGetObject(scene.get(), 0)->data);
    EXPECT_EQ(box->ll.x, 0);
    EXPECT_EQ(box->ll.y, 5);
    EXPECT_EQ(box->ll.z, 2);
    EXPECT_EQ(box->ur.x, 1);
    EXPECT_EQ(box->ur.y, 7);
    EXPECT_EQ(box->ur.z, 3);
}

TEST_F(SceneFile, CameraWhoseFovyIsNotANumber)
{
    std::string out;
    ScenePtr scene = read(
        "GSD 2.0\n#CAMERA\n0 0 10 0 0 0 0 1 0\nwide\n1 100\n320 240\n#LIGHT\n1 2 3 255 255 255\n",
        &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetCamera(scene.get()), nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    // No camera echo; the rest of the body is skipped to the next header.
    EXPECT_EQ(out, "\n[#] skipping category '#CAMERA': its body could not be read\n" +
                       std::string(LIGHT_ECHO));
}

TEST_F(SceneFile, BackgroundImageAndTexturesLoad)
{
    dir.write("bg.ppm", std::string(PPM_2X1, 17));
    std::string tex = dir.write("tex.ppm", std::string(PPM_2X1, 17));
    std::string out;
    // The texture by its full path, the background by a name relative to the
    // scene file's folder.
    ScenePtr scene = read("GSD 2.0\n#SCENE\n255 0 51 bg.ppm\n#MATERIAL\n"
                          "0 0 0 0 0 0 0 0 0 1 0 0 1 " + tex + "\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    Color bg = sceGetBackground(scene.get());
    EXPECT_EQ(bg.red, 1);
    EXPECT_DOUBLE_EQ(bg.blue, 0.2);
    Material mat = sceGetMaterial(scene.get(), 0);
    ASSERT_NE(mat.texture, nullptr);
    EXPECT_EQ(imgGetBlue(mat.texture, 0, 0), 3);
    EXPECT_EQ(out.find("unable"), std::string::npos) << out;
}

TEST_F(SceneFile, ImageThatLoadsNeitherWayIsReportedAsWritten)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#SCENE\n0 0 0 sub/missing.ppm\n#SCENE\n1 1 1 null\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, "\n[#] unable to load image file 'sub/missing.ppm'.\n");
    // No image was loaded, so the second SCENE still counts.
    EXPECT_DOUBLE_EQ(sceGetBackground(scene.get()).red, 1 / 255.0);
}

TEST_F(SceneFile, KnowsTheFilesItWasReadFromAsTheFileSystemDoes)
{
    for (const char *name : {"bg.ppm", "dropped.ppm", "tex.ppm", "other.ppm"})
        dir.write(name, std::string(PPM_2X1, 17));
    // A background image, a second one that the reader opens and drops, and
    // a texture, all found beside the scene file.
    ScenePtr scene = read("GSD 2.0\n#SCENE\n0 0 0 bg.ppm\n0 0 0 dropped.ppm\n#MATERIAL\n"
                          "0 0 0 0 0 0 0 0 0 1 0 0 1 tex.ppm\n");
    ASSERT_NE(scene, nullptr);
    const Scene *s = scene.get();
    std::filesystem::create_symlink(dir.file("tex.ppm"), dir.file("link.ppm"));
    std::filesystem::create_hard_link(dir.file("bg.ppm"), dir.file("hard.ppm"));
    const struct {
        std::string name;
        int expected;
    } cases[] = {
        {dir.file("scene.gsc"), SCENE_FILE},
        {dir.path() + "/./scene.gsc", SCENE_FILE},
        {dir.file("bg.ppm"), SCENE_IMAGE},
        {dir.file("dropped.ppm"), SCENE_IMAGE},
        {dir.file("tex.ppm"), SCENE_IMAGE},
        {dir.file("link.ppm"), SCENE_IMAGE},
        {dir.file("hard.ppm"), SCENE_IMAGE},
        {dir.file("other.ppm"), 0},
        {dir.file("missing.ppm"), 0},
        {dir.path(), 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sceReadFrom(s, c.name.c_str()), c.expected) << c.name;
}

// ---- limits: the body is read, its item discarded and reported ----

TEST_F(SceneFile, SecondCameraIsReadAndDiscarded)
{
    const std::string camera = "#CAMERA\n0 0 10 0 0 0 0 1 0 60 1 100 320 240\n";
    std::string out;
    ScenePtr scene = read("GSD 2.0\n" + camera +
                              "#CAMERA\n1 1 1 0 0 0 0 1 0 30 1 50 64 48\n#LIGHT\n1 2 3 255 255 255\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(camGetScreenWidth(sceGetCamera(scene.get())), 320);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    EXPECT_EQ(out,
              "\n[#] read camera:\n\teye = (0, 0, 10),\n\tat = (0, 0, 0),\n\tup = (0, 1, 0),\n"
              "\tfovy = 60,\n\tnear = 1,\n\tfar = 100,\n\tscreen = 320x240,\n"
              "\n[#] read camera:\n\teye = (1, 1, 1),\n\tat = (0, 0, 0),\n\tup = (0, 1, 0),\n"
              "\tfovy = 30,\n\tnear = 1,\n\tfar = 50,\n\tscreen = 64x48,\n"
              "\n[#] skipping category '#CAMERA': a scene holds at most 1 camera\n" +
                  std::string(LIGHT_ECHO));
}

TEST_F(SceneFile, SceneAfterALoadedImageIsReadAndDiscarded)
{
    dir.write("bg.ppm", std::string(PPM_2X1, 17));
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#SCENE\n255 0 0 bg.ppm\n0 255 0 bg.ppm\n0 0 255 gone.ppm\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetBackground(scene.get()).red, 1);
    EXPECT_EQ(sceGetBackground(scene.get()).green, 0);
    EXPECT_EQ(out, "\n[#] skipping category '#SCENE': a scene holds at most 1 background image\n"
                   "\n[#] unable to load image file 'gone.ppm'.\n"
                   "\n[#] skipping category '#SCENE': a scene holds at most 1 background image\n");
}

TEST_F(SceneFile, MaterialsPastTheLimitAreReadAndDiscarded)
{
    std::string tex = dir.write("tex.ppm", std::string(PPM_2X1, 17));
    std::string body = "0 0 0 0 0 0 0 0 0 1 0 0 1 " + tex + "\n";
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#MATERIAL\n" + repeat(body, MAX_MATERIALS + 2), &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetMaterialCount(scene.get()), MAX_MATERIALS);
    EXPECT_NE(sceGetMaterial(scene.get(), MAX_MATERIALS - 1).texture, nullptr);
    const std::string limit =
        "\n[#] skipping category '#MATERIAL': a scene holds at most 64 materials\n";
    // Both extra bodies are echoed (and their textures loaded), then discarded.
    EXPECT_EQ(countOf(out, "\n[#] read material:\n"), MAX_MATERIALS + 2);
    EXPECT_EQ(countOf(out, limit), 2);
    EXPECT_TRUE(endsWith(out, limit));
}

TEST_F(SceneFile, LightsPastTheLimitAreReadAndDiscarded)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#LIGHT\n" + repeat("1 2 3 255 255 255\n", MAX_LIGHTS + 1) +
                              std::string(ONE_MATERIAL) + "#SPHERE\n0 1 0 0 0\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), MAX_LIGHTS);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 1);
    EXPECT_EQ(out, repeat(LIGHT_ECHO, MAX_LIGHTS + 1) +
                       "\n[#] skipping category '#LIGHT': a scene holds at most 8 lights\n" +
                       MATERIAL_ECHO + SPHERE_ECHO);
}

TEST_F(SceneFile, ObjectsPastTheLimitAreReadAndDiscarded)
{
    std::string out;
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL + "#SPHERE\n" +
                              repeat("0 1 0 0 0\n", MAX_OBJECTS) + "#TRIANGLE\n0 0 0 0 1 0 0 0 1 0\n" +
                              "#BOX\n0 0 0 0 1 1 1\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetObjectCount(scene.get()), MAX_OBJECTS);
    const std::string limit = "a scene holds at most " + std::to_string(MAX_OBJECTS) + " objects\n";
    EXPECT_NE(out.find("'#TRIANGLE': " + limit), std::string::npos);
    EXPECT_TRUE(endsWith(out, "'#BOX': " + limit));
    EXPECT_NE(out.find("read triangle"), std::string::npos);
}

// ---- bodies that cannot be read ----

TEST_F(SceneFile, BodyOfLettersIsReportedAndSkipped)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#LIGHT\nbright light 1 2 3\n4 5 6\n#LIGHT\n1 2 3 255 255 255\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetLightCount(scene.get()), 1);
    EXPECT_EQ(sceGetLight(scene.get(), 0).pos.x, 1);
    EXPECT_EQ(out, "\n[#] can't read point (0, 0, 0)\n"
                   "[#] error reading color components (0, 0, 0)\n"
                   "\n[#] read light:\n\tpos = (0, 0, 0),\n\tcolor = (0, 0, 0)\n"
                   "\n[#] skipping category '#LIGHT': its body could not be read\n" +
                       std::string(LIGHT_ECHO));
}

TEST_F(SceneFile, HeaderFollowedByAHeaderStoresNothing)
{
    // Also with blank lines between, and at the very end of the file.
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#LIGHT\n\n\n#MATERIAL\n\n#SPHERE\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 0);
    EXPECT_EQ(sceGetMaterialCount(scene.get()), 0);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 0);
    EXPECT_NE(out.find("'#LIGHT': its body could not be read"), std::string::npos);
    EXPECT_NE(out.find("'#MATERIAL': its body could not be read"), std::string::npos);
    EXPECT_NE(out.find("'#SPHERE': its body could not be read"), std::string::npos);
}

TEST_F(SceneFile, RepeatedBodyFollowedByGarbageEnds)
{
    std::string out;
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL + "#SPHERE\n0 1 0 0 0 oops\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 1);
    EXPECT_TRUE(endsWith(out, "\n[#] skipping category '#SPHERE': its body could not be read\n"));
}

TEST_F(SceneFile, TextBeforeTheFirstHeaderIsSkipped)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n1 2 3 stray words\n#LIGHT\n1 2 3 255 255 255\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    EXPECT_EQ(out, "\n[#] skipping text before the first category\n" + std::string(LIGHT_ECHO));
}

TEST_F(SceneFile, FileNameIsNeverTakenFromAHeader)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#SCENE\n10 20 30\n#MATERIAL\n0 0 0 0 0 0 0 0 0 1 0 0 1\n"
                          "#LIGHT\n1 2 3 255 255 255\n#SCENE\n1 2 3",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetMaterialCount(scene.get()), 1);
    EXPECT_EQ(sceGetMaterial(scene.get(), 0).texture, nullptr);
    EXPECT_EQ(sceGetLightCount(scene.get()), 1);
    // The last SCENE, whose word is missing at the end, still counts.
    EXPECT_DOUBLE_EQ(sceGetBackground(scene.get()).blue, 3 / 255.0);
    EXPECT_EQ(out, std::string(MATERIAL_ECHO) + LIGHT_ECHO);
}

TEST_F(SceneFile, LongImageNameIsKeptWhole)
{
    std::string name(2000, 'n');
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#SCENE\n0 0 0 " + name + "\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, "\n[#] unable to load image file '" + name + "'.\n");
}

// ---- words where numbers are due ----

TEST_F(SceneFile, WordReportsEveryPointFromItOnAndKeepsTheItem)
{
    // The word cuts the second corner short; the third is never reached.
    std::string out;
    ScenePtr scene =
        read(std::string("GSD 2.0\n") + ONE_MATERIAL + "#TRIANGLE\n0  0 0 0  1 q 0  0 1 0\n", &out);
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetObjectCount(scene.get()), 1);
    const Triangle *tri = static_cast<const Triangle *>(sceGetObject(scene.get(), 0)->data);
    EXPECT_EQ(tri->v1.x, 1.0);
    EXPECT_EQ(tri->v2.y, 0.0);
    const std::string zeros = "\n[#] can't read point (0, 0, 0)\n";
    EXPECT_EQ(out, std::string(MATERIAL_ECHO) + "\n[#] can't read point (1, 0, 0)\n" + zeros +
                       "\n[#] read triangle:\n\tmaterial = 0,\n\tv0 = (0, 0, 0),\n"
                       "\tv1 = (1, 0, 0),\n\tv2 = (0, 0, 0)\n" +
                       zeros + zeros + zeros +
                       "\n[#] read triangle:\n\tmaterial = 0,\n\tv0 = (0, 0, 0),\n"
                       "\tv1 = (0, 0, 0),\n\tv2 = (0, 0, 0)\n"
                       "\n[#] skipping category '#TRIANGLE': its body could not be read\n");
}

TEST_F(SceneFile, WordInABackgroundIsItsImageAndTheRestIsMoreBodies)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#SCENE\n50 60 abc 70 80 90 null\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_DOUBLE_EQ(sceGetBackground(scene.get()).red, 70 / 255.0);
    EXPECT_DOUBLE_EQ(sceGetBackground(scene.get()).blue, 90 / 255.0);
    EXPECT_EQ(out, "[#] error reading color components (50, 60, 0)\n"
                   "\n[#] unable to load image file 'abc'.\n");

    // A body that begins with a word is read, not dropped: it gives black.
    scene = read("GSD 2.0\n#SCENE\n200 150 100 null\nabc\n", &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetBackground(scene.get()).red, 0.0);
    EXPECT_EQ(out, "[#] error reading color components (0, 0, 0)\n"
                   "\n[#] unable to load image file 'abc'.\n");
}

TEST_F(SceneFile, MissingFileNameTakesTheFirstFieldOfTheNextBody)
{
    ScenePtr scene = read("GSD 2.0\n#MATERIAL\n1 2 3 4 5 6 7 8 9 10 0 0 1\n"
                          "1 2 3 4 5 6 7 8 9 10 0 0 1 null\n");
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetMaterialCount(scene.get()), 2);
    EXPECT_DOUBLE_EQ(sceGetMaterial(scene.get(), 1).ambient.red, 2 / 255.0);
}

TEST_F(SceneFile, InfinityAndNanAreReals)
{
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL +
                          "#SPHERE\n0 -InFiNiTy 1 2 3\n#LIGHT\n0 0 0  nan 300 -5\n");
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(sceGetObjectCount(scene.get()), 1);
    EXPECT_EQ(sphereAt(scene.get(), 0)->radius, -INFINITY);
    EXPECT_EQ(sphereAt(scene.get(), 0)->center.z, 3.0);
    const Color c = sceGetLight(scene.get(), 0).color;
    EXPECT_EQ(c.red, 0.0);
    EXPECT_EQ(c.green, 1.0);
    EXPECT_EQ(c.blue, 0.0);
}

// ---- long header names ----

TEST_F(SceneFile, ReportedNamesAreCutTo511Characters)
{
    const std::string letters(600, 'q');
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#" + letters + "\n1\n#" + letters + "2\n1\n", &out);
    ASSERT_NE(scene, nullptr);
    const std::string shown = "#" + std::string(511, 'Q') + "'\n";
    EXPECT_EQ(out, "\n[#] skipping unknown category '" + shown +
                       "\n[#] skipping unknown category '" + shown);
}

TEST_F(SceneFile, NulByteEndsTheReportedName)
{
    std::string out;
    ScenePtr scene = read(std::string("GSD 2.0\n#SPH\0ERE\n1\n", 19), &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, "\n[#] skipping unknown category '#SPH'\n");
}

TEST_F(SceneFile, AfterAnUnknownCategoryOnlyAHeaderOfAtMost511LettersIsDroppedSilently)
{
    std::string out;
    ScenePtr scene = read("GSD 2.0\n#FOG\n#" + std::string(511, 'A') + "\n#LIGHT\n1 2 3 255 255 255\n",
                          &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, "\n[#] skipping unknown category '#FOG'\n" + std::string(LIGHT_ECHO));

    scene = read("GSD 2.0\n#FOG\n#" + std::string(512, 'A') + "\n#LIGHT\n1 2 3 255 255 255\n",
                 &out);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(out, "\n[#] skipping unknown category '#FOG'\n"
                   "\n[#] skipping unknown category '#" +
                       std::string(511, 'A') + "'\n" + LIGHT_ECHO);
}

// ---- material indices ----

TEST_F(SceneFile, MaterialMayFollowTheObjectsThatUseIt)
{
    ScenePtr scene = read(std::string("GSD 2.0\n#SPHERE\n0 1 0 0 0\n") + ONE_MATERIAL);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sceGetObjectCount(scene.get()), 1);
}

TEST_F(SceneFile, IndexThatNamesNoMaterialGivesNoScene)
{
    std::string out;
    ScenePtr scene = read(std::string("GSD 2.0\n") + ONE_MATERIAL +
                              "#SPHERE\n0 1 0 0 0\n1 1 0 0 0\n#BOX\n-1 0 0 0 1 1 1\n",
                          &out);
    EXPECT_EQ(scene, nullptr);
    std::string::size_type echoes = out.rfind("\tur = (1, 1, 1)\n");
    ASSERT_NE(echoes, std::string::npos);
    EXPECT_EQ(out.substr(echoes + 16),
              "\n[#] object 1 (sphere) uses material 1, but the scene has 1 materials\n"
              "\n[#] object 2 (box) uses material -1, but the scene has 1 materials\n");
}

// ---- the bundled examples ----

TEST(Examples, EveryExampleSceneReads)
{
    namespace fs = std::filesystem;
    std::vector<std::string> good;
    for (const auto &entry : fs::directory_iterator(sourceDir() + "/examples"))
        if (entry.path().extension() == ".gsc")
            good.push_back(entry.path().string());
    ASSERT_GE(good.size(), 2u);
    for (const std::string &path : good) {
        std::string out;
        ScenePtr scene = readPath(path, &out);
        ASSERT_NE(scene, nullptr) << path;
        EXPECT_NE(sceGetCamera(scene.get()), nullptr) << path;
        EXPECT_GT(sceGetObjectCount(scene.get()), 0) << path;
        EXPECT_GT(sceGetLightCount(scene.get()), 0) << path;
        // A good example gives nothing but echoes.
        EXPECT_EQ(out.find("skipping"), std::string::npos) << path << out;
        EXPECT_EQ(out.find("unable"), std::string::npos) << path << out;
        EXPECT_EQ(out.find("can't"), std::string::npos) << path << out;
        EXPECT_EQ(out.find("error"), std::string::npos) << path << out;
    }
}

TEST(Examples, EveryCategoryExampleUsesAllOfThem)
{
    std::string out;
    ScenePtr scene = readPath(sourceDir() + "/examples/tour.gsc", &out);
    ASSERT_NE(scene, nullptr);
    bool textured = false;
    for (int i = 0; i < sceGetMaterialCount(scene.get()); i++)
        textured = textured || sceGetMaterial(scene.get(), i).texture != nullptr;
    EXPECT_TRUE(textured);
    int kinds[4] = {0, 0, 0, 0};
    for (int i = 0; i < sceGetObjectCount(scene.get()); i++)
        kinds[sceGetObject(scene.get(), i)->type]++;
    EXPECT_GT(kinds[SPHERE], 0);
    EXPECT_GT(kinds[TRIANGLE], 0);
    EXPECT_GT(kinds[BOX], 0);
}

TEST(Examples, MalformedScenes)
{
    struct Case {
        const char *file;
        bool scene;          // whether a scene comes back
        const char *message;  // a message the reader must print
    };
    const Case cases[] = {
        {"bad/version.gsc", false, ""},
        {"bad/material-index.gsc", false, "uses material 3, but the scene has 2 materials"},
        {"bad/letters.gsc", true, "its body could not be read"},
        {"bad/unknown.gsc", true, "skipping unknown category '#FOG'"},
        {"bad/limits.gsc", true, "a scene holds at most 8 lights"},
        {"bad/missing-texture.gsc", true, "unable to load image file 'no-such-texture.ppm'."},
    };
    for (const Case &c : cases) {
        std::string out;
        ScenePtr scene = readPath(sourceDir() + "/examples/" + c.file, &out);
        EXPECT_EQ(scene != nullptr, c.scene) << c.file;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.file << out;
    }
}
