#pragma once
// The charge log: one CSV line per reply read, appended to a file that others may read while the
// charge runs.

#include <cstdint>
#include <string>

#include "com.h"
#include "data.h"
#include "event.h"
#include "object.h"

class TNdChargeLog : public TObject {
public:
  std::wstring FileName;  // as typed: a path may hold characters no 8-bit code page has

  // Opens FileName for appending, creating it when missing; a file without lines gets the header
  // line first, and the first line into a file that ends part-way through a line starts on a
  // line of its own. False when it cannot be opened or the header not written.
  bool Open();

  void doCycle(TData& data, std::uint16_t index);        // point 0: a new run, polls from 1
  void doVoltage(TData& data, std::uint16_t index);      // point 1: the voltage pane's text
  void doTemperature(TData& data, std::uint16_t index);  // point 2: the temperature pane's text
  // Point 3, the reply as read: its line, with the pane texts that came since the last line.
  void doReply(TData& data, std::uint16_t index);

private:
  bool Append(const AnsiString& line);

  TComHandle file;
  std::int32_t run = 0;
  std::int32_t poll = 0;
  AnsiString voltage;
  AnsiString temperature;
  bool lineOpen = false;  // the file ends without a line break: the next line brings one
};
