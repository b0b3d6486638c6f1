#include <gtest/gtest.h>

#include "charge_model.h"

namespace {

TEST(ChargeModel, VoltageRisesToANiMhPeakThenDrops) {
  const ChargeModel model;
  EXPECT_NEAR(model.at(0).millivolts, 1250, 5);
  int previous = 0;
  for (int minute = 0; minute <= static_cast<int>(model.peakMinute()); ++minute) {
    const int mv = model.at(minute).millivolts;
    EXPECT_GE(mv, previous) << "minute " << minute;
    previous = mv;
  }
  EXPECT_GE(previous, 1450);
  EXPECT_LE(previous, 1480);
  const int afterPeak = model.at(model.peakMinute() + 5).millivolts;
  EXPECT_LT(afterPeak, previous);
  EXPECT_GT(afterPeak, previous - 20) << "the drop that ends a charge is a few millivolts";
}

TEST(ChargeModel, TemperatureStaysFlatThenRisesInTheLastPart) {
  const ChargeModel model;
  for (double minute = 0; minute <= model.peakMinute() * 0.6; minute += 1) {
    const int tenths = model.at(minute).tenthsCelsius;
    EXPECT_GE(tenths, 220) << "minute " << minute;
    EXPECT_LE(tenths, 250) << "minute " << minute;
  }
  const int atPeak = model.at(model.peakMinute()).tenthsCelsius;
  EXPECT_GE(atPeak, 350);
  EXPECT_LE(atPeak, 400);
  EXPECT_LE(model.at(model.peakMinute() * 10).tenthsCelsius, 400);
}

TEST(ChargeModel, ReadingsAreSevenDigitsPaddedAndClamped) {
  EXPECT_EQ(FormatReading({1250, 231}), "1250231");
  EXPECT_EQ(FormatReading({987, 5}), "0987005");
  EXPECT_EQ(FormatReading({12345, 1000}), "9999999");
  EXPECT_EQ(FormatReading({-3, -1}), "0000000");
}

}  // namespace
