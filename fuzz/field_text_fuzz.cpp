// Reads arbitrary bytes as the text typed into a designer value field: the
// number read is always finite, and what a field stores into its member too,
// whatever the factor.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "designer/field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(strnlen(text.c_str(), text.size()));
  if (!std::isfinite(svdesign::LeadingNumber(text.c_str()))) std::abort();

  static const float kFactors[] = {1.0f, 1000.0f, 0.001f, 0.0f, 1.0e-30f};
  float member = 0.0f;
  svdesignfield field(0, 0, 80, 20, &member, "%.2f", "g", 1.0f);
  std::strncpy(field.text, text.c_str(), kxedit::kMaxText);
  field.text[kxedit::kMaxText] = 0;
  for (float factor : kFactors) {
    field.factor = factor;
    field.Apply();
    if (!std::isfinite(member)) std::abort();
  }
  return 0;
}
