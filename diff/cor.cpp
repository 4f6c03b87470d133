#include "diff/cor.h"

#include <cmath>

unsigned char corClamp(double x)
{
    if (x < 0.0 || std::isnan(x))
        return 0;
    if (x > 255.0)
        return 255;
    return static_cast<unsigned char>(x);
}

Cor corCreate(unsigned char red, unsigned char green, unsigned char blue)
{
    Cor c;
    c.red = corClamp(red);
    c.green = corClamp(green);
    c.blue = corClamp(blue);
    return c;
}

Cor corRead(std::FILE *fp)
{
    long red = 0, green = 0, blue = 0;
    if (std::fscanf(fp, " %ld %ld %ld ", &red, &green, &blue) != 3)
        std::printf("***Erro em corRead (%ld,%ld,%ld) \n", red, green, blue);
    Cor c;
    c.red = corClamp(static_cast<double>(red));
    c.green = corClamp(static_cast<double>(green));
    c.blue = corClamp(static_cast<double>(blue));
    return c;
}

Cor corFromLong(long v)
{
    const unsigned long bits = static_cast<unsigned long>(v);
    Cor c;
    c.red = static_cast<unsigned char>(bits & 0xFF);
    c.green = static_cast<unsigned char>((bits >> 8) & 0xFF);
    c.blue = static_cast<unsigned char>((bits >> 16) & 0xFF);
    return c;
}

Cor corAdd(Cor a, Cor b)
{
    Cor c;
    c.red = corClamp(a.red + b.red);
    c.green = corClamp(a.green + b.green);
    c.blue = corClamp(a.blue + b.blue);
    return c;
}

double corSqrDist(Cor a, Cor b)
{
    const int dr = a.red - b.red;
    const int dg = a.green - b.green;
    const int db = a.blue - b.blue;
    return static_cast<double>(dr * dr + dg * dg + db * db);
}

double corDist(Cor a, Cor b) { return std::sqrt(corSqrDist(a, b)); }

Cor corScale(double s, Cor c)
{
    Cor r;
    r.red = corClamp(c.red * s);
    r.green = corClamp(c.green * s);
    r.blue = corClamp(c.blue * s);
    return r;
}

Cor corMult(double s, Cor a, Cor b)
{
    Cor r;
    r.red = corClamp((a.red * b.red) * s);
    r.green = corClamp((a.green * b.green) * s);
    r.blue = corClamp((a.blue * b.blue) * s);
    return r;
}

unsigned char corGetRed(Cor c) { return c.red; }
unsigned char corGetGreen(Cor c) { return c.green; }
unsigned char corGetBlue(Cor c) { return c.blue; }
