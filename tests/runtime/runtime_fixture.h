#pragma once
// Dispatch state is process-wide: each test starts with dispatch on and an empty start-up
// list, and leaves dispatch off as the program starts.

#include <gtest/gtest.h>

#include "event.h"

class RuntimeTest : public ::testing::Test {
protected:
  void SetUp() override { InstallDispatchers(); InitProcs.clear(); }
  void TearDown() override { RemoveDispatchers(); InitProcs.clear(); }
};
