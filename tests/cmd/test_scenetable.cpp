#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cmd/render.h"
#include "cmd/scenetable.h"
#include "cmd/trace.h"
#include "engine/camera.h"
#include "engine/image.h"
#include "engine/scene.h"
#include "tests/scene_check.h"
#include "tests/support.h"

// renderScene searches a flattened table of the objects, several at a time,
// instead of calling objIntersect on each object in index order. These tests
// hold the table to the straightforward search (nearestHit, traceRay) bit for
// bit: on random scenes full of ties, edges and degenerate objects, and on
// every example scene.

namespace {

uint64_t bits(double v)
{
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

bool sameColor(Color a, Color b)
{
    return bits(a.red) == bits(b.red) && bits(a.green) == bits(b.green) &&
           bits(a.blue) == bits(b.blue);
}

std::string num(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string point(Vector3d p) { return num(p.x) + " " + num(p.y) + " " + num(p.z); }

// Random scenes whose coordinates are mostly small multiples of 0.5, so that
// rays meet edges, corners and equal distances exactly, mixed with arbitrary
// doubles, duplicates (equal t at different indices) and degenerate objects.
class SceneMaker {
public:
    explicit SceneMaker(unsigned seed) : rng_(seed) {}

    double coord()
    {
        if (pick(3) == 0)
            return std::uniform_real_distribution<double>(-8, 8)(rng_);
        return 0.5 * static_cast<double>(pick(33)) - 8.0;
    }
    Vector3d vec() { return v3dMake(coord(), coord(), coord()); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string scene(int objects)
    {
        std::string s = "#SCENE\n10 20 30 null\n#MATERIAL\n";
        const char *finishes[] = {"20 0 0 1", "1.5 0.5 0 1", "0 -0.25 0 1", "3 1 0 1", "0.5 0 0 1"};
        for (int m = 0; m < 5; m++)
            s += std::to_string(10 * m) + " 30 40  200 " + std::to_string(40 * m) +
                 " 90  255 255 255\n" + finishes[m] + " null\n";
        s += "#LIGHT\n";
        for (int l = 0; l < 3; l++)
            s += point(vec()) + "  255 255 255\n";
        std::vector<std::string> bodies;
        for (int i = 0; i < objects; i++) {
            const int material = pick(5);
            std::string body;
            if (!bodies.empty() && pick(8) == 0) {
                body = bodies[pick(static_cast<int>(bodies.size()))];  // a duplicate
            } else {
                switch (pick(3)) {
                case 0: {
                    double r = pick(10) == 0 ? 0.0 : 0.5 * (1 + pick(6));
                    body = "#SPHERE\n" + std::to_string(material) + " " + num(r) + "  " + point(vec());
                    break;
                }
                case 1: {
                    Vector3d a = vec(), b = vec(), c = vec();
                    if (pick(10) == 0)
                        c = v3dSum(a, v3dScaled(2.0, v3dDifference(b, a)));  // collinear
                    body = "#TRIANGLE\n" + std::to_string(material) + "  " + point(a) + "  " +
                           point(b) + "  " + point(c);
                    break;
                }
                default: {
                    Vector3d a = vec(), b = vec();
                    if (pick(8) == 0)
                        b.y = a.y;  // flat
                    body = "#BOX\n" + std::to_string(material) + "  " + point(a) + "  " + point(b);
                    break;
                }
                }
            }
            bodies.push_back(body);
            s += body + "\n";
        }
        return s;
    }

    // Rays from the grid or anywhere, along axes, diagonals, at random, and
    // now and then with no direction at all.
    void ray(Vector3d *o, Vector3d *d)
    {
        *o = vec();
        switch (pick(5)) {
        case 0:
            *d = v3dMake(0, 0, 0);
            (pick(2) ? d->x : pick(2) ? d->y : d->z) = pick(2) ? 1.0 : -0.5;
            break;
        case 1:
            *d = v3dMake(static_cast<double>(pick(3)) - 1, static_cast<double>(pick(3)) - 1,
                         static_cast<double>(pick(3)) - 1);
            break;
        default:
            *d = v3dDifference(vec(), *o);
            break;
        }
    }

private:
    std::mt19937 rng_;
};

// Compares the table's searches with nearestHit for one ray and skip index.
// The shadow search is asked as if for a light of the scene: whatever object
// stopped the last ray of that light (from anywhere) is tried first.
void compareSearches(const Scene *scene, const SceneTable &table, Vector3d o, Vector3d d, int skip,
                     int light, int *hits)
{
    const int count = sceGetObjectCount(scene);
    double tRef = 0, tFast = 0;
    const int ref = nearestHit(scene, o, d, count, skip, &tRef);
    const int fast = table.nearest(o, d, skip, &tFast);
    ASSERT_EQ(ref, fast) << "origin " << point(o) << " direction " << point(d) << " skip " << skip;
    ASSERT_EQ(bits(tRef), bits(tFast)) << tRef << " " << tFast;
    ASSERT_EQ(ref != -1, table.blocked(o, d, skip, light));
    if (ref != -1)
        ++*hits;
}

std::vector<std::string> exampleScenes()
{
    std::vector<std::string> names;
    const std::string dir = sourceDir() + "/examples";
    DIR *d = opendir(dir.c_str());
    if (d == nullptr)
        return names;
    while (dirent *e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".gsc") == 0)
            names.push_back(dir + "/" + name);
    }
    closedir(d);
    return names;
}

}  // namespace

TEST(SceneTable, SearchesMatchNearestHitOnRandomScenes)
{
    for (unsigned seed = 1; seed <= 40; seed++) {
        SCOPED_TRACE(seed);
        SceneMaker maker(seed);
        LoadedScene s(maker.scene(1 + maker.pick(64)));
        ASSERT_NE(s.get(), nullptr);
        const int count = sceGetObjectCount(s.get());
        const SceneTable table(s.get(), count);
        int hits = 0;
        for (int r = 0; r < 3000; r++) {
            Vector3d o, d;
            maker.ray(&o, &d);
            compareSearches(s.get(), table, o, d, -1, r % 3, &hits);
            // From the point found toward somewhere else, skipping the object
            // there, as a shadow ray does.
            double t;
            const int hit = nearestHit(s.get(), o, d, count, -1, &t);
            if (hit != -1) {
                const Vector3d p = v3dSum(o, v3dScaled(t, d));
                compareSearches(s.get(), table, p, v3dDifference(maker.vec(), p), hit, r % 3,
                                &hits);
            }
            if (HasFatalFailure())
                return;
        }
        EXPECT_GT(hits, 100);  // the rays do meet things
    }
}

TEST(SceneTable, RandomScenesTraceAlike)
{
    for (unsigned seed = 100; seed < 110; seed++) {
        SCOPED_TRACE(seed);
        SceneMaker maker(seed);
        LoadedScene s(maker.scene(64));
        ASSERT_NE(s.get(), nullptr);
        const int count = sceGetObjectCount(s.get());
        const SceneTable table(s.get(), count);
        const Color bg = sceGetBackground(s.get());
        captureStdout([&] {
            for (int r = 0; r < 2000; r++) {
                Vector3d o, d;
                maker.ray(&o, &d);
                const Color ref = traceRay(s.get(), o, d, count, bg, 3);
                const Color fast = traceWith(table, o, d, bg, 3);
                if (!sameColor(ref, fast)) {
                    ADD_FAILURE() << "origin " << point(o) << " direction " << point(d);
                    return;
                }
            }
        });
    }
}

TEST(SceneTable, ExampleScenesRenderAsTraceRayDoes)
{
    const std::vector<std::string> scenes = exampleScenes();
    ASSERT_FALSE(scenes.empty());
    for (const std::string &path : scenes) {
        SCOPED_TRACE(path);
        LoadedScene s = LoadedScene::fromFile(path);
        ASSERT_NE(s.get(), nullptr);
        const Camera *camera = sceGetCamera(s.get());
        ASSERT_NE(camera, nullptr);
        Image *image = nullptr;
        std::string out = captureStdout([&] { image = renderScene(s.get()); });
        ASSERT_NE(image, nullptr);
        const int count = sceGetObjectCount(s.get());
        const Color bg = sceGetBackground(s.get());
        const Vector3d eye = camGetEye(camera);
        int differ = 0;
        captureStdout([&] {
            for (int y = 0; y < imgGetHeight(image); y++)
                for (int x = 0; x < imgGetWidth(image); x++) {
                    const Color c = traceRay(s.get(), eye, camRay(camera, x, y), count, bg, 3);
                    const int r = static_cast<int>(c.red * 255.0) & 0xff;
                    const int g = static_cast<int>(c.green * 255.0) & 0xff;
                    const int b = static_cast<int>(c.blue * 255.0) & 0xff;
                    if (r != imgGetRed(image, x, y) || g != imgGetGreen(image, x, y) ||
                        b != imgGetBlue(image, x, y))
                        differ++;
                }
        });
        EXPECT_EQ(0, differ);
        imgDestroy(image);
    }
}
