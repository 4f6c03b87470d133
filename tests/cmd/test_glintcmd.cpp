#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/camera.h"
#include "engine/scene.h"
#include "tests/scene_check.h"
#include "tests/support.h"

// glintcmd run as a process, standard input from /dev/null.

namespace {

struct Outcome {
    int status;
    std::string out;
};

// Runs glintcmd with args after the program name; argv[0] is its path.
Outcome glintcmd(const std::vector<std::string> &args)
{
    TempDir dir;
    const std::string outPath = dir.file("stdout");
    std::vector<std::string> all = {GLINTCMD_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);

    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0)
            _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    Outcome r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(outPath);
    return r;
}

bool endsWith(const std::string &s, const std::string &tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Whether out ends with a time line of whole seconds.
bool endsWithTimeLine(const std::string &out)
{
    const std::string tail = ".000000 segundos\n";
    if (!endsWith(out, tail))
        return false;
    size_t i = out.size() - tail.size();
    const size_t digitsEnd = i;
    while (i > 0 && out[i - 1] >= '0' && out[i - 1] <= '9')
        i--;
    return i < digitsEnd && i >= 6 && out.compare(i - 6, 6, "levou ") == 0 &&
           (i == 6 || out[i - 7] == '\n');
}

struct Ppm {
    int width = 0, height = 0;
    std::string pixels;  // top row first, three bytes a pixel
    // Row 0 is the bottom row, as in the renderer.
    int at(int x, int y, int channel) const
    {
        return static_cast<unsigned char>(pixels[((height - 1 - y) * width + x) * 3 + channel]);
    }
};

// Parses the renderer's exact header "P6\n<w> <h>\n255\n".
bool parsePpm(const std::string &bytes, Ppm *ppm)
{
    int w = 0, h = 0, consumed = 0;
    if (std::sscanf(bytes.c_str(), "P6\n%d %d\n255\n%n", &w, &h, &consumed) != 2 || consumed == 0)
        return false;
    const std::string header = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
    if (bytes.compare(0, header.size(), header) != 0)
        return false;
    ppm->width = w;
    ppm->height = h;
    ppm->pixels = bytes.substr(header.size());
    return ppm->pixels.size() == static_cast<size_t>(w) * h * 3;
}

// The byte a component of v / 255 becomes.
int byteOf(double v) { return static_cast<int>(v / 255.0 * 255.0) & 0xff; }

std::vector<std::string> exampleScenes()
{
    std::vector<std::string> names;
    DIR *d = opendir((sourceDir() + "/examples").c_str());
    if (d == nullptr)
        return names;
    while (dirent *e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".gsc") == 0)
            names.push_back(name);
    }
    closedir(d);
    return names;
}

}  // namespace

TEST(Glintcmd, WrongArgumentCountPrintsUsage)
{
    const std::string usage = std::string("uso: ") + GLINTCMD_PATH + " FILE.GSC FILE.PPM\n";
    const std::vector<std::vector<std::string>> cases = {{}, {"a.gsc"}, {"a.gsc", "b.ppm", "c"}};
    for (const auto &args : cases) {
        SCOPED_TRACE(args.size());
        const Outcome r = glintcmd(args);
        EXPECT_EQ(1, r.status);
        EXPECT_EQ(usage, r.out);
    }
}

TEST(Glintcmd, UnreadableSceneIsReported)
{
    TempDir dir;
    const std::string image = dir.file("out.ppm");
    Outcome r = glintcmd({dir.file("missing.gsc"), image});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("Impossivel criar cenario!\n", r.out);
    EXPECT_FALSE(fileExists(image));

    r = glintcmd({dir.write("wrong.gsc", "GSD 1.0\n#CAMERA\n"), image});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("Impossivel criar cenario!\n", r.out);
    EXPECT_FALSE(fileExists(image));
}

TEST(Glintcmd, SceneWithoutCameraIsReported)
{
    TempDir dir;
    const std::string image = dir.file("out.ppm");
    const Outcome r = glintcmd({dir.write("nocam.gsc", "GSD 2.0\n#SCENE\n0 0 0 null\n"), image});
    EXPECT_EQ(1, r.status);
    // The SCENE body is read without an echo: the message is all there is.
    EXPECT_EQ("Impossivel criar camera!\n", r.out);
    EXPECT_FALSE(fileExists(image));
}

TEST(Glintcmd, ImageThatCannotBeMadeIsReported)
{
    // A screen without columns gives no image.
    TempDir dir;
    const std::string image = dir.file("out.ppm");
    const Outcome r = glintcmd({dir.write("s.gsc", "GSD 2.0\n#CAMERA\n0 0 1  0 0 0  0 1 0\n60\n1 10\n"
                                                  "0 3\n"),
                                image});
    EXPECT_EQ(1, r.status);
    EXPECT_TRUE(endsWith(r.out, "\tscreen = 0x3,\nImpossivel criar imagem!\n")) << r.out;
    EXPECT_FALSE(fileExists(image));
}

TEST(Glintcmd, UnwritableImageEndsWithStatusOneAfterEveryStep)
{
    TempDir dir;
    const std::string scene = dir.write("s.gsc", "GSD 2.0\n#CAMERA\n0 0 1  0 0 0  0 1 0\n60\n1 10\n"
                                                 "4 3\n#SCENE\n0 0 0 null\n");
    const std::string image = dir.file("no-such-folder/out.ppm");
    const Outcome r = glintcmd({scene, image});
    EXPECT_EQ(1, r.status);
    const std::string tail = "] unable to write image file '" + image + "'\nlevou 0.000000 segundos\n";
    EXPECT_TRUE(endsWith(r.out, tail)) << r.out;
}

