#include "engine/color.h"

Color colRead(std::FILE *in)
{
    double r = 0.0, g = 0.0, b = 0.0;
    if (std::fscanf(in, "%lf %lf %lf", &r, &g, &b) < 3)
        printf("[%s:%d] error reading color components (%g, %g, %g)\n", __FILE__, __LINE__, r, g, b);
    return colCreate(r / 255.0, g / 255.0, b / 255.0);
}
