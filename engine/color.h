#ifndef GLINT_ENGINE_COLOR_H
#define GLINT_ENGINE_COLOR_H

#include <cstdio>

// Colours with three components in 0..1. Every operation that makes a colour,
// except colCopy, clamps each component into 0..1; the arithmetic is inline
// because shading runs it several times per ray.

struct Color {
    double red;
    double green;
    double blue;
};

// Limits a component to 0..1; anything not >= 0 (a NaN included) gives 0.
// Private to the colour module: used only by the operations below.
inline double colClamp(double v)
{
    if (!(v >= 0.0))
        return 0.0;
    if (v <= 1.0)
        return v;
    return 1.0;
}

inline Color colCreate(double red, double green, double blue)
{
    Color c;
    c.red = colClamp(red);
    c.green = colClamp(green);
    c.blue = colClamp(blue);
    return c;
}

inline Color colCopy(Color c)
{
    Color r;
    r.red = c.red;
    r.green = c.green;
    r.blue = c.blue;
    return r;
}

inline Color colAdd(Color a, Color b)
{
    return colCreate(a.red + b.red, a.green + b.green, a.blue + b.blue);
}

inline Color colScale(double s, Color c) { return colCreate(s * c.red, s * c.green, s * c.blue); }

inline Color colModulate(double s, Color a, Color b)
{
    return colCreate((a.red * b.red) * s, (a.green * b.green) * s, (a.blue * b.blue) * s);
}

inline double colGetRed(Color c) { return c.red; }
inline double colGetGreen(Color c) { return c.green; }
inline double colGetBlue(Color c) { return c.blue; }

// Reads three numbers on the 0..255 scale; a short read is reported and the
// missing components count as 0.
Color colRead(std::FILE *in);

#endif