TEST(Glintcmd, NeverWritesOverWhatTheSceneWasReadFrom)
{
    TempDir dir;
    const std::string texture = dir.write("tex.ppm", std::string("P6\n1 1\n255\n\x01\x02\x03", 14));
    const std::string sceneText = "GSD 2.0\n#CAMERA\n0 0 1  0 0 0  0 1 0\n60\n1 10\n4 3\n"
                                  "#MATERIAL\n0 0 0 0 0 0 0 0 0 1 0 0 1 tex.ppm\n";
    const std::string scene = dir.write("s.gsc", sceneText);
    // The scene's own file and its texture, each by another spelling.
    const struct {
        std::string output;
        std::string message;
    } cases[] = {
        {dir.path() + "/./s.gsc", "e o proprio cenario"},
        {dir.path() + "//tex.ppm", "e uma imagem lida pelo cenario"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.output);
        const Outcome r = glintcmd({scene, c.output});
        EXPECT_EQ(1, r.status);
        // Refused after the scene's echo, before anything is rendered or timed.
        EXPECT_TRUE(endsWith(r.out, "\topacity = 1\nImpossivel gravar '" + c.output + "': " +
                                        c.message + "!\n"))
            << r.out;
        EXPECT_EQ(readFile(scene), sceneText);
        EXPECT_EQ(readFile(texture), std::string("P6\n1 1\n255\n\x01\x02\x03", 14));
    }
    // An earlier picture is another file: it is written over.
    const std::string image = dir.write("out.ppm", "old");
    EXPECT_EQ(0, glintcmd({scene, image}).status);
    EXPECT_EQ(readFile(image).compare(0, 11, "P6\n4 3\n255\n"), 0);
}

TEST(Glintcmd, RendersAHandmadeScene)
{
    // A 4 x 4 view of a matte square facing the camera, lit from the eye:
    // the centre pixel sees the square head-on (ambient 0.25 plus diffuse
    // 0.5, cosine 1), the corners see the background.
    TempDir dir;
    const std::string scene = dir.write(
        "s.gsc", "GSD 2.0\n#CAMERA\n0 0 10  0 0 0  0 1 0\n90\n1 100\n4 4\n"
                 "#SCENE\n51 102 153 null\n"
                 "#MATERIAL\n63.75 63.75 0  127.5 0 127.5  0 0 0\n1 0 0 1 null\n"
                 "#LIGHT\n0 0 10  255 255 255\n"
                 "#BOX\n0  -1 -1 -1  1 1 0\n");
    const std::string image = dir.file("out.ppm");
    const Outcome r = glintcmd({scene, image});
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_TRUE(endsWith(r.out, "\nO " + image + " was written successfully.\n"
                                "levou 0.000000 segundos\n"))
        << r.out;
    Ppm ppm;
    ASSERT_TRUE(parsePpm(readFile(image), &ppm));
    EXPECT_EQ(4, ppm.width);
    EXPECT_EQ(4, ppm.height);
    const int centre[3] = {191, 63, 127};  // (0.25 + 0.5, 0.25, 0.5) x 255
    const int sky[3] = {byteOf(51), byteOf(102), byteOf(153)};
    for (int c = 0; c < 3; c++) {
        EXPECT_EQ(centre[c], ppm.at(2, 2, c));
        EXPECT_EQ(sky[c], ppm.at(0, 0, c));
        EXPECT_EQ(sky[c], ppm.at(3, 3, c));
    }
}

TEST(Glintcmd, RendersEveryExampleSceneTheSameTwice)
{
    // Pixels that show the background, by scene: the top corners.
    struct Known {
        const char *name;
        int background[3];
    } known[] = {{"showcase.gsc", {28, 40, 72}}, {"tour.gsc", {70, 90, 130}}};
    const std::vector<std::string> scenes = exampleScenes();
    ASSERT_FALSE(scenes.empty());
    for (const std::string &name : scenes) {
        SCOPED_TRACE(name);
        const std::string path = sourceDir() + "/examples/" + name;
        int width = 0, height = 0;
        {
            LoadedScene s = LoadedScene::fromFile(path);
            ASSERT_NE(s.get(), nullptr);
            ASSERT_NE(sceGetCamera(s.get()), nullptr);
            width = camGetScreenWidth(sceGetCamera(s.get()));
            height = camGetScreenHeight(sceGetCamera(s.get()));
        }
        TempDir dir;
        const Outcome first = glintcmd({path, dir.file("1.ppm")});
        const Outcome second = glintcmd({path, dir.file("2.ppm")});
        EXPECT_EQ(0, first.status);
        EXPECT_EQ(0, second.status);
        EXPECT_TRUE(endsWithTimeLine(first.out)) << first.out;
        const std::string bytes = readFile(dir.file("1.ppm"));
        Ppm ppm;
        ASSERT_TRUE(parsePpm(bytes, &ppm));
        EXPECT_EQ(width, ppm.width);
        EXPECT_EQ(height, ppm.height);
        EXPECT_TRUE(bytes == readFile(dir.file("2.ppm")));
        for (const Known &k : known) {
            if (name != k.name)
                continue;
            for (int c = 0; c < 3; c++) {
                EXPECT_EQ(byteOf(k.background[c]), ppm.at(0, height - 1, c));
                EXPECT_EQ(byteOf(k.background[c]), ppm.at(width - 1, height - 1, c));
            }
        }
    }
}
