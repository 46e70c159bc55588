// kxargs: the argument values of a member or command call. Missing arguments
// read as 0, "" or null, so a command run bare gets its defaults.
#pragma once

#include <utility>
#include <vector>

#include "core/value.h"

class kxargs {
 public:
  kxargs() = default;
  kxargs(kxargs&&) = default;
  kxargs& operator=(kxargs&&) = default;

  void Add(kxvalueptr value) { values_.push_back(std::move(value)); }
  size_t Count() const { return values_.size(); }
  const kxvalue* At(size_t i) const { return i < values_.size() ? values_[i].get() : nullptr; }

  int Int(size_t i, int fallback = 0) const { return At(i) ? kxvalue::ToInt(At(i)) : fallback; }
  float Real(size_t i, float fallback = 0.0f) const { return At(i) ? kxvalue::ToReal(At(i)) : fallback; }
  kxstring String(size_t i) const { return kxvalue::ToString(At(i)); }
  kxnode* Node(size_t i) const { return kxvalue::ToNode(At(i)); }
  // The int at i when it lies in [0, count); -1 when missing or outside, so
  // an index read from a file can never reach past a table.
  int Index(size_t i, int count) const {
    if (!At(i)) return -1;
    int v = kxvalue::ToInt(At(i));
    return v >= 0 && v < count ? v : -1;
  }

  static const kxargs& None() {
    static const kxargs none;
    return none;
  }

 private:
  std::vector<kxvalueptr> values_;
};
