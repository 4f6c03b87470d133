#ifndef GLINT_TESTS_GUI_LOOP_GUARD_H
#define GLINT_TESTS_GUI_LOOP_GUARD_H

// A bound on the event loops that window tests run: past it every window is
// hidden, which ends the layer's main loop and any modal dialog's, so a test
// that waits for something that never comes fails instead of hanging.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

namespace loopguard {

inline bool fired = false;

inline void hideAll(void *)
{
    fired = true;
    while (Fl_Window *w = Fl::first_window())
        w->hide();
}

// Runs loop (IupMainLoop, or a call that shows a modal dialog) with the guard
// armed for the given seconds; true when the guard had to end it.
template <class Loop> bool runGuarded(Loop loop, double seconds = 120.0)
{
    fired = false;
    Fl::add_timeout(seconds, hideAll);
    loop();
    Fl::remove_timeout(hideAll);
    return fired;
}

}  // namespace loopguard

#endif
