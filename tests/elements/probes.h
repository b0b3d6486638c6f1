#pragma once
// Test elements at the ends of links, and dispatch switched on for each test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event.h"
#include "object.h"

class TProbe : public TObject {
public:
  std::vector<TData> Received;
  std::vector<std::string>* Log = nullptr;  // "name:text" of each arrival, shared by probes
  std::string Name;
  void doReceive(TData& data, std::uint16_t) {
    Received.push_back(data);
    if (Log) Log->push_back(Name + ":" + data.StrValue);
  }
  TNd_Event Link() { return MakeEvent<&TProbe::doReceive>(this, 0); }
};

class TSource : public TObject {
public:
  TData Value;
  void getValue(TData& data, std::uint16_t) { data = Value; }
  TNd_Event Link() { return MakeEvent<&TSource::getValue>(this, 0); }
};

class DispatchTest : public ::testing::Test {
protected:
  void SetUp() override { InstallDispatchers(); }
  void TearDown() override { RemoveDispatchers(); }
};

inline TData StringData(const std::string& text) {
  TData d;
  MakeString(d, text);
  return d;
}
inline TData IntegerData(std::int32_t value) {
  TData d;
  MakeInteger(d, value);
  return d;
}
