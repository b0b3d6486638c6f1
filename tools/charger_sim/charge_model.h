#pragma once
// A single NiMH cell on a fast charge, as the charger's own probes would report it.

#include <string>

struct Reading {
  int millivolts = 0;
  int tenthsCelsius = 0;
};

class ChargeModel {
public:
  // Minutes from the start of the charge to the voltage peak.
  explicit ChargeModel(double peakMinute = 75.0) : peakMinute_(peakMinute) {}

  Reading at(double minute) const;
  double peakMinute() const { return peakMinute_; }

private:
  double peakMinute_;
};

// The seven digits the charger sends for a reading: four of millivolts, three of tenths of a
// degree, each clamped to what its digits can hold.
std::string FormatReading(const Reading& reading);

// The drop below the highest voltage seen so far at which the charger ends the charge.
inline constexpr int EndDropMillivolts = 5;
