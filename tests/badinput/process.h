#ifndef GLINT_TESTS_BADINPUT_PROCESS_H
#define GLINT_TESTS_BADINPUT_PROCESS_H

#include <string>
#include <vector>

// The outcome of a program run as a separate process.
struct RunResult {
    int status = -1;        // exit status; -1 when the program did not exit normally
    int signal = 0;         // the signal that ended it, if one did
    bool timedOut = false;  // killed by the watchdog
    std::string out;        // everything it wrote on standard output
    std::string err;        // and on standard error
};

// Runs argv[0] with the given arguments, standard input from /dev/null and
// the two output streams captured, in the folder cwd (unchanged when empty).
// A run that has not ended after watchdogSeconds is killed and reported as
// timed out: a program that hangs on bad input fails its test instead of
// stalling the suite.
RunResult runProgram(const std::vector<std::string> &argv, const std::string &cwd = "",
                     int watchdogSeconds = 120);

#endif
