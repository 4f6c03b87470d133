#ifndef GLINT_TESTS_VIEWER_DRIVER_FIXTURE_H
#define GLINT_TESTS_VIEWER_DRIVER_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "gui/toolkit.h"
#include "tests/support.h"
#include "viewer/render.h"

// glintview's render driver, headless: a canvas element that is never shown,
// the driver stepped by hand; a temporary folder for scenes and images.
class ViewerDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IupOpen();
        canvas = IupCanvas("repaint_cb");
        ASSERT_EQ(rvCreateCanvas(canvas), 1);
    }
    void TearDown() override
    {
        rvFree();
        IupClose();
    }

    // Steps until rvStep returns 0 (at most limit times); the number of steps.
    static int stepAll(int limit = 100000)
    {
        int steps = 0;
        while (steps < limit) {
            ++steps;
            if (rvStep() == 0)
                break;
        }
        return steps;
    }

    // What saving prints.
    static std::string save()
    {
        return captureStdout([] { rvSave(); });
    }

    TempDir dir;
    Ihandle *canvas = nullptr;
};

#endif
