#include <gtest/gtest.h>

#include "sim_options.h"

namespace {

using Args = std::vector<std::string>;

TEST(SimOptions, ReadsEveryOption) {
  const SimOptions o = ParseSimOptions(
      {"--link", "/tmp/x.pty", "--log", "in.log", "--sent-log", "out.log", "--minutes-per-poll",
       "2.5", "--fixed", "1400300", "--end-after", "4", "--scenario", "drop", "--drop-after", "3",
       "--short-length", "2", "--long-length", "300", "--garbage-length", "9", "--seed", "7",
       "--reply-delay-ms", "50", "--exit-with-parent", "--reconnect"});
  EXPECT_EQ(o.link, "/tmp/x.pty");
  EXPECT_EQ(o.log, "in.log");
  EXPECT_EQ(o.sentLog, "out.log");
  EXPECT_DOUBLE_EQ(o.script.minutesPerPoll, 2.5);
  EXPECT_EQ(o.script.fixed, "1400300");
  EXPECT_EQ(o.script.endAfter, 4);
  EXPECT_EQ(o.script.scenario, Scenario::Drop);
  EXPECT_EQ(o.script.dropAfter, 3);
  EXPECT_TRUE(o.script.reconnect);
  EXPECT_EQ(o.script.shortLength, 2);
  EXPECT_EQ(o.script.longLength, 300);
  EXPECT_EQ(o.script.garbageLength, 9);
  EXPECT_EQ(o.script.seed, 7u);
  EXPECT_EQ(o.replyDelayMs, 50);
  EXPECT_TRUE(o.exitWithParent);
  EXPECT_FALSE(o.help);
}

TEST(SimOptions, EveryScenarioHasAName) {
  const std::pair<const char*, Scenario> names[] = {
      {"normal", Scenario::Normal}, {"silent", Scenario::Silent}, {"garbage", Scenario::Garbage},
      {"short", Scenario::Short},   {"long", Scenario::Long},     {"drop", Scenario::Drop}};
  for (const auto& [name, scenario] : names) {
    EXPECT_EQ(ParseSimOptions({"--scenario", name}).script.scenario, scenario) << name;
  }
}

TEST(SimOptions, RejectsWhatItCannotServe) {
  const Args bad[] = {
      {"--bogus"},
      {"--link"},
      {"--scenario", "noisy"},
      {"--fixed", "123456"},
      {"--fixed", "12345678"},
      {"--fixed", "12a4567"},
      {"--minutes-per-poll", "0"},
      {"--minutes-per-poll", "-1"},
      {"--minutes-per-poll", "1x"},
      {"--minutes-per-poll", "nan"},
      {"--end-after", "-1"},
      {"--end-after", "3 "},
      {"--end-after", ""},
      {"--long-length", "8"},
      {"--short-length", "8"},
      {"--reply-delay-ms", "99999999999"},
  };
  for (const Args& args : bad) {
    const std::string value = args.size() > 1 ? args[1] : "";
    EXPECT_THROW(ParseSimOptions(args), UsageError) << args[0] << " " << value;
  }
}

}  // namespace
