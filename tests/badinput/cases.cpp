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

void expectInOrder(const std::string &text, const std::vector<std::string> &messages)
{
    std::string::size_type at = 0;
    for (const std::string &m : messages) {
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
