// glintcmd on malformed input, run as a process with standard input from
// /dev/null: for each input, the messages it must print (in this order, with
// the "[file:line]" prefixes masked), its exit status, and whether the image
// is written. Nothing may crash, hang or write past what it owns; the
// sanitizer build and scripts/valgrind.sh watch the same runs for that.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/badinput/cases.h"
#include "tests/badinput/process.h"
#include "tests/support.h"

namespace {

const char *const kCamera = "Impossivel criar camera!\n";
const char *const kScene = "Impossivel criar cenario!\n";
const char *const kImage = "Impossivel criar imagem!\n";
const char *const kTime = "levou 0.000000 segundos\n";

// The table rows as glintcmd runs them: the reader's messages, then what
// the outcome prints, and the exit status.
struct CmdCase {
    std::string name;
    std::string scene;
    std::vector<std::string> messages;  // in order, each found after the last
    int status;
    bool written;                       // the image file exists afterwards
    std::string output = "out.ppm";     // relative to the folder
};

std::ostream &operator<<(std::ostream &os, const CmdCase &c) { return os << c.name; }

// What a run that renders must end with.
std::vector<std::string> rendered(std::vector<std::string> messages, const std::string &out = "out.ppm")
{
    messages.push_back("\nO " + out + " was written successfully.\n");
    messages.push_back(kTime);
    return messages;
}

std::vector<CmdCase> asRuns(const std::vector<badinput::SceneCase> &table)
{
    std::vector<CmdCase> runs;
    for (const badinput::SceneCase &c : table) {
        CmdCase run{c.name, c.scene, c.messages, 1, false};
        switch (c.outcome) {
        case badinput::Outcome::Renders:
            run.messages = rendered(c.messages);
            run.status = 0;
            run.written = true;
            break;
        case badinput::Outcome::NoCamera:
            run.messages.push_back(kCamera);
            break;
        case badinput::Outcome::NoScene:
            run.messages.push_back(kScene);
            break;
        case badinput::Outcome::NoImage:
            run.messages.push_back(kImage);
            break;
        }
        runs.push_back(run);
    }
    return runs;
}

std::vector<CmdCase> cutCases() { return asRuns(badinput::cutCases(badinput::Program::Cmd)); }

std::vector<CmdCase> fileCases()
{
    std::vector<CmdCase> runs = asRuns(badinput::fileCases(badinput::Program::Cmd));
    const std::string good = "GSD 2.0\n" + badinput::sceneWithout("");
    // The image cannot be written: the writer's message, the time, status 1.
    runs.push_back({"output_in_a_missing_folder", good,
                    {"\n[#] unable to write image file 'no/such/folder/out.ppm'\n", kTime}, 1,
                    false, "no/such/folder/out.ppm"});
    runs.push_back({"output_is_a_directory", good,
                    {"\n[#] unable to write image file 'folder'\n", kTime}, 1, false, "folder"});
    return runs;
}

class CmdBadInput : public ::testing::TestWithParam<CmdCase> {};

TEST_P(CmdBadInput, GivesTheDefinedOutcome)
{
    const CmdCase &c = GetParam();
    TempDir dir;
    badinput::writeFixtureFiles(dir);
    const std::string scene = dir.write("scene.gsc", c.scene);
    RunResult r = runProgram({GLINT_CMD_PATH, "scene.gsc", c.output}, dir.path());
    (void)scene;
    ASSERT_FALSE(r.timedOut) << "glintcmd did not end";
    ASSERT_EQ(r.signal, 0) << "glintcmd was killed by signal " << r.signal << "\n" << r.err;
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_EQ(r.err, "");
    badinput::expectInOrder(maskPrefixes(r.out), c.messages);
    const std::string out = readFile(dir.file(c.output));
    if (c.written) {
        // The fixture's camera renders 4 x 3 pixels.
        EXPECT_EQ(out.compare(0, 11, "P6\n4 3\n255\n"), 0);
        EXPECT_EQ(out.size(), 11u + 4 * 3 * 3);
    } else if (c.output == "out.ppm") {
        EXPECT_FALSE(fileExists(dir.file(c.output)));
    }
}

INSTANTIATE_TEST_SUITE_P(CutShort, CmdBadInput, ::testing::ValuesIn(cutCases()),
                         [](const auto &info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(Files, CmdBadInput, ::testing::ValuesIn(fileCases()),
                         [](const auto &info) { return info.param.name; });

TEST(CmdBadInput, MissingSceneFile)
{
    TempDir dir;
    RunResult r = runProgram({GLINT_CMD_PATH, "no-such.gsc", "out.ppm"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kScene);
    EXPECT_FALSE(fileExists(dir.file("out.ppm")));
}

TEST(CmdBadInput, SceneFileIsADirectory)
{
    TempDir dir;
    badinput::writeFixtureFiles(dir);
    RunResult r = runProgram({GLINT_CMD_PATH, "folder", "out.ppm"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kScene);
}

TEST(CmdBadInput, WrongArgumentCounts)
{
    const std::vector<std::vector<std::string>> argvs = {
        {GLINT_CMD_PATH}, {GLINT_CMD_PATH, "a.gsc"}, {GLINT_CMD_PATH, "a.gsc", "b.ppm", "c"}};
    for (const auto &argv : argvs) {
        RunResult r = runProgram(argv);
        EXPECT_EQ(r.status, 1) << argv.size();
        EXPECT_EQ(r.out, std::string("uso: ") + GLINT_CMD_PATH + " FILE.GSC FILE.PPM\n");
    }
}

}  // namespace
