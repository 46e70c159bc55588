// kxedit: a one-line input field with a cursor, horizontal scrolling, right
// alignment, Tab navigation between sibling fields and a Return command. The
// typed text goes to the command quoted, "OnReturn( "text" )", so a quote or
// a ";" typed by the user stays text.
#pragma once

#include "core/string.h"
#include "gui/color.h"
#include "gui/graphic.h"

class kxedit : public kxgraphic {
 public:
  static kxtype Type;
  static constexpr int kBufferSize = 256;  // bytes, with the terminating zero
  static constexpr int kMaxText = kBufferSize - 1;

  char text[kBufferSize] = {};  // the application reads and writes it directly
  int maxLength = 250;          // characters; above kMaxText counts as kMaxText
  kxstring OnReturn;
  kxcolor4 textColor = {0, 0, 0, 1};   // palette entry 0 when its alpha is 0
  kxcolor4 background = {0, 0, 0, 0};  // filled when its alpha is not 0
  int scroll = 0;   // px the text is moved right (negative: scrolled left)
  int cursor = 0;   // characters before the cursor
  int cursorX = 0;  // px from the text area's left edge
  int rightAlign = 0;
  int tabNavigation = 0;

  kxedit();
  kxedit(int x, int y, int w, int h);

  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  // Anchors and children, then the cursor clamped and kept inside the field.
  void Update() override;
  void OnKey(int character, int code) override;
  // Puts the cursor at the character under the pointer.
  void OnLeftDown() override;
  void Draw(int ox, int oy) override;

  // Replaces the text, cut to the maximum length; the cursor goes to its end.
  void SetText(const char* value);
  int Length() const;
  int MaxLength() const;
  // The command Return runs: OnReturn + "( " + the quoted text + " )".
  kxstring ReturnCommand() const;

 private:
  void Insert(char c);
  void Erase(int at);
  void FocusSibling(bool forward);
};
