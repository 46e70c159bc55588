// The display units: both columns of the table and what they show.
#include "sim/units.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class DisplayUnits : public ::testing::Test {
 protected:
  void TearDown() override { units::SetMetric(); }
  static std::string Shown(float si, const units::displayunit& unit, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, si * unit.factor);
    return std::string(text) + " " + unit.name.Text();
  }
};

TEST_F(DisplayUnits, EachColumnGivesEveryQuantityItsFactorAndName) {
  struct {
    units::displayunit units::displayunits::*entry;
    float metric;
    const char* metricName;
    float imperial;
    const char* imperialName;
  } rows[] = {{&units::displayunits::length, 100.0f, "cm", 39.370079f, "in"},
              {&units::displayunits::mass, 1000.0f, "g", 2.2046342f, "lb"},
              {&units::displayunits::angle, 57.29578f, "deg", 57.29578f, "deg"},
              {&units::displayunits::power, 0.001f, "kW", 0.00134102f, "hp"},
              {&units::displayunits::rotationSpeed, 9.549297f, "RPM", 9.549297f, "RPM"},
              {&units::displayunits::force, 1.0f, "N", 1.0f, "N"},
              {&units::displayunits::area, 100.0f, "qdm", 1550.0031f, "sq in"},
              {&units::displayunits::wingLoading, 10.0f, "g/qdm", 3.2770756f, "oz/sq ft"}};
  for (bool imperial : {false, true}) {
    imperial ? units::SetImperial() : units::SetMetric();
    for (const auto& row : rows) {
      const units::displayunit& u = units::Current().*row.entry;
      EXPECT_FLOAT_EQ(u.factor, imperial ? row.imperial : row.metric) << row.metricName;
      EXPECT_STREQ(u.name.Text(), imperial ? row.imperialName : row.metricName);
    }
  }
}

TEST_F(DisplayUnits, ImperialShowsLengthsInInchesMassesInPoundsAndPowerInHorsepower) {
  units::SetImperial();
  const units::displayunits& u = units::Current();
  EXPECT_EQ(Shown(1.0f, u.length, "%.1f"), "39.4 in");
  EXPECT_EQ(Shown(2.5f, u.mass, "%.2f"), "5.51 lb");
  EXPECT_EQ(Shown(1000.0f, u.power, "%.2f"), "1.34 hp");
  EXPECT_EQ(Shown(10.0f, u.force, "%.1f"), "10.0 N");  // the same in both systems
}

}  // namespace
