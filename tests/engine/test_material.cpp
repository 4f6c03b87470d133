#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/image.h"
#include "engine/material.h"

namespace {

Material plainMaterial()
{
    Material m;
    m.texture = nullptr;
    m.ambient = colCreate(0.1, 0.2, 0.3);
    m.diffuse = colCreate(0.4, 0.5, 0.6);
    m.specular = colCreate(0.7, 0.8, 0.9);
    m.n = 12.5;
    m.reflect = 0.25;
    m.refract = 1.5;
    m.opacity = 0.75;
    return m;
}

// A texture whose texel (x, y) holds (10 x + 1, 10 y + 2, 3), so every texel
// of a small texture can be told apart by its colour.
Image *numberedTexture(int width, int height)
{
    Image *img = imgCreate(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            imgSetPixel(img, x, y, static_cast<unsigned char>(10 * x + 1),
                        static_cast<unsigned char>(10 * y + 2), 3);
    return img;
}

// The texel (x, y) that a diffuse colour came from, decoded from its red and
// green; (-1, -1) when the colour is no texel of numberedTexture.
void texelOf(Color c, int *x, int *y)
{
    int red = static_cast<int>(std::lround(c.red * 255.0));
    int green = static_cast<int>(std::lround(c.green * 255.0));
    bool ok = (red - 1) % 10 == 0 && (green - 2) % 10 == 0 &&
              c.red == red / 255.0 && c.green == green / 255.0 && c.blue == 3 / 255.0;
    *x = ok ? (red - 1) / 10 : -1;
    *y = ok ? (green - 2) / 10 : -1;
}

void expectTexel(Material m, double u, double v, int x, int y)
{
    int gotX, gotY;
    texelOf(matGetDiffuse(m, v3dMake(u, v, 99)), &gotX, &gotY);
    EXPECT_EQ(gotX, x) << "u = " << u << ", v = " << v;
    EXPECT_EQ(gotY, y) << "u = " << u << ", v = " << v;
}

TEST(Material, GettersReturnTheFields)
{
    Material m = plainMaterial();
    EXPECT_EQ(matGetAmbient(m).green, 0.2);
    EXPECT_EQ(matGetSpecular(m).blue, 0.9);
    EXPECT_EQ(matGetN(m), 12.5);
    EXPECT_EQ(matGetReflect(m), 0.25);
}

TEST(MaterialDiffuse, WithoutTextureIsTheDiffuseColour)
{
    Material m = plainMaterial();
    for (double u : {0.0, 0.5, -3.0, 1e300, double(NAN), double(INFINITY)}) {
        Color c = matGetDiffuse(m, v3dMake(u, u, u));
        EXPECT_EQ(c.red, 0.4);
        EXPECT_EQ(c.green, 0.5);
        EXPECT_EQ(c.blue, 0.6);
    }
}

TEST(MaterialDiffuse, ScalesByOneLessThanTheSizeAndWraps)
{
    Material m = plainMaterial();
    m.texture = numberedTexture(4, 2);
    struct Case {
        double u, v;
        int x, y;
    } cases[] = {
        {0, 0, 0, 0},   {1, 0, 3, 0},    {1.3, 0, 3, 0},  // 3.9 truncated
        {1.34, 0, 0, 0},                                 // 4.02: 4 modulo 4
        {0.5, 0.4, 1, 0}, {0, 0.5, 0, 0}, {0, 1, 0, 1},   // rows count from the bottom
        {0.999, 0.999, 2, 0}, {2.0, 2.0, 2, 0},           // 6 mod 4, 2 mod 2
    };
    for (const Case &c : cases)
        expectTexel(m, c.u, c.v, c.x, c.y);
    imgDestroy(m.texture);
}

TEST(MaterialDiffuse, TexelBytesBecomeAColour)
{
    Material m = plainMaterial();
    m.texture = imgCreate(1, 1);
    imgSetPixel(m.texture, 0, 0, 255, 0, 51);
    for (double u : {0.0, 0.7, 5.0, 1e9}) {
        Color c = matGetDiffuse(m, v3dMake(u, u * 2, 0));
        EXPECT_EQ(c.red, 1.0);
        EXPECT_EQ(c.green, 0.0);
        EXPECT_EQ(c.blue, 0.2);
    }
    imgDestroy(m.texture);
}

TEST(MaterialDiffuse, NonNegativeCoordinatesFollowTheTruncatingRule)
{
    Material m = plainMaterial();
    m.texture = numberedTexture(5, 3);
    for (int i = 0; i <= 600; i++) {
        double u = i * 0.01237;
        double v = i * 0.00731;
        expectTexel(m, u, v, static_cast<int>(4.0 * u) % 5, static_cast<int>(2.0 * v) % 3);
    }
    imgDestroy(m.texture);
}

TEST(MaterialDiffuse, OutOfRangeCoordinatesStayInsideTheTexture)
{
    // With width 2 the scaled u is u itself.
    Material m = plainMaterial();
    m.texture = numberedTexture(2, 1);
    struct Case {
        double u;
        int x;
    } cases[] = {
        {-1e-17, 0},          // rounding below 0 truncates to 0
        {-0.9, 0},            {-1.5, 1},      {-2.0, 0},  {-3.0, 1},
        {2147483646.0, 0},    {2147483647.0, 1},          // around the int limit
        {2147483648.0, 0},    {4294967297.0, 1},  {-4294967297.0, 1},
        {1e300, 0},           {-DBL_MAX, 0},               // even, huge
        {INFINITY, 0},        {-INFINITY, 0},     {NAN, 0},
    };
    for (const Case &c : cases)
        expectTexel(m, c.u, 0.0, c.x, 0);
    imgDestroy(m.texture);

    // Wider textures: negative indices wrap as positive ones do; huge values
    // take their remainder first.
    m.texture = numberedTexture(4, 2);
    const double big = 1e10 + 0.5;  // 3 * big = 30000000001.5, 1 modulo 4
    struct Case2 {
        double u, v;
        int x, y;
    } wide[] = {
        {-0.5, -1.0, 3, 1},  // -1.5 -> -1 -> 3; -1 -> 1
        {-1.0, -2.0, 1, 0},  // -3 -> 1; -2 -> 0
        {big, 0, 1, 0},      {-big, 0, 3, 0},
        {DBL_MAX, NAN, 0, 0},  // 3 * DBL_MAX overflows: texel 0
        {1e300, -1e300, 0, 0},
    };
    for (const Case2 &c : wide)
        expectTexel(m, c.u, c.v, c.x, c.y);
    imgDestroy(m.texture);
}

}  // namespace
