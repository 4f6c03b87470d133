#ifndef GLINT_COMMON_ASSERTION_H
#define GLINT_COMMON_ASSERTION_H

#include <cstdio>
#include <cstdlib>

// Invariant checks that stay on in every build type (unlike <cassert>, which
// NDEBUG removes). A failure names the expression, the source file and the
// line, then aborts.
[[noreturn]] inline void glintAssertFailed(const char *expr, const char *file, int line)
{
    std::fflush(stdout);
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expr, file, line);
    std::fflush(stderr);
    std::abort();
}

#define GLINT_ASSERT(expr) \
    ((expr) ? static_cast<void>(0) : glintAssertFailed(#expr, __FILE__, __LINE__))

#endif
