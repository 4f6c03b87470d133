#ifndef GLINT_TESTS_SUPPORT_H
#define GLINT_TESTS_SUPPORT_H

#include <cstdio>
#include <functional>
#include <string>

// Runs fn with standard output (both stdio and the descriptor) sent to a
// file, and returns everything it printed.
std::string captureStdout(const std::function<void()> &fn);

// A file in a fresh temporary folder, removed with the folder when the object
// goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    // Writes bytes to name inside the folder and returns the full path.
    std::string write(const std::string &name, const std::string &bytes) const;
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::string &path);
bool fileExists(const std::string &path);

// A stdio stream over the given text (a temporary file, rewound).
std::FILE *streamOf(const std::string &text);

// The repository's root (for examples and fixtures).
std::string sourceDir();

// Replaces every "[path:line]" message prefix with "[#]" so whole outputs can
// be compared without depending on line numbers.
std::string maskPrefixes(const std::string &text);

#endif
