#ifndef GLINT_FUZZ_FUZZ_IO_H
#define GLINT_FUZZ_FUZZ_IO_H

// Helpers shared by the fuzz targets. The readers under test take file names,
// so each input is written to a file in a private temporary folder first.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace fuzzio {

// The target's private folder, made once per process and removed at exit.
inline const std::string &workDir()
{
    static std::string dir;
    if (dir.empty()) {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/glint-fuzz-XXXXXX";
        char *made = mkdtemp(&pattern[0]);
        if (made == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        dir = made;
        std::atexit([] {
            std::string cmd = "rm -rf '" + dir + "'";
            if (std::system(cmd.c_str()) != 0) {
                // a leftover folder in the temporary area is harmless
            }
        });
    }
    return dir;
}

// Writes the bytes to name inside the private folder; returns the full path.
inline std::string writeInput(const char *name, const uint8_t *data, size_t size)
{
    std::string path = workDir() + "/" + name;
    std::FILE *fp = std::fopen(path.c_str(), "wb");
    if (fp == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, fp) != size) {
        std::perror(path.c_str());
        std::abort();
    }
    std::fclose(fp);
    return path;
}

// The readers print their echoes and messages on standard output; the fuzzer
// reports on standard error. Unless GLINT_FUZZ_VERBOSE is set, the readers'
// output is dropped so that it does not slow the run down.
inline void quietStdout()
{
    if (std::getenv("GLINT_FUZZ_VERBOSE") == nullptr) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr)
            std::perror("/dev/null");
    }
}

}  // namespace fuzzio

#endif
