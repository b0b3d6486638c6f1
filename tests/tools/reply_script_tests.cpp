#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "charge_model.h"
#include "reply_script.h"

namespace {

ScriptOptions With(Scenario scenario) {
  ScriptOptions o;
  o.scenario = scenario;
  return o;
}

int Millivolts(const std::string& reply) { return std::stoi(reply.substr(0, 4)); }

bool IsReading(const std::string& reply) {
  return reply.size() == 8 && reply[7] == '\r' &&
         std::all_of(reply.begin(), reply.begin() + 7, [](char c) { return c >= '0' && c <= '9'; });
}

TEST(ReplyScript, NormalChargeEndsOnTheFirstDropOfFiveMillivolts) {
  for (double minutesPerPoll : {1.0, 3.0, 10.0}) {
    ScriptOptions o;
    o.minutesPerPoll = minutesPerPoll;
    const ReplyScript script(o);
    const int last = script.lastReadingPoll();
    ASSERT_GT(last, 2);
    // The first poll reads an empty cell at room temperature.
    EXPECT_NEAR(Millivolts(script.replyFor(1)), 1250, 5);
    EXPECT_NEAR(std::stoi(script.replyFor(1).substr(4, 3)), 230, 10);
    int highest = 0;
    for (int poll = 1; poll < last; ++poll) {
      const std::string reply = script.replyFor(poll);
      ASSERT_TRUE(IsReading(reply)) << poll;
      EXPECT_LT(highest - Millivolts(reply), EndDropMillivolts) << "ended late at poll " << poll;
      highest = std::max(highest, Millivolts(reply));
    }
    const std::string lastReading = script.replyFor(last);
    ASSERT_TRUE(IsReading(lastReading));
    EXPECT_GE(highest - Millivolts(lastReading), EndDropMillivolts);
    EXPECT_EQ(script.replyFor(last + 1), EndOfCharge);
    EXPECT_EQ(script.replyFor(last + 100), EndOfCharge);
  }
}

TEST(ReplyScript, EndAfterAndFixedOverrideTheModel) {
  ScriptOptions o;
  o.fixed = "1234567";
  o.endAfter = 2;
  const ReplyScript script(o);
  EXPECT_EQ(script.replyFor(1), "1234567\r");
  EXPECT_EQ(script.replyFor(2), "1234567\r");
  EXPECT_EQ(script.replyFor(3), EndOfCharge);

  o.endAfter.reset();
  EXPECT_EQ(ReplyScript(o).replyFor(100'000), "1234567\r") << "a fixed reading has no end";

  o.fixed.reset();
  o.endAfter = 0;
  EXPECT_EQ(ReplyScript(o).replyFor(1), EndOfCharge);
}

TEST(ReplyScript, FaultScenariosShapeTheReply) {
  EXPECT_EQ(ReplyScript(With(Scenario::Silent)).replyFor(1), "");

  ScriptOptions shortOne = With(Scenario::Short);
  shortOne.fixed = "1400300";
  EXPECT_EQ(ReplyScript(shortOne).replyFor(1), "140");

  ScriptOptions longOne = With(Scenario::Long);
  longOne.fixed = "1400300";
  EXPECT_EQ(ReplyScript(longOne).replyFor(1), "1400300\r1400300\r");
  longOne.longLength = 20;
  EXPECT_EQ(ReplyScript(longOne).replyFor(1), "1400300\r1400300\r1400");
  longOne.endAfter = 0;
  EXPECT_EQ(ReplyScript(longOne).replyFor(1), "0000000\r0000000\r0000");
}

TEST(ReplyScript, DropAnswersItsPollsThenDropsTheLine) {
  ScriptOptions o = With(Scenario::Drop);
  o.dropAfter = 2;
  const ReplyScript script(o);
  EXPECT_FALSE(script.dropsAt(1));
  EXPECT_FALSE(script.dropsAt(2));
  EXPECT_TRUE(script.dropsAt(3));
  EXPECT_TRUE(IsReading(script.replyFor(2)));
  EXPECT_EQ(script.replyFor(3), "");
  EXPECT_TRUE(script.dropsAt(4)) << "a line that stays down";
  EXPECT_FALSE(ReplyScript(ScriptOptions{}).dropsAt(1000));

  o.reconnect = true;
  const ReplyScript back(o);
  EXPECT_TRUE(back.dropsAt(3));
  EXPECT_FALSE(back.dropsAt(4)) << "a line that came back";
  EXPECT_EQ(back.replyFor(4), ReplyScript(ScriptOptions{}).replyFor(4)) << "the charge went on";
}

TEST(ReplyScript, GarbageIsRepeatableAndCoversEveryKindOfByte) {
  ScriptOptions o = With(Scenario::Garbage);
  const ReplyScript script(o);
  EXPECT_EQ(script.replyFor(1).size(), 8u);
  EXPECT_EQ(script.replyFor(5), ReplyScript(o).replyFor(5));
  EXPECT_NE(script.replyFor(5), script.replyFor(6));
  o.seed = 2;
  EXPECT_NE(ReplyScript(o).replyFor(5), script.replyFor(5));

  std::set<unsigned char> seen;
  for (int poll = 1; poll <= 400; ++poll) {
    for (char c : script.replyFor(poll)) seen.insert(static_cast<unsigned char>(c));
  }
  EXPECT_TRUE(seen.count(0x00));
  EXPECT_TRUE(seen.count('\r'));
  EXPECT_TRUE(seen.count(0xFF));
  EXPECT_GT(seen.size(), 250u);
}

}  // namespace
