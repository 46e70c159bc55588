// The designer's value fields. svdedit ("svdedit") is a kxedit with its text
// right-aligned and Tab moving between sibling fields; svdesignfield binds one
// to a float of a component and converts between the stored SI value and the
// text in display units.
#pragma once

#include "core/string.h"
#include "gui/edit.h"

class svdedit : public kxedit {
 public:
  static kxtype Type;  // "svdedit", derived from "kxedit"

  svdedit();
  svdedit(int x, int y, int w, int h);
};

class svdesignfield : public svdedit {
 public:
  static kxtype Type;  // made only by code
  static constexpr int kMaxChars = 10;

  float* value = nullptr;  // the bound member, SI; null: the field shows nothing and stores nothing
  float factor = 1.0f;     // display value per stored value
  kxstring format;         // printf conversion of one double, "%.0f" .. "%.3f"
  kxstring unit;           // appended after a blank, literally
  int hadFocus = 0;        // 1 while the field holds the keyboard focus

  svdesignfield(int x, int y, int w, int h, float* bound, const char* numberFormat, const char* unitName,
                float displayFactor);

  // The focus rule after the layout: leaving the field commits the shown
  // page once and shows the committed value.
  void Update() override;
  // A sunken frame around the field, then the text.
  void Draw(int ox, int oy) override;

  // Text := factor x value in the format, a blank and the unit.
  void Refresh() override;
  // Value := the number the text starts with / factor, within the float
  // range; a text that starts with no number keeps the value (the next
  // Refresh shows it again).
  virtual void Apply();
  // Whether the user changed the text since the last Refresh.
  bool Edited() const;

 private:
  kxstring shown_;  // what the last Refresh wrote
};

namespace svdesign {

// The number a typed text starts with, after leading blanks:
// [+|-](digits[.[digits]] | .digits)[(e|E)[+|-]digits]; whatever follows (a
// unit) is ignored. 0 when the text starts with no number or the number
// does not fit a float.
float LeadingNumber(const char* text);
// The number a typed text starts with, read as LeadingNumber reads it but
// in double precision; false when the text starts with no number.
bool TypedNumber(const char* text, double* out);

}  // namespace svdesign
