#pragma once
// The serial port element wired to probes, and what the simulated charger logged.

#include <windows.h>

#include <cstddef>
#include <string>

#include "com.h"
#include "probes.h"

// A raw byte log of the simulator, named by an environment variable that holds its Unix path
// (scripts/with-charger-sim exports them). Tests look at the bytes logged since a mark.
class SimLog {
public:
  explicit SimLog(const char* variable);
  std::string all() const;
  std::size_t size() const { return all().size(); }
  // The bytes after mark once there are at least count of them, or what is there after the bound.
  std::string waitFor(std::size_t mark, std::size_t count, int boundMs = 3000) const;

private:
  std::string path_;
};

// "/tmp/x/a.log" -> "Z:\tmp\x\a.log": Wine shows the Unix root as drive Z.
std::string WindowsPath(const std::string& unixPath);

// True once the driver holds at least count received bytes; false after the bound.
bool WaitForInput(HANDLE port, DWORD count, int boundMs = 3000);

class ComTest : public DispatchTest {
protected:
  TNdCOM com;
  TProbe sends;
  TProbe reads;
  SimLog received{"CHARGER_SIM_LOG"};
  SimLog sent{"CHARGER_SIM_SENT"};

  void SetUp() override;

  void Open(TData incoming = TData());
  void Send(TData value);
  void Send(const std::string& text) { Send(StringData(text)); }
  // Reads and returns the one text onRead carried; a test failure when it fired otherwise.
  std::string Read(std::int32_t count);
  // The last reply the simulator sent, count bytes long, once it has been sent.
  std::string LastSent(std::size_t mark, std::size_t count) const {
    return sent.waitFor(mark, count);
  }
};
