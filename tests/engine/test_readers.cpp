// The category body readers: camRead, lightRead, matRead and the object
// readers, each fed a body from a stream.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/camera.h"
#include "engine/image.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/object.h"
#include "tests/support.h"

namespace {

// Runs read on a stream holding text; returns the masked output and, in rest,
// what the reader left unread.
template <class Read>
std::string readFrom(const std::string &text, Read read, std::string *rest = nullptr)
{
    std::FILE *fp = streamOf(text);
    std::string out = captureStdout([&] { read(fp); });
    if (rest != nullptr) {
        rest->clear();
        int c;
        while ((c = std::getc(fp)) != EOF)
            *rest += static_cast<char>(c);
    }
    std::fclose(fp);
    return maskPrefixes(out);
}

void expectVector(Vector3d v, double x, double y, double z)
{
    EXPECT_DOUBLE_EQ(v.x, x);
    EXPECT_DOUBLE_EQ(v.y, y);
    EXPECT_DOUBLE_EQ(v.z, z);
}

void expectColor(Color c, double r, double g, double b)
{
    EXPECT_DOUBLE_EQ(c.red, r);
    EXPECT_DOUBLE_EQ(c.green, g);
    EXPECT_DOUBLE_EQ(c.blue, b);
}

const char *const PPM_2X1 = "P6\n2 1\n255\n\x01\x02\x03\x04\x05\x06";

}  // namespace

TEST(CamRead, ReadsEveryFieldAndEchoesIt)
{
    Camera *cam = nullptr;
    std::string out = readFrom("0 0 10   0 0 0   0 1 0\n60\n1 100\n320 240\n",
                               [&](std::FILE *fp) { cam = camRead(fp); });
    ASSERT_NE(cam, nullptr);
    expectVector(cam->eye, 0, 0, 10);
    expectVector(cam->at, 0, 0, 0);
    expectVector(cam->up, 0, 1, 0);
    EXPECT_EQ(cam->fovy, 60);
    EXPECT_EQ(cam->near, 1);
    EXPECT_EQ(cam->far, 100);
    EXPECT_EQ(cam->width, 320);
    EXPECT_EQ(cam->height, 240);
    EXPECT_EQ(out,
              "\n[#] read camera:\n\teye = (0, 0, 10),\n\tat = (0, 0, 0),\n\tup = (0, 1, 0),\n"
              "\tfovy = 60,\n\tnear = 1,\n\tfar = 100,\n\tscreen = 320x240,\n");
    camDestroy(cam);
}

TEST(CamRead, NumberThatDoesNotConvertGivesNoCameraAndNoEcho)
{
    struct Case {
        const char *body;
        const char *rest;
    };
    const Case cases[] = {
        {"0 0 10 0 0 0 0 1 0 wide 1 100 320 240", "wide 1 100 320 240"},  // fovy
        {"0 0 10 0 0 0 0 1 0 60 1 far 320 240", "far 320 240"},         // far
        {"0 0 10 0 0 0 0 1 0 60 1 100 320 tall", "tall"},               // height
        {"0 0 10 0 0 0 0 1 0 60 1 100 320", ""},                        // file ends
    };
    for (const Case &c : cases) {
        Camera *cam = reinterpret_cast<Camera *>(1);
        std::string rest;
        std::string out = readFrom(c.body, [&](std::FILE *fp) { cam = camRead(fp); }, &rest);
        EXPECT_EQ(cam, nullptr) << c.body;
        EXPECT_EQ(out, "") << c.body;
        EXPECT_EQ(rest, c.rest) << c.body;
    }
}

TEST(LightRead, EchoesPositionAndColourDividedBy255)
{
    Light light;
    std::string out =
        readFrom("1 -2 3.5\n255 0 127.5", [&](std::FILE *fp) { light = lightRead(fp); });
    expectVector(lightGetPos(light), 1, -2, 3.5);
    expectColor(lightGetColor(light), 1, 0, 0.5);
    EXPECT_EQ(out, "\n[#] read light:\n\tpos = (1, -2, 3.5),\n\tcolor = (1, 0, 0.5)\n");
}

TEST(LightRead, ShortBodyReportsAndUsesZero)
{
    Light light;
    std::string out = readFrom("1 2\n#SPHERE\n", [&](std::FILE *fp) { light = lightRead(fp); });
    expectVector(light.pos, 1, 2, 0);
    expectColor(light.color, 0, 0, 0);
    EXPECT_EQ(out,
              "\n[#] can't read point (1, 2, 0)\n"
              "[#] error reading color components (0, 0, 0)\n"
              "\n[#] read light:\n\tpos = (1, 2, 0),\n\tcolor = (0, 0, 0)\n");
}

