// window_churn, a helper of the window library's test (xwindow_test.sh):
//   window_churn keep TITLE CLASS      shows a top-level window named TITLE,
//                                      of the class CLASS, and keeps it;
//   window_churn churn COUNT [LIFE]    creates COUNT top-level windows, shows
//                                      them, and destroys them LIFE
//                                      microseconds later (0 by default),
//                                      over and over, as programs opening and
//                                      closing windows do.
// Either ends when killed or, at the latest, after two minutes, so that
// nothing outlives a test that was stopped. Exit status 0 at that bound, 1
// without a display, 2 on a usage error.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr auto LIFETIME = std::chrono::minutes(2);

bool expired(std::chrono::steady_clock::time_point begin)
{
    return std::chrono::steady_clock::now() - begin > LIFETIME;
}

Window makeWindow(Display *display, int x, int y)
{
    return XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, 40, 30, 0,
                               BlackPixel(display, DefaultScreen(display)),
                               WhitePixel(display, DefaultScreen(display)));
}

int keep(Display *display, const char *title, const char *className)
{
    const auto begin = std::chrono::steady_clock::now();
    const Window window = makeWindow(display, 10, 10);
    XStoreName(display, window, title);
    XClassHint hint;
    hint.res_name = const_cast<char *>(className);
    hint.res_class = const_cast<char *>(className);
    XSetClassHint(display, window, &hint);
    XMapWindow(display, window);
    XSync(display, False);
    while (!expired(begin)) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 0;
}

int churn(Display *display, int count, int life)
{
    const auto begin = std::chrono::steady_clock::now();
    std::vector<Window> windows(static_cast<size_t>(count));
    while (!expired(begin)) {
        for (int i = 0; i < count; ++i) {
            windows[static_cast<size_t>(i)] = makeWindow(display, 60 + 2 * i, 60 + i);
            XStoreName(display, windows[static_cast<size_t>(i)], "churn");
            XMapWindow(display, windows[static_cast<size_t>(i)]);
        }
        XSync(display, False);
        if (life > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(life));
        for (const Window window : windows)
            XDestroyWindow(display, window);
        XSync(display, False);
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    const bool keeping = argc == 4 && std::strcmp(argv[1], "keep") == 0;
    const bool churning =
        (argc == 3 || argc == 4) && std::strcmp(argv[1], "churn") == 0 && std::atoi(argv[2]) > 0;
    if (!keeping && !churning) {
        std::fprintf(stderr, "usage: %s keep TITLE CLASS | churn COUNT [LIFE]\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    const int life = argc > 3 ? std::atoi(argv[3]) : 0;
    const int status =
        keeping ? keep(display, argv[2], argv[3]) : churn(display, std::atoi(argv[2]), life);
    XCloseDisplay(display);
    return status;
}
