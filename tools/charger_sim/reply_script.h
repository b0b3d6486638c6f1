#pragma once
// What the simulated charger answers to each poll ("f"), by scenario. Polls count from 1.

#include <cstdint>
#include <optional>
#include <string>

enum class Scenario { Normal, Silent, Garbage, Short, Long, Drop };

struct ScriptOptions {
  Scenario scenario = Scenario::Normal;
  double minutesPerPoll = 1.0;
  std::optional<std::string> fixed;  // seven digits sent instead of the model's reading
  std::optional<int> endAfter;       // readings for this many polls, then the end of charge
  int dropAfter = 1;                 // Drop: polls answered before the line goes
  bool reconnect = false;            // Drop: the line comes back at once and stays
  int shortLength = 3;               // Short: bytes of the reply sent before silence
  int longLength = 16;               // Long: the reply repeated up to this many bytes
  int garbageLength = 8;             // Garbage: random bytes per poll
  std::uint32_t seed = 1;            // Garbage: the same seed gives the same bytes
};

inline constexpr char EndOfCharge[] = "0000000\r";

class ReplyScript {
public:
  explicit ReplyScript(ScriptOptions options);

  // The bytes sent back for this poll; empty when the charger stays silent.
  std::string replyFor(int poll) const;
  // True when this poll finds the line dropped instead of an answer.
  bool dropsAt(int poll) const;
  // The last poll answered with a reading; later polls get the end-of-charge reply.
  int lastReadingPoll() const { return lastReadingPoll_; }

private:
  std::string fullReply(int poll) const;

  ScriptOptions options_;
  int lastReadingPoll_ = 0;
};
