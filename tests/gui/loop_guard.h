#ifndef GLINT_TESTS_GUI_LOOP_GUARD_H
#define GLINT_TESTS_GUI_LOOP_GUARD_H

// Bounds on the window tests, so that a test waiting for something that never
// comes fails instead of hanging until CTest's limit.
//
// runGuarded bounds an event loop: past the bound every window is hidden,
// which ends the layer's main loop and any modal dialog's; the test goes on
// and fails.
//
// TestBound bounds a whole test, for the waits that no hidden window ends: a
// wait outside the guarded loops (FLTK's own alert box, say, which
// Fl_Window::make_current puts up for a window that is not shown, and which
// waits for a click that never comes), a reply the X server never sends, a
// loop that never sleeps. Past its bound the process says which test it was
// in and ends at once, with status 1.

#include <gtest/gtest.h>
#include <unistd.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace loopguard {

// The loops of these tests take milliseconds; the bounds leave room for a
// busy machine and a sanitizer build, and a test's for the guard to fire in
// it once and the test to fail after.
const double LOOP_SECONDS = 60.0;
const double TEST_SECONDS = 90.0;

inline bool fired = false;

inline void hideAll(void *)
{
    fired = true;
    while (Fl_Window *w = Fl::first_window())
        w->hide();
}

// Runs loop (IupMainLoop, or a call that shows a modal dialog) with the guard
// armed for the given seconds; true when the guard had to end it.
template <class Loop> bool runGuarded(Loop loop, double seconds = LOOP_SECONDS)
{
    fired = false;
    Fl::add_timeout(seconds, hideAll);
    loop();
    Fl::remove_timeout(hideAll);
    return fired;
}

// A thread that ends the process when what it watches is still running past
// its deadline.
class Watchdog {
public:
    // The one watchdog; never destroyed, as its thread never ends.
    static Watchdog &instance()
    {
        static Watchdog *const watchdog = new Watchdog;
        return *watchdog;
    }

    void arm(const std::string &what, double seconds)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        what_ = what;
        seconds_ = seconds;
        deadline_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(seconds));
        armed_ = true;
        if (!started_) {
            started_ = true;
            std::thread([this] { watch(); }).detach();
        }
        wake_.notify_one();
    }

    void disarm()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
        wake_.notify_one();
    }

private:
    using Clock = std::chrono::steady_clock;

    void watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (!armed_) {
                wake_.wait(lock);
                continue;
            }
            const Clock::time_point deadline = deadline_;
            if (Clock::now() < deadline) {
                wake_.wait_until(lock, deadline);
                continue;  // woken early, re-armed or disarmed: look again
            }
            // Straight to the descriptor, and no exit handlers: the test's
            // thread may hold any lock.
            char message[512];
            const int length = std::snprintf(
                message, sizeof message,
                "\nloop_guard: %s still running after %.0f s: the process ends here "
                "(a wait that no guarded loop bounds; see tests/gui/loop_guard.h)\n",
                what_.c_str(), seconds_);
            if (length > 0 && write(2, message, std::min<size_t>(length, sizeof message - 1)) < 0) {
                // nothing more to say
            }
            _exit(1);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool started_ = false;
    bool armed_ = false;
    std::string what_;
    double seconds_ = 0;
    Clock::time_point deadline_;
};

// Watches the running GoogleTest test from its construction to its
// destruction: a member of the test's fixture, or a local at the top of its
// body.
class TestBound {
public:
    explicit TestBound(double seconds = TEST_SECONDS)
    {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        Watchdog::instance().arm(test != nullptr
                                     ? std::string(test->test_suite_name()) + "." + test->name()
                                     : std::string("a test"),
                                 seconds);
    }
    ~TestBound() { Watchdog::instance().disarm(); }
    TestBound(const TestBound &) = delete;
    TestBound &operator=(const TestBound &) = delete;
};

}  // namespace loopguard

#endif
