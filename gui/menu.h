// Menus: titles in a menu bar (kxmenuitem), the pop-up panel a title opens
// (kxpopup), its entries (kxpopupitem) with their enable and check rules, and
// the separator line (kxpopupbar). An open pop-up is the first child of the
// visible screen and holds the capture; it closes itself once the focus
// leaves it.
#pragma once

#include <functional>
#include <utility>

#include "core/string.h"
#include "gui/graphic.h"

// The variable an entry's check or enable rule reads at each draw: an int
// flag, or any other variable through a reader that gives its number (a
// named code is read through its own type). Empty: no rule.
class kxmenuvariable {
 public:
  kxmenuvariable() = default;
  kxmenuvariable(const int* flag) {
    if (flag) read_ = [flag] { return *flag; };
  }
  explicit kxmenuvariable(std::function<int()> reader) : read_(std::move(reader)) {}

  explicit operator bool() const { return static_cast<bool>(read_); }
  int Value() const { return read_(); }

 private:
  std::function<int()> read_;
};

// How an entry's enable rule compares its variable with the rule's value:
// enabled while the variable is non-zero (the value unused), equal to the
// value, or not equal to it.
enum class enablerule { nonzero, equal, notequal };

class kxmenuitem : public kxgraphic {
 public:
  static kxtype Type;

  kxstring Text;
  kxstring Action;  // run with the title as context
  int Disabled = 0;

  kxmenuitem();
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  // Sized to its text: W = TW + L / 2 + 2, H = L + 4.
  void Update() override;
  void OnLeftDown() override;
  // Slides to this title while a menu is open or another title has the focus.
  void OnMove() override;
  void Draw(int ox, int oy) override;

  // Places the menu titles among owner's children in a row from its left
  // edge, their tops belowTop px under its top edge. Returns the height of
  // the last title placed (px), 0 without titles.
  static int LayOutBar(kxgraphic* owner, int belowTop);
};

class kxpopup : public kxgraphic {
 public:
  static kxtype Type;

  kxpopup();
  ~kxpopup() override;
  // "Show", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Stacks the entries from the bottom up (the first child on top), hides
  // hidden entries far away, then closes itself when the focus is elsewhere.
  void Update() override;
  void OnKey(int character, int code) override;
  void Draw(int ox, int oy) override;

  // Opens below the node that runs the command (normally its title). Does
  // nothing without a visible screen.
  void Show();
  // Parks the pop-up under the invisible screen and drops its capture.
  void Close();
  // The node the entries' commands run with; null when it has gone.
  kxnode* Context() const;
  void ForgetContext(const kxgraphic* widget);

 private:
  // A widget context is cleared by the destroy notification; any other node
  // is kept by path, since no notification reaches the GUI for it.
  kxgraphic* contextWidget_ = nullptr;
  kxstring contextPath_;
};

class kxpopupitem : public kxgraphic {
 public:
  static kxtype Type;

  kxstring Text;
  kxstring OnPress;
  int Icon = 0;        // first icon sheet; 0 none, 2 the check mark
  int Disabled = 0;    // recomputed at each draw when an enable variable is set
  kxmenuvariable checkVariable;
  int checkValue = 0;  // 0: checked while the variable is non-zero; otherwise while equal
  kxmenuvariable enableVariable;
  enablerule enableRule = enablerule::nonzero;
  int enableValue = 0;
  int Hidden = 0;      // takes no place in the pop-up

  kxpopupitem();
  kxpopupitem(const char* text, const char* command, int icon);
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Update() override;
  void OnMove() override;
  void OnLeftUp() override;
  void OnKey(int character, int code) override;
  void Draw(int ox, int oy) override;

  // The enable rule: sets Disabled from the enable variable when one is set.
  void ApplyEnableRule();
  // The check rule; 0 without a check variable.
  int IsChecked() const;
  kxpopup* Popup() const;

 private:
  void Run();
};

class kxpopupbar : public kxgraphic {
 public:
  static kxtype Type;

  kxpopupbar();
  void Update() override;
  void Draw(int ox, int oy) override;
};
