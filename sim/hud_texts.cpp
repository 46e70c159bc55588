#include "sim/hud_texts.h"

#include <cstring>
#include <string>

#include "sim/multilanguage.h"

namespace sim {

namespace {

constexpr const char* kEnglish[kHudTexts] = {
    "Speed:", "Height:", "Altitude:", "Heading: %3ddeg", "RPM: %3drmin", "FPS: %2.1f",
    "Recording flight: %dsec", "Playing recorded flight: %dsec", "Flight length: %dsec",
    "Recorded Flight length: %dsec", "Recorded Aircraft: %s", "Press 'w' to play Recording",
    "Press 'r' to stop Recording", "Press 'w' to stop Playback", "Time: %dsec%02d", "Best: %dsec%02d",
    "Time is up", "remaining time: %dsec%02d", "record: none yet", "DISQUALIFIED", "Balloons left: %d",
    "Balloons popped: %d", "rounds to go: %d", "pylon to clear: %d", "best score: %d points",
    "best score: none yet", "last attempt: %d points", "last attempt: invalid",
    "Attempt to land in green area...", "Press 'Enter' to Start", "New Record: %dsec%02d",
    "Winner!!! Time: %dsec%02d", "Pylon Missed", "Flight Info", "Aircraft only", "Wind and Variometer",
    "Follow Mode", "Fixed Viewing Position", "Recorded Flight (fixed Viewer)", "Recorded Flight (Follow Mode)",
    "Recorded Flight (Cockpit Mode)", "Pylon Race", "Drag Race", "Balloon Popping", "Spot Landing",
    "Simulation Speed at %.0f%%", "Sound on", "Sound off", "Music on", "Music off", "no soundcard found",
    "Pause on", "Pause off", "Position saved",
};

std::string texts[kHudTexts];
bool initialised = false;

void EnsureTexts() {
  if (initialised) return;
  ResetHudTexts();
}

// The conversion letters of a printf format with their length modifiers, in
// order; "%%" counts as text. A '*' width or precision, or "%n", never passes.
bool Conversions(const char* format, std::string& out) {
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0123456789.", *p)) ++p;
    if (*p == '*') return false;
    std::string spec;
    while (*p && std::strchr("hlLqjzt", *p)) spec += *p++;
    if (!*p || *p == 'n') return false;
    spec += *p;
    out += spec;
    out += ',';
  }
  return true;
}

}  // namespace

int HudTextSource(int k) {
  if (k < 0 || k >= kHudTexts) return -1;
  if (k <= 3) return k;
  if (k == 4) return 70;
  if (k <= 32) return k - 1;
  if (k <= 44) return k + 7;
  static const int kTail[] = {60, 61, 62, 64, 65, 63, 66, 67, 68};  // texts 45..53
  return kTail[k - 45];
}

const char* HudText(int k) {
  EnsureTexts();
  return k >= 0 && k < kHudTexts ? texts[k].c_str() : "";
}

void ResetHudTexts() {
  for (int k = 0; k < kHudTexts; ++k) texts[k] = kEnglish[k];
  initialised = true;
}

int SameConversions(const char* a, const char* b) {
  std::string ca, cb;
  return Conversions(a, ca) && Conversions(b, cb) && ca == cb ? 1 : 0;
}

int ApplyLanguageToHudTexts(const multilanguage& language) {
  EnsureTexts();
  int taken = 0;
  for (int k = 0; k < kHudTexts; ++k) {
    const kxstring& text = language.simText[HudTextSource(k)];
    if (text.Empty() || !SameConversions(text.Text(), kEnglish[k])) continue;
    texts[k] = text.Str();
    ++taken;
  }
  return taken;
}

}  // namespace sim
