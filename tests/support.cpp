#include "tests/support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

std::string captureStdout(const std::function<void()> &fn)
{
    std::fflush(stdout);
    char name[] = "/tmp/glint-stdout-XXXXXX";
    int fd = mkstemp(name);
    int saved = dup(1);
    dup2(fd, 1);
    fn();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    close(fd);
    std::string out = readFile(name);
    unlink(name);
    return out;
}

TempDir::TempDir()
{
    char name[] = "/tmp/glint-test-XXXXXX";
    path_ = mkdtemp(name);
}

TempDir::~TempDir()
{
    std::string cmd = "rm -rf '" + path_ + "'";
    if (std::system(cmd.c_str()) != 0) {
        // nothing more to do: a leftover folder in /tmp is harmless
    }
}

std::string TempDir::write(const std::string &name, const std::string &bytes) const
{
    std::string full = file(name);
    std::ofstream out(full, std::ios::binary);
    out << bytes;
    return full;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool fileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::FILE *streamOf(const std::string &text)
{
    std::FILE *fp = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), fp);
    std::rewind(fp);
    return fp;
}

std::string sourceDir()
{
#ifdef GLINT_SOURCE_DIR
    return GLINT_SOURCE_DIR;
#else
    return ".";
#endif
}

std::string maskPrefixes(const std::string &text)
{
    // A prefix is "[", a path without blanks, ":", digits and "]".
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '[') {
            size_t colon = text.find_first_of(":] \t\n", i + 1);
            if (colon != std::string::npos && colon > i + 1 && text[colon] == ':') {
                size_t end = colon + 1;
                while (end < text.size() && text[end] >= '0' && text[end] <= '9')
                    end++;
                if (end > colon + 1 && end < text.size() && text[end] == ']') {
                    out += "[#]";
                    i = end + 1;
                    continue;
                }
            }
        }
        out += text[i++];
    }
    return out;
}
