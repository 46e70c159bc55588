// kxtextcombo: a text field with a button that drops down a list of strings
// (kxcombolist, a scrolled column of texts hung below the combo on the
// visible screen). Picking an item sets the combo's Text and runs its
// OnSelection; the list destroys itself once the focus leaves it, and
// Escape closes it without a pick.
#pragma once

#include "core/string.h"
#include "gui/text.h"

class kxbutton;
class kxtextcombo;

class kxcombolist : public kxgraphic {
 public:
  static kxtype Type;  // made only by code, never registered

  kxtextcombo* combo = nullptr;  // cleared when the combo goes first

  kxcombolist();
  ~kxcombolist() override;
  // "Selection( text )" goes to the combo, then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Escape closes the list and goes no further: only the next one reaches
  // the screen. Other keys go to the parent.
  void OnKey(int character, int code) override;
  // Closes (and destroys) the list when the focus is neither it nor inside it.
  void Update() override;
};

class kxtextcombo : public kxtext {
 public:
  static kxtype Type;
  static constexpr int kItemHeight = 16;  // px
  static constexpr int kMinList = 16;     // px
  static constexpr int kMaxList = 160;    // px

  kxbutton* button = nullptr;           // "combobutton", opens the list
  const char* const* items = nullptr;   // null-terminated; set by the application
  kxstring OnSelection;
  kxcombolist* list = nullptr;          // the open list, or null

  kxtextcombo();
  ~kxtextcombo() override;

  // "ShowList", "Selection( text )", "OnSelection", then the text's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // The text's steps; the button goes to the right end.
  void Update() override;

  // Hangs the list of items below the combo on the visible screen with the
  // focus. Nothing without a visible screen.
  void ShowList();
  void Select(const char* text);
  static int ListHeight(int itemCount);
};
