#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "command_line.h"

namespace {

TEST(GetCommandLineParam, ParametersAsTheScannerCutsThem) {
  struct TCase {
    const char* Line;
    int Index;
    const char* Expected;
  };
  const TCase cases[] = {
      {"prog /ih", 1, "/ih"},          {"prog \"/ih\"", 1, "/ih"},
      {"prog \"\" /ih", 1, "/ih"},     {"prog \"\"\"\"\t\"\" /ih", 1, "/ih"},
      {"prog /ih trailing", 1, "/ih"}, {"prog x /ih", 1, "x"},
      {"prog /\"ih\"", 1, "/\"ih\""},  {"prog \"/ih", 1, "\"/ih"},
      {"prog \"", 1, "\""},            {"prog a\"b c\"d e", 1, "a\"b c\"d"},
      {"prog\t\x01\x1F/ih\r\n", 1, "/ih"}, {"prog \xF6\xE8\xEA\xEB x", 1, "\xF6\xE8\xEA\xEB"},
      {"prog", 1, ""},                 {"prog \"\"", 1, ""},
      {"\"C:\\Program Files\\v.exe\"  x \"/ih\"", 0, "C:\\Program Files\\v.exe"},
      {"\"C:\\Program Files\\v.exe\"  x \"/ih\"", 2, "/ih"},
      {"prog x y", 3, ""},             {"prog x y", INT_MAX, ""},
      {"prog x y", -1, ""},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(GetCommandLineParam(c.Line, c.Index), c.Expected) << c.Line << " #" << c.Index;
  EXPECT_EQ(GetCommandLineParam(nullptr, 1), "");
  EXPECT_EQ(GetCommandLineParam(std::string("prog\0/ih", 8).c_str(), 1), "");
}

// Arbitrary bytes (the tests run under the address sanitizer): the scan stays inside the text,
// and a result is a piece of it.
TEST(GetCommandLineParam, AnyBytesAreSafe) {
  std::mt19937 random(1251);
  for (int round = 0; round < 2000; ++round) {
    std::string line(random() % 24, ' ');
    for (char& c : line) c = static_cast<char>("\" \tab\x80\xFF\x01"[random() % 8]);
    for (int index = 0; index < 8; ++index)
      EXPECT_NE(line.find(GetCommandLineParam(line.c_str(), index)), std::string::npos) << line;
  }
}

}  // namespace
