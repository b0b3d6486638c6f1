#include "charge_log.h"

#include <cstdio>
#include <utility>

#include "convert.h"

namespace {

constexpr char Header[] = "time,run,poll,voltage_V,temperature_C,reply\r\n";

// A reply may hold any byte. Those outside printable ASCII, and the backslash itself, are
// written as \xNN, so the field reads back byte for byte; CSV quoting covers the rest.
AnsiString Field(const AnsiString& text) {
  AnsiString out;
  bool quoted = false;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E || c == '\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(byte));
      out += hex;
      continue;
    }
    quoted = quoted || c == ',' || c == '"';
    if (c == '"') out += '"';
    out += c;
  }
  return quoted ? '"' + out + '"' : out;
}

// The panes get the cut text with the reply's carriage return at its end; the log leaves it out.
AnsiString PaneText(const TData& data) {
  AnsiString text = ToStr(data);
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

AnsiString LocalTime() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
  return text;
}

// The last byte of a file of this size: what the file ends with.
char LastByte(HANDLE file, LONGLONG size) {
  char last = '\n';
  DWORD got = 0;
  LARGE_INTEGER at{};
  at.QuadPart = size - 1;
  if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) ReadFile(file, &last, 1, &got, nullptr);
  return got == 1 ? last : '\n';
}

// A file deleted while it is open (under Wine on Linux, or by a tool that deletes with sharing)
// still takes writes, but nobody can ever read them.
bool Unnamed(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(file, &info) && info.nNumberOfLinks == 0;
}

}  // namespace

bool TNdChargeLog::Open() {
  // Append-only access: every write lands at the end, whoever else writes, and nothing already
  // in the file can be overwritten. Shared, so a spreadsheet or tail can read along.
  file.reset(CreateFileW(FileName.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  lineOpen = false;
  if (!file.valid()) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    file.reset();
    return false;
  }
  if (size.QuadPart == 0) return Append(Header);
  // A file that ends part-way through a line (someone's notes, a write cut short) would take the
  // next line onto its end.
  lineOpen = LastByte(file.get(), size.QuadPart) != '\n';
  return true;
}

bool TNdChargeLog::Append(const AnsiString& line) {
  // One write per line, so a reader never sees half of one, and flushed before the next poll.
  DWORD written = 0;
  if (WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
      written == line.size() && FlushFileBuffers(file.get())) {
    return true;
  }
  file.reset();
  return false;
}

void TNdChargeLog::doCycle(TData&, std::uint16_t) {
  ++run;
  poll = 0;
}

void TNdChargeLog::doVoltage(TData& data, std::uint16_t) { voltage = PaneText(data); }

void TNdChargeLog::doTemperature(TData& data, std::uint16_t) { temperature = PaneText(data); }

void TNdChargeLog::doReply(TData& data, std::uint16_t) {
  ++poll;
  const AnsiString line = LocalTime() + ',' + IntToStr(run) + ',' + IntToStr(poll) + ',' +
                          Field(voltage) + ',' + Field(temperature) + ',' + Field(ToStr(data)) +
                          "\r\n";
  // A cut that gets nothing sends nothing: a reply too short for it leaves its field empty.
  voltage.clear();
  temperature.clear();
  // The file is opened again, once, with no box, when a failed write closed it or its name is
  // gone: the line then goes to the path the user gave, under a new header.
  if (file.valid() && Unnamed(file.get())) file.reset();
  if (!file.valid() && !Open()) return;
  Append(std::exchange(lineOpen, false) ? "\r\n" + line : line);
}
