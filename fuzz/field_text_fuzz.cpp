// Reads arbitrary bytes as the text typed into a designer value field: the
// number read is always finite, a text that is a number whole reads as that
// number, and the field stores the number shown over its display factor
// (0 where that is no finite number).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/numbers.h"
#include "designer/field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(strnlen(text.c_str(), text.size()));
  const float shown = svdesign::LeadingNumber(text.c_str());
  if (!std::isfinite(shown)) std::abort();
  float whole = 0.0f;
  if (kxnumber::Parse(text, whole) && shown != whole) std::abort();

  static const float kFactors[] = {1.0f, 1000.0f, 0.001f, 0.0f, 1.0e-30f};
  float member = 0.0f;
  svdesignfield field(0, 0, 80, 20, &member, "%.2f", "g", 1.0f);
  std::strncpy(field.text, text.c_str(), kxedit::kMaxText);
  field.text[kxedit::kMaxText] = 0;
  const float typed = svdesign::LeadingNumber(field.text);  // the text as the field holds it
  for (float factor : kFactors) {
    field.factor = factor;
    member = 1.0f;
    field.Apply();
    float stored = typed / factor;
    if (member != (std::isfinite(stored) ? stored : 0.0f)) std::abort();
  }
  return 0;
}
