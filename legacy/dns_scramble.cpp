#include "legacy/dns_scramble.h"

namespace dnsmodel {
namespace {

constexpr unsigned kStepFactor = 73;
constexpr unsigned kStepOffset = 29;
constexpr unsigned kSteps = 254;       // steps 1..254: never a whole turn
constexpr unsigned kNonZeroValues = 255;

// The step of the byte at position i, 1..254.
unsigned Step(size_t i) { return 1 + static_cast<unsigned>((i * kStepFactor + kStepOffset) % kSteps); }

// Moves a non-zero byte forward by step among 1..255; zero stays.
char Turn(char c, unsigned step) {
  unsigned b = static_cast<unsigned char>(c);
  if (b == 0) return c;
  return static_cast<char>(1 + (b - 1 + step) % kNonZeroValues);
}

}  // namespace

void Scramble(char* text, size_t size) {
  for (size_t i = 0; i < size; ++i) text[i] = Turn(text[i], Step(i));
}

void Descramble(char* text, size_t size) {
  for (size_t i = 0; i < size; ++i) text[i] = Turn(text[i], kNonZeroValues - Step(i));
}

}  // namespace dnsmodel
