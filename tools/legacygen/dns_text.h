// Writes the text of a .dns model in the forms the reader takes: a
// declaration per part, then one statement per line addressing it, numbers
// as "%g" in the C locale. Vectors keep their bracket as a token of its own.
#pragma once

#include <string>

namespace legacygen {

struct vec {
  float x, y, z;
};

class dnstext {
 public:
  // The header line and a comment line saying what the model is.
  explicit dnstext(const std::string& description);
  // "<cls> <name>;"; the setters after it address this part.
  dnstext& Part(const char* cls, const std::string& name);
  dnstext& Set(const char* member, float value);
  dnstext& SetInt(const char* member, int value);
  dnstext& SetVector(const char* member, vec v);
  dnstext& SetText(const char* member, const std::string& text);
  // The X, Y and Z axes of the part's frame, in body axes.
  dnstext& SetAxes(vec x, vec y, vec z);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  std::string part_;
};

}  // namespace legacygen
