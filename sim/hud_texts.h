// The 54 head-up and status texts of the flight view, English by default; a
// language file's SimText entries replace them at start-up.
#pragma once

class multilanguage;

namespace sim {

constexpr int kHudTexts = 54;

// Head-up text k (0..53); "" outside the table.
const char* HudText(int k);
// The SimText entry head-up text k is taken from.
int HudTextSource(int k);
// Back to the English texts.
void ResetHudTexts();
// Takes each SimText entry that is set and whose printf conversions match
// the English text's, so a translation can never hand the drawing a format
// that reads arguments it is not given. Returns the number taken.
int ApplyLanguageToHudTexts(const multilanguage& language);
// 1 when both formats convert the same argument types in the same order.
int SameConversions(const char* a, const char* b);

}  // namespace sim
