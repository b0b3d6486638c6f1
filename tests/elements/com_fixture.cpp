#include "com_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

SimLog::SimLog(const char* variable) {
  if (const char* unixPath = std::getenv(variable)) path_ = WindowsPath(unixPath);
}

std::string SimLog::all() const {
  std::ifstream in(path_, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SimLog::waitFor(std::size_t mark, std::size_t count, int boundMs) const {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(boundMs);
  std::string bytes = all();
  while (bytes.size() < mark + count && GetTickCount64() < end) {
    Sleep(10);
    bytes = all();
  }
  return bytes.size() > mark ? bytes.substr(mark) : std::string();
}

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool WaitForInput(HANDLE port, DWORD count, int boundMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(boundMs);
  for (;;) {
    DWORD errors = 0;
    COMSTAT status{};
    if (ClearCommError(port, &errors, &status) && status.cbInQue >= count) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(10);
  }
}

void ComTest::SetUp() {
  DispatchTest::SetUp();
  com.Port = 0;
  com.BaudRate = 4800;
  com.Parity = 0;
  com.Timeout = 300;
  com.onSend = sends.Link();
  com.onRead = reads.Link();
}

void ComTest::Open(TData incoming) { com.doOpen(incoming, 0); }

void ComTest::Send(TData value) { com.doSend(value, 3); }

std::string ComTest::Read(std::int32_t count) {
  const std::size_t before = reads.Received.size();
  TData request = IntegerData(count);
  com.doRead(request, 4);
  EXPECT_EQ(reads.Received.size(), before + 1) << "onRead must fire once per read";
  if (reads.Received.size() != before + 1) return "<no onRead>";
  const TData& got = reads.Received.back();
  EXPECT_EQ(got.DataType, dtString);
  return got.StrValue;
}
