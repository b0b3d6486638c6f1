#include "charge_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Smooth 0 -> 1 with a flat start and a flat end, so the steep last rise rounds into the peak.
double smoothStep(double u) {
  u = std::clamp(u, 0.0, 1.0);
  return u * u * (3.0 - 2.0 * u);
}

constexpr double StartMv = 1250.0;
constexpr double FirstRiseMv = 120.0;    // the quick rise of the first minutes
constexpr double PlateauRiseMv = 40.0;   // the slow climb over the middle of the charge
constexpr double LastRiseMv = 55.0;      // the steep climb once the cell is nearly full
constexpr double LastPartStart = 0.7;    // fraction of the time to the peak
constexpr double DropMvPerMinute = 1.5;

constexpr double StartTenths = 230.0;
constexpr double FlatRiseTenths = 15.0;
constexpr double LastRiseTenths = 140.0;
constexpr double AfterPeakTenthsPerMinute = 4.0;
constexpr double MaxTenths = 400.0;

}  // namespace

Reading ChargeModel::at(double minute) const {
  const double t = std::max(minute, 0.0);
  const double s = std::min(t / peakMinute_, 1.0);
  const double u = (s - LastPartStart) / (1.0 - LastPartStart);

  double mv = StartMv + FirstRiseMv * (1.0 - std::exp(-8.0 * s)) + PlateauRiseMv * s +
              LastRiseMv * smoothStep(u);
  double tenths = StartTenths + FlatRiseTenths * s;
  if (u > 0.0) tenths += LastRiseTenths * u * u;

  const double afterPeak = t - peakMinute_;
  if (afterPeak > 0.0) {
    mv -= DropMvPerMinute * afterPeak;
    tenths = std::min(tenths + AfterPeakTenthsPerMinute * afterPeak, MaxTenths);
  }
  return {static_cast<int>(std::lround(mv)), static_cast<int>(std::lround(tenths))};
}

std::string FormatReading(const Reading& reading) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%03d", std::clamp(reading.millivolts, 0, 9999),
                std::clamp(reading.tenthsCelsius, 0, 999));
  return text;
}
