#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "command_line.h"

namespace {

TEST(GetCommandLineParam, FirstParameterVariants) {
  const std::pair<const char*, const char*> cases[] = {
      {"prog /ih", "/ih"},           {"prog \"/ih\"", "/ih"},
      {"prog \"\" /ih", "/ih"},      {"prog \"\"\"\"\t\"\" /ih", "/ih"},
      {"prog /ih trailing", "/ih"},  {"prog /IH", "/IH"},
      {"prog -ih", "-ih"},           {"prog x /ih", "x"},
      {"prog /\"ih\"", "/\"ih\""},   {"prog \"/ih", "\"/ih"},
      {"prog \"", "\""},             {"prog a\"b c\"d e", "a\"b c\"d"},
      {"prog\t\x01\x1F/ih\r\n", "/ih"}, {"prog \xF6\xE8\xEA\xEB x", "\xF6\xE8\xEA\xEB"},
      {"prog \xA0x", "\xA0x"},       {"prog", ""},
      {"", ""},                      {"prog \"\"", ""},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(GetCommandLineParam(line, 1), expected) << line;
}

TEST(GetCommandLineParam, ProgramPathAndLaterParameters) {
  const char* line = "  \"C:\\Program Files\\Vortane\\vortane.exe\"  x \"/ih\"";
  EXPECT_EQ(GetCommandLineParam(line, 0), "C:\\Program Files\\Vortane\\vortane.exe");
  EXPECT_EQ(GetCommandLineParam(line, 1), "x");
  EXPECT_EQ(GetCommandLineParam(line, 2), "/ih");
  EXPECT_EQ(GetCommandLineParam(line, 3), "");
  EXPECT_EQ(GetCommandLineParam(line, INT_MAX), "");
  EXPECT_EQ(GetCommandLineParam(line, -1), "");
  EXPECT_EQ(GetCommandLineParam(nullptr, 1), "");
  EXPECT_EQ(GetCommandLineParam(std::string("prog\0/ih", 8).c_str(), 1), "");
}

// Arbitrary bytes: the scan stays inside the text, and a result is a piece of it.
TEST(GetCommandLineParam, AnyBytesAreSafe) {
  std::mt19937 random(1251);
  for (int round = 0; round < 2000; ++round) {
    std::string line(random() % 24, ' ');
    for (char& c : line) c = static_cast<char>("\" \tab\x80\xFF\x01"[random() % 8]);
    for (int index = 0; index < 8; ++index) {
      const std::string param = GetCommandLineParam(line.c_str(), index);
      EXPECT_NE(line.find(param), std::string::npos) << line;
    }
  }
}

}  // namespace
