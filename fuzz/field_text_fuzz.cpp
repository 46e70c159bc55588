// Reads arbitrary bytes as the text typed into a designer value field: the
// number read is always finite, a text that is a number whole reads as that
// number, and the field stores the number typed over its display factor,
// held to the float range; a text that starts with no number, or a quotient
// that is no number at all, leaves the stored value as it was.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
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
  double typed = 0.0;  // the text as the field holds it
  const bool number = svdesign::TypedNumber(field.text, &typed);
  constexpr double kLargest = std::numeric_limits<float>::max();
  for (float factor : kFactors) {
    field.factor = factor;
    member = 1.0f;
    field.Apply();
    const double stored = typed / static_cast<double>(factor);
    const float expected = !number || std::isnan(stored)
                               ? 1.0f
                               : static_cast<float>(std::max(-kLargest, std::min(stored, kLargest)));
    if (member != expected || !std::isfinite(member)) std::abort();
  }
  return 0;
}
