// Set-up shared by the widget library's tests: the GUI fixture with a font of
// fixed advance built in memory (so text widths are exact), and script
// commands that record what the widgets ran.
#pragma once

#include <string>
#include <vector>

#include "core/function.h"
#include "graphics/font.h"
#include "gui_support.h"

namespace kxtest {

inline std::vector<std::string>& Ran() {
  static std::vector<std::string> ran;
  return ran;
}

// The GUI fixture with the fixed-advance font set for every test.
class fixedfonttest : public guitest {
 protected:
  static constexpr int kAdvance = 7;  // px per character
  static constexpr int kLine = 14;    // px

  void SetUp() override {
    guitest::SetUp();
    font = kxglfont{};
    font.lineHeight = kLine;
    font.ascent = 11;
    for (kxglyph& g : font.glyphs) g.advance = kAdvance;
    kxgl::SetFont(&font);
  }
  void TearDown() override {
    kxgl::SetFont(nullptr);
    guitest::TearDown();
  }

  kxglfont font;
};

class widgettest : public fixedfonttest {
 protected:
  static void SetUpTestSuite() {
    fixedfonttest::SetUpTestSuite();
    // "Note( text )" records its text, "Count" records "count".
    kxfunction::Register("Note", +[](const char* text) { Ran().push_back(text ? text : ""); });
    kxfunction::Register("Count", +[]() { Ran().push_back("count"); });
  }

  void SetUp() override {
    fixedfonttest::SetUp();
    Ran().clear();
  }

  // Adds a widget to the screen and lays the screen out.
  template <class T>
  T* Add(T* widget, int x, int y) {
    widget->X = x;
    widget->Y = y;
    screen->AddChild(widget);
    screen->Update();
    return widget;
  }
  void Key(int key, int modifiers = 0) { kxgui::OnKey(key, modifiers); }
  void Type(const char* text) {
    for (const char* p = text; *p; ++p) Key(static_cast<unsigned char>(*p));
  }
};

}  // namespace kxtest
