#include "sim_options.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>

const char SimUsage[] =
    "usage: charger-sim [options]\n"
    "  --link PATH             place a link to the pty's slave at PATH (a stale link is replaced)\n"
    "  --log FILE              write every byte received to FILE, raw\n"
    "  --sent-log FILE         write every byte sent to FILE, raw\n"
    "  --minutes-per-poll N    charge time that passes between two polls (default 1)\n"
    "  --fixed VVVVTTT         answer every poll with this reading\n"
    "  --end-after N           end of charge after N polls (default: the charger's -dV detection)\n"
    "  --scenario NAME         normal, silent, garbage, short, long or drop\n"
    "  --drop-after N          drop: answer N polls, drop the line at the next one (default 1)\n"
    "  --reconnect             drop: a fresh pty takes the link at once and answers from then on\n"
    "  --short-length N        short: bytes sent before silence (default 3)\n"
    "  --long-length N         long: reply repeated to N bytes, N > 8 (default 16)\n"
    "  --garbage-length N      garbage: random bytes per poll (default 8)\n"
    "  --seed N                garbage: seed of the random bytes (default 1)\n"
    "  --reply-delay-ms N      wait before answering (default 0)\n"
    "  --exit-with-parent      stop when the starting process ends\n";

namespace {

int parseInt(const std::string& option, const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < low || value > high) {
    throw UsageError(option + ": expected a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", got '" + text + "'");
  }
  return value;
}

double parsePositive(const std::string& option, const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(value > 0.0) || value > 1e6) {
    throw UsageError(option + ": expected a positive number, got '" + text + "'");
  }
  return value;
}

Scenario parseScenario(const std::string& text) {
  static const std::map<std::string, Scenario> names{
      {"normal", Scenario::Normal}, {"silent", Scenario::Silent}, {"garbage", Scenario::Garbage},
      {"short", Scenario::Short},   {"long", Scenario::Long},     {"drop", Scenario::Drop}};
  const auto it = names.find(text);
  if (it == names.end()) throw UsageError("--scenario: unknown scenario '" + text + "'");
  return it->second;
}

std::string parseFixed(const std::string& text) {
  bool digits = text.size() == 7;
  for (char c : text) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (!digits) throw UsageError("--fixed: expected seven digits VVVVTTT, got '" + text + "'");
  return text;
}

}  // namespace

SimOptions ParseSimOptions(const std::vector<std::string>& args) {
  SimOptions o;
  ScriptOptions& script = o.script;
  constexpr int Big = 1'000'000;
  std::string name;  // the option being read, for the messages
  const auto number = [&](const std::string& v, int low, int high) {
    return parseInt(name, v, low, high);
  };
  using Value = const std::string&;
  const std::map<std::string, std::function<void(Value)>> valued{
      {"--link", [&](Value v) { o.link = v; }},
      {"--log", [&](Value v) { o.log = v; }},
      {"--sent-log", [&](Value v) { o.sentLog = v; }},
      {"--minutes-per-poll", [&](Value v) { script.minutesPerPoll = parsePositive(name, v); }},
      {"--fixed", [&](Value v) { script.fixed = parseFixed(v); }},
      {"--end-after", [&](Value v) { script.endAfter = number(v, 0, Big); }},
      {"--scenario", [&](Value v) { script.scenario = parseScenario(v); }},
      {"--drop-after", [&](Value v) { script.dropAfter = number(v, 0, Big); }},
      {"--short-length", [&](Value v) { script.shortLength = number(v, 0, 7); }},
      {"--long-length", [&](Value v) { script.longLength = number(v, 9, 65536); }},
      {"--garbage-length", [&](Value v) { script.garbageLength = number(v, 0, 65536); }},
      {"--seed", [&](Value v) { script.seed = static_cast<std::uint32_t>(number(v, 0, Big)); }},
      {"--reply-delay-ms", [&](Value v) { o.replyDelayMs = number(v, 0, 600'000); }},
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    name = args[i];
    if (name == "--help" || name == "-h") {
      o.help = true;
    } else if (name == "--exit-with-parent") {
      o.exitWithParent = true;
    } else if (name == "--reconnect") {
      script.reconnect = true;
    } else if (const auto it = valued.find(name); it != valued.end()) {
      if (i + 1 >= args.size()) throw UsageError(name + ": missing value");
      it->second(args[++i]);
    } else {
      throw UsageError("unknown option '" + name + "'");
    }
  }
  return o;
}
