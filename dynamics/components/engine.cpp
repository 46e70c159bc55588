#include "dynamics/components/engine.h"

kxtype kxdengine::Type("kxdengine", sizeof(kxdengine), nullptr);

namespace {
constexpr float kRadPerSecondToRpm = 30.0f / 3.1415927f;
}  // namespace

float kxdengine::GetRPM() { return W * kRadPerSecondToRpm; }

kxdengine* kxdengine::As(kxnode* node) { return kxnode::As<kxdengine>(node); }
