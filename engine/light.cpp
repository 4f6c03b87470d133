#include "engine/light.h"

#include <cstdio>

// A LIGHT body: the position, then the colour on the 0..255 scale. The vector
// and colour readers report their own short reads and use 0 for what is
// missing, so a light always comes back.
Light lightRead(std::FILE *fp)
{
    Light light;
    light.pos = v3dRead(fp);
    light.color = colRead(fp);
    std::printf("\n[%s:%d] read light:\n", __FILE__, __LINE__);
    std::printf("\tpos = (%g, %g, %g),\n", light.pos.x, light.pos.y, light.pos.z);
    std::printf("\tcolor = (%g, %g, %g)\n", light.color.red, light.color.green, light.color.blue);
    return light;
}
