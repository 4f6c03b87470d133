#ifndef GLINT_DIFF_COR_H
#define GLINT_DIFF_COR_H

#include <cstdio>

// A colour of three bytes with saturating arithmetic. Every operation returns
// a new value and changes none of its arguments.
struct Cor {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

// 0 for x < 0 or not a number, 255 for x > 255, otherwise x truncated.
unsigned char corClamp(double x);
Cor corCreate(unsigned char red, unsigned char green, unsigned char blue);
// Three whole numbers " %ld %ld %ld " (trailing white space consumed), each
// clamped to a byte. When fewer than three are read it prints a message and
// takes 0 for those missing.
Cor corRead(std::FILE *fp);
// Red from bits 0-7, green from 8-15, blue from 16-23; the rest is ignored.
Cor corFromLong(long v);
Cor corAdd(Cor a, Cor b);
double corSqrDist(Cor a, Cor b);
double corDist(Cor a, Cor b);
Cor corScale(double s, Cor c);
Cor corMult(double s, Cor a, Cor b);
unsigned char corGetRed(Cor c);
unsigned char corGetGreen(Cor c);
unsigned char corGetBlue(Cor c);

#endif