TEST(MatRead, EchoListsTheTextureBeforeN)
{
    Material mat;
    std::string out = readFrom("255 0 0   0 51 0   255 255 255\n20 0.5 0.25 1 null\n",
                               [&](std::FILE *fp) { mat = matRead(fp); });
    EXPECT_EQ(mat.texture, nullptr);
    expectColor(mat.ambient, 1, 0, 0);
    expectColor(mat.diffuse, 0, 0.2, 0);
    expectColor(mat.specular, 1, 1, 1);
    EXPECT_EQ(mat.n, 20);
    EXPECT_EQ(mat.reflect, 0.5);
    EXPECT_EQ(mat.refract, 0.25);
    EXPECT_EQ(mat.opacity, 1);
    EXPECT_EQ(out,
              "\n[#] read material:\n\tambient = (1, 0, 0)\n\tdiffuse = (0, 0.2, 0)\n"
              "\tspecular = (1, 1, 1),\n\ttexture = 'null',\n\tn = 20,\n\treflect = 0.5,\n"
              "\trefract = 0.25,\n\topacity = 1\n");
}

TEST(MatRead, MissingTextureWordMeansNoTexture)
{
    // At the end of the file, and before a header, which stays unread.
    struct Case {
        const char *body;
        const char *rest;
    };
    const Case cases[] = {{"0 0 0 0 0 0 0 0 0 20 0.5 0 1", ""},
                          {"0 0 0 0 0 0 0 0 0 20 0.5 0 1\n#LIGHT\n", "#LIGHT\n"},
                          {"0 0 0 0 0 0 0 0 0 20 0.5 0 1 #x.ppm\n", "#x.ppm\n"}};
    for (const Case &c : cases) {
        Material mat;
        std::string rest;
        std::string out = readFrom(c.body, [&](std::FILE *fp) { mat = matRead(fp); }, &rest);
        EXPECT_EQ(mat.texture, nullptr);
        EXPECT_EQ(mat.opacity, 1);
        EXPECT_EQ(out,
                  "\n[#] read material:\n\tambient = (0, 0, 0)\n\tdiffuse = (0, 0, 0)\n"
                  "\tspecular = (0, 0, 0),\n\ttexture = 'null',\n\tn = 20,\n\treflect = 0.5,\n"
                  "\trefract = 0,\n\topacity = 1\n");
        EXPECT_EQ(rest, c.rest);
    }
}

TEST(MatRead, NumbersThatDoNotConvertCountAsZero)
{
    Material mat;
    mat.reflect = mat.refract = mat.opacity = 99;
    std::string out = readFrom("0 0 0 0 0 0 0 0 0 20 shiny 1 1 tex.ppm",
                               [&](std::FILE *fp) { mat = matRead(fp); });
    EXPECT_EQ(mat.n, 20);
    EXPECT_EQ(mat.reflect, 0);
    EXPECT_EQ(mat.refract, 0);
    EXPECT_EQ(mat.opacity, 0);
    EXPECT_EQ(mat.texture, nullptr);
    EXPECT_NE(out.find("\ttexture = 'null',\n\tn = 20,\n\treflect = 0,\n"), std::string::npos);
}

TEST(MatRead, OnlyLowerCaseNullMeansNoTexture)
{
    Material mat;
    std::string out =
        readFrom("0 0 0 0 0 0 0 0 0 1 0 0 1 NULL", [&](std::FILE *fp) { mat = matRead(fp); });
    EXPECT_EQ(mat.texture, nullptr);
    // The load message follows the echo.
    EXPECT_EQ(out,
              "\n[#] read material:\n\tambient = (0, 0, 0)\n\tdiffuse = (0, 0, 0)\n"
              "\tspecular = (0, 0, 0),\n\ttexture = 'NULL',\n\tn = 1,\n\treflect = 0,\n"
              "\trefract = 0,\n\topacity = 1\n"
              "\n[#] unable to load image file 'NULL'.\n");
}

TEST(MatRead, LoadsItsTexture)
{
    TempDir dir;
    std::string tex = dir.write("t.ppm", std::string(PPM_2X1, 17));
    Material mat;
    std::string out = readFrom("0 0 0 0 0 0 0 0 0 1 0 0 1 " + tex,
                               [&](std::FILE *fp) { mat = matRead(fp); });
    ASSERT_NE(mat.texture, nullptr);
    EXPECT_EQ(imgGetWidth(mat.texture), 2);
    EXPECT_EQ(imgGetRed(mat.texture, 1, 0), 4);
    EXPECT_EQ(out.find("unable"), std::string::npos);
    imgDestroy(mat.texture);
}

