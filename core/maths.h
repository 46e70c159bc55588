// The numbers the program shares - pi and the angle, turning-speed and
// speed factors - defined once, so no two files can drift apart by a bit. Each
// value is the float the files that use it have always computed with: the
// flight traces depend on them to the last bit.
#pragma once

#include <numbers>

namespace kxmaths {

// ---- angles
inline constexpr float kPi = std::numbers::pi_v<float>;
inline constexpr float kTwoPi = 2.0f * kPi;
inline constexpr float kRadiansPerDegree = kPi / 180.0f;   // 0.0174532924
inline constexpr float kDegreesPerRadian = 180.0f / kPi;   // 57.2957764
// For the code that turns in double (the scenery's meshes).
inline constexpr double kRadiansPerDegreeDouble = std::numbers::pi / 180.0;
// The cockpit's compass and the heading line have always been drawn with
// this factor, one bit above kDegreesPerRadian. A heading truncated to whole
// degrees can differ by one between the two, so what is shown keeps it.
inline constexpr float kShownDegreesPerRadian = 57.29578f;

// ---- turning speeds
inline constexpr float kRpmPerRadianPerSecond = 30.0f / kPi;        // 9.54929638
inline constexpr float kRadiansPerSecondPerRpm = kTwoPi / 60.0f;

// ---- speeds
inline constexpr float kKmhPerMs = 3.6f;

}  // namespace kxmaths
