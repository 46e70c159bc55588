// The designer's fixture under a real OpenGL context: a hidden window of
// 640 x 480 (tests are skipped without a display) and a window back end
// that counts the frames the designer swaps, so its whole frame can be
// drawn and read back pixel by pixel.
#pragma once

#include "designer_support.h"
#include "platform/null_window.h"
#include "tests/gui/gl_gui_support.h"

namespace designertest {

constexpr int kGlWidth = 640, kGlHeight = 480;  // px

class designerglfixture : public kxtest::glguitest<designerfixture, kGlWidth, kGlHeight> {
 protected:
  void SetUp() override {
    glguitest::SetUp();
    kxsystem::SetWindowBackend(&null_);
  }
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    glguitest::TearDown();
  }
  nullwindowbackend null_;
};

}  // namespace designertest
