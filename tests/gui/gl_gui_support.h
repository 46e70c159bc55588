// A GUI fixture that draws: the base fixture's set-up plus a hidden window
// of width x height with a current compatibility context for the suite (a
// shown one would take the keyboard focus from the other window tests on
// the display). Tests are skipped without a display or a context.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "tests/platform/gl_support.h"

namespace kxtest {

template <class Base, int Width, int Height>
class glguitest : public Base {
 protected:
  static void SetUpTestSuite() {
    Base::SetUpTestSuite();
    if (std::getenv("DISPLAY") && Window().Open("gui test", Width, Height)) kxsystem::SetHasContext(1);
  }
  static void TearDownTestSuite() {
    kxgl::ContextLost();
    kxsystem::SetHasContext(0);
    Window().Close();
    Base::TearDownTestSuite();
  }

  void SetUp() override {
    Base::SetUp();
    if (!kxgl::HasContext()) GTEST_SKIP() << "no OpenGL context (no display)";
    kxsystem::display.window_width = Width;
    kxsystem::display.window_height = Height;
    this->screen->W = Width;
    this->screen->H = Height;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  static hiddenglwindow& Window() {
    static hiddenglwindow window;
    return window;
  }
};

}  // namespace kxtest
