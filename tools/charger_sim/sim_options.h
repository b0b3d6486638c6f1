#pragma once
// The simulator's command line.

#include <stdexcept>
#include <string>
#include <vector>

#include "reply_script.h"

struct SimOptions {
  std::string link;       // where to place a link to the pty's slave; empty: print the path only
  std::string log;        // every byte received, raw, in arrival order
  std::string sentLog;    // every byte sent, raw
  int replyDelayMs = 0;
  bool exitWithParent = false;
  bool help = false;
  ScriptOptions script;
};

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws UsageError with a message naming the offending argument.
SimOptions ParseSimOptions(const std::vector<std::string>& args);

extern const char SimUsage[];
