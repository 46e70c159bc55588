// Shared set-up of the GUI tests: the interpreter and the GUI roots once, a
// fresh full-screen background as the visible screen for each test, a
// pointing device the test moves by pixel, and a captured log.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "gui/background.h"
#include "gui/display.h"
#include "gui/gui.h"
#include "gui/icons.h"
#include "platform/codes.h"
#include "tests/core/test_support.h"

namespace kxtest {

// Test fixtures first, then the data folder the tests run in.
inline std::string ResolveTestPath(const char* path) {
  std::string fixture = std::string(KX_TEST_DATA) + "/" + path;
  if (FILE* f = std::fopen(fixture.c_str(), "rb")) {
    std::fclose(f);
    return fixture;
  }
  return path;
}

class guitest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The program runs in its data folder; the file layer opens paths from there.
    folder_ = std::filesystem::current_path();
    if (chdir(KX_TEST_DATA "/../../../data") != 0) std::perror("chdir to the data folder");
    resolver_ = kxcore::SetPathResolver(ResolveTestPath);
    kxscript::Init();
    kxgui::RegisterTypes();
  }
  // The suites after this one in the same process find the folder, the path
  // resolver and the icon sheets as they were: the fixtures' folder holds
  // files (a language file, settings) that would otherwise stand in for theirs.
  static void TearDownTestSuite() {
    kxgui::FreeIcons();
    kxcore::SetPathResolver(resolver_);
    std::error_code error;
    std::filesystem::current_path(folder_, error);
  }

  void SetUp() override {
    kxgui::Reset();
    kxscript::Reset();
    screen = new kxbackground;
    screen->name = "Visible";
    kxnode::Find("/Display/")->AddChild(screen);
    kxgui::Visible = screen;
    kxgui::PointingDevice = device;
    Point(0, 0);
  }

  void TearDown() override {
    delete screen;
    kxgui::Reset();
    kxscript::Reset();
  }

  // Puts the pointer on pixel (x, y) of the screen.
  void Point(int x, int y) {
    device[0] = (static_cast<float>(x) + 0.5f) / static_cast<float>(screen->W);
    device[1] = (static_cast<float>(y) + 0.5f) / static_cast<float>(screen->H);
  }
  void Mouse(int code, int x, int y, int modifiers = 0) {
    Point(x, y);
    kxgui::OnMouse(code, modifiers);
  }
  void Click(int x, int y) {
    Mouse(kxcode::kMouseLeftDown, x, y);
    Mouse(kxcode::kMouseLeftUp, x, y);
  }
  bool LogHas(const char* piece) const { return capture_.Contains(piece); }

  kxbackground* screen = nullptr;
  float device[3] = {0, 0, 0};
  logcapture capture_;

 private:
  static inline kxcore::PathResolver resolver_ = nullptr;
  static inline std::filesystem::path folder_;
};

}  // namespace kxtest
