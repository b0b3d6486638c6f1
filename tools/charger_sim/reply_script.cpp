#include "reply_script.h"

#include <random>
#include <utility>

#include "charge_model.h"

namespace {

const ChargeModel model;

double minuteOf(int poll, double minutesPerPoll) { return (poll - 1) * minutesPerPoll; }

constexpr int MaxPolls = 10'000'000;  // only reached with an absurdly small time per poll

// The charger's own end detection: the first reading that lies EndDropMillivolts or more
// below the highest one before it is still reported, and the charge ends after it.
int detectEnd(double minutesPerPoll) {
  int highest = 0;  // readings are never negative
  for (int poll = 1; poll < MaxPolls; ++poll) {
    const int mv = model.at(minuteOf(poll, minutesPerPoll)).millivolts;
    if (highest - mv >= EndDropMillivolts) return poll;
    if (mv > highest) highest = mv;
  }
  return MaxPolls;
}

}  // namespace

ReplyScript::ReplyScript(ScriptOptions options) : options_(std::move(options)) {
  // A fixed reading never drops, so only an explicit end ends it.
  lastReadingPoll_ = options_.endAfter ? *options_.endAfter
                     : options_.fixed  ? MaxPolls
                                       : detectEnd(options_.minutesPerPoll);
}

std::string ReplyScript::fullReply(int poll) const {
  if (poll > lastReadingPoll_) return EndOfCharge;
  if (options_.fixed) return *options_.fixed + '\r';
  return FormatReading(model.at(minuteOf(poll, options_.minutesPerPoll))) + '\r';
}

std::string ReplyScript::replyFor(int poll) const {
  switch (options_.scenario) {
    case Scenario::Silent:
      return {};
    case Scenario::Garbage: {
      std::seed_seq seq{options_.seed, static_cast<std::uint32_t>(poll)};
      std::mt19937 random(seq);
      std::uniform_int_distribution<int> byte(0, 255);
      std::string bytes(static_cast<std::size_t>(options_.garbageLength), '\0');
      for (char& c : bytes) c = static_cast<char>(byte(random));
      return bytes;
    }
    case Scenario::Short:
      return fullReply(poll).substr(0, static_cast<std::size_t>(options_.shortLength));
    case Scenario::Long: {
      const std::string one = fullReply(poll);
      std::string bytes;
      while (bytes.size() < static_cast<std::size_t>(options_.longLength)) bytes += one;
      bytes.resize(static_cast<std::size_t>(options_.longLength));
      return bytes;
    }
    case Scenario::Drop:
      return dropsAt(poll) ? std::string() : fullReply(poll);
    case Scenario::Normal:
      break;
  }
  return fullReply(poll);
}

bool ReplyScript::dropsAt(int poll) const {
  if (options_.scenario != Scenario::Drop) return false;
  // Every poll of a line that stays down finds it down; a line that came back is answered.
  return options_.reconnect ? poll == options_.dropAfter + 1 : poll > options_.dropAfter;
}