TEST(MatRead, TextureNameHasNoLengthLimit)
{
    std::string name(3000, 'x');
    Material mat;
    std::string out = readFrom("0 0 0 0 0 0 0 0 0 1 0 0 1 " + name + "\n",
                               [&](std::FILE *fp) { mat = matRead(fp); });
    EXPECT_EQ(mat.texture, nullptr);
    EXPECT_NE(out.find("\ttexture = '" + name + "',\n"), std::string::npos);
    EXPECT_NE(out.find("unable to load image file '" + name + "'.\n"), std::string::npos);
}

TEST(ObjRead, SphereTakesRadiusBeforeCentre)
{
    Object *obj = nullptr;
    std::string out =
        readFrom("2 0.5\n1 2 3\n", [&](std::FILE *fp) { obj = objReadSphere(fp); });
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->type, SPHERE);
    EXPECT_EQ(objGetMaterial(obj), 2);
    const Sphere *s = static_cast<const Sphere *>(obj->data);
    expectVector(s->center, 1, 2, 3);
    EXPECT_EQ(s->radius, 0.5);
    EXPECT_EQ(out, "\n[#] read sphere:\n\tmaterial = 2,\n\tradius = 0.5,\n\tcenter = (1, 2, 3)\n");
    objDestroy(obj);
}

TEST(ObjRead, TriangleKeepsVertexOrder)
{
    Object *obj = nullptr;
    std::string out = readFrom("1  0 0 0  1 0 0  0 1 0",
                               [&](std::FILE *fp) { obj = objReadTriangle(fp); });
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->type, TRIANGLE);
    const Triangle *t = static_cast<const Triangle *>(obj->data);
    expectVector(t->v0, 0, 0, 0);
    expectVector(t->v1, 1, 0, 0);
    expectVector(t->v2, 0, 1, 0);
    EXPECT_EQ(out,
              "\n[#] read triangle:\n\tmaterial = 1,\n\tv0 = (0, 0, 0),\n\tv1 = (1, 0, 0),\n"
              "\tv2 = (0, 1, 0)\n");
    objDestroy(obj);
}

TEST(ObjRead, BoxOrdersSwappedCornersAndSkipsTrailingSpace)
{
    Object *obj = nullptr;
    std::string rest;
    std::string out = readFrom("0   1 5 2   0 7 3  \n\n#LIGHT\n",
                               [&](std::FILE *fp) { obj = objReadBox(fp); }, &rest);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->type, BOX);
    const Box *b = static_cast<const Box *>(obj->data);
    expectVector(b->ll, 0, 5, 2);
    expectVector(b->ur, 1, 7, 3);
    EXPECT_EQ(out, "\n[#] read box:\n\tmaterial = 0,\n\tll = (0, 5, 2),\n\tur = (1, 7, 3)\n");
    EXPECT_EQ(rest, "#LIGHT\n");
    objDestroy(obj);
}

TEST(ObjRead, MaterialIndexIsDecimalOctalOrHex)
{
    struct Case {
        const char *index;
        int value;
    };
    const Case cases[] = {{"10", 10}, {"010", 8}, {"0x10", 16}, {"0X1f", 31}, {"-3", -3}};
    Object *(*const readers[])(std::FILE *) = {objReadSphere, objReadTriangle, objReadBox};
    for (const Case &c : cases) {
        for (auto reader : readers) {
            Object *obj = nullptr;
            std::string out = readFrom(std::string(c.index) + " 1 1 1 1 1 1 1 1 1",
                                       [&](std::FILE *fp) { obj = reader(fp); });
            ASSERT_NE(obj, nullptr);
            EXPECT_EQ(objGetMaterial(obj), c.value) << c.index;
            EXPECT_NE(out.find("\tmaterial = " + std::to_string(c.value) + ",\n"),
                      std::string::npos);
            objDestroy(obj);
        }
    }
}

TEST(ObjRead, NumbersThatDoNotConvertCountAsZero)
{
    Object *obj = nullptr;
    std::string out = readFrom("big 1 2 3", [&](std::FILE *fp) { obj = objReadSphere(fp); });
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(objGetMaterial(obj), 0);
    EXPECT_EQ(static_cast<const Sphere *>(obj->data)->radius, 0);
    EXPECT_EQ(out,
              "\n[#] can't read point (0, 0, 0)\n"
              "\n[#] read sphere:\n\tmaterial = 0,\n\tradius = 0,\n\tcenter = (0, 0, 0)\n");
    objDestroy(obj);

    out = readFrom("1 2 3 4 five", [&](std::FILE *fp) { obj = objReadBox(fp); });
    ASSERT_NE(obj, nullptr);
    const Box *b = static_cast<const Box *>(obj->data);
    expectVector(b->ll, 0, 0, 0);
    expectVector(b->ur, 2, 3, 4);
    objDestroy(obj);
}
