#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "command_line.h"
#include "start_switches.h"

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

// What a start does with its switches: the port (0: COM1 as always), the log path, or the
// refusal's caption and the value it shows.
TEST(StartSwitches, EveryFormOrderAndRefusal) {
  struct TCase {
    const wchar_t* Line;
    int Port;
    const wchar_t* Log;
    const char* RefusedBy;  // "" when the start goes on
    const wchar_t* Shown;
  };
  const char* const Port = "Порт";
  const char* const Log = "Журнал";
  const TCase cases[] = {
      {L"v", 0, L"", "", L""},
      {L"v /port 3", 3, L"", "", L""},
      {L"v /port COM3", 3, L"", "", L""},
      {L"v /port cOm3", 3, L"", "", L""},
      {L"v /port com012", 12, L"", "", L""},
      {L"v /port 1", 1, L"", "", L""},
      {L"v /port COM256", 256, L"", "", L""},
      {L"v /port", 0, L"", Port, L""},
      {L"v /port \"\"", 0, L"", Port, L""},
      {L"v /port 0", 0, L"", Port, L"0"},
      {L"v /port 257", 0, L"", Port, L"257"},
      {L"v /port 99999999999999999999", 0, L"", Port, L"99999999999999999999"},
      {L"v /port COM", 0, L"", Port, L"COM"},
      {L"v /port 3a", 0, L"", Port, L"3a"},
      {L"v /port -1", 0, L"", Port, L"-1"},
      {L"v /port +3", 0, L"", Port, L"+3"},
      {L"v /port \" \"", 0, L"", Port, L" "},
      {L"v /port \"COM 3\"", 0, L"", Port, L"COM 3"},
      {L"v /port \uFF13", 0, L"", Port, L"\uFF13"},  // a digit only in look
      {L"v /port \u0421OM3", 0, L"", Port, L"\u0421OM3"},  // a Cyrillic C
      {L"v /log \"C:\\Charges\\cell 3.csv\" /port 4", 4, L"C:\\Charges\\cell 3.csv", "", L""},
      {L"v /port com4 /log a.csv", 4, L"a.csv", "", L""},
      {L"v /log D:\\Pr\u00FCfung\u4E2D.csv", 0, L"D:\\Pr\u00FCfung\u4E2D.csv", "", L""},
      {L"v /port 2 /port 5", 5, L"", "", L""},
      {L"v /port 0 /port 5", 5, L"", "", L""},
      {L"v /port 5 /port", 0, L"", Port, L""},
      {L"v /log a /log b", 0, L"b", "", L""},
      {L"v /port /log a.csv", 0, L"a.csv", Port, L""},
      {L"v /port /ih", 0, L"", Port, L""},
      {L"v /log /port 3", 3, L"", Log, L""},
      {L"v /log", 0, L"", Log, L""},
      {L"v /port 3 /log /ih", 3, L"", Log, L""},
      {L"v /ih /port 3 /log a", 3, L"a", "", L""},
      {L"v x /PORT 3 /Log a -port 4 3", 0, L"", "", L""},
      {L"v /port 7 x y", 7, L"", "", L""},
  };
  for (const TCase& c : cases) {
    TStartChoices choices;
    const auto refusal = ReadStartSwitches(CommandLineParams(c.Line), choices);
    const std::wstring line = c.Line;
    SCOPED_TRACE(std::string(line.begin(), line.end()));
    EXPECT_EQ(refusal ? refusal->Caption : "", c.RefusedBy);
    if (refusal) {
      EXPECT_EQ(refusal->Text, refusal->Caption == Port ? "Неверный порт: " : "Не указан файл журнала");
      EXPECT_TRUE(refusal->Value == c.Shown);
      continue;
    }
    EXPECT_EQ(choices.PortNumber, c.Port);
    EXPECT_TRUE(choices.LogPath == c.Log);
  }
}

}  // namespace
