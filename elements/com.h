#pragma once
// The serial port element: opens one COM port, writes the text it is given, reads what came.

#include <windows.h>

#include <cstdint>
#include <utility>

#include "data.h"
#include "event.h"
#include "object.h"

// Owns one kernel handle. Empty, it holds the invalid-handle value, as a closed port reads.
class TComHandle {
public:
  TComHandle() = default;
  explicit TComHandle(HANDLE handle) : handle_(handle) {}
  TComHandle(TComHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  TComHandle& operator=(TComHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, INVALID_HANDLE_VALUE));
    return *this;
  }
  TComHandle(const TComHandle&) = delete;
  TComHandle& operator=(const TComHandle&) = delete;
  ~TComHandle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }

private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class TNdCOM : public TObject {
public:
  ~TNdCOM() override;

  TComHandle Handle;
  std::uint8_t Port = 0;       // 0 opens COM1
  std::int32_t BaudRate = 0;
  std::int32_t Parity = 0;     // index into "NOEMS"
  std::int32_t Timeout = 0;    // milliseconds, every field of the port's time-outs
  TNd_Event onSend;
  TNd_Event onRead;
  TNd_Event Speed;
  TNd_Event PortNumber;

  void doOpen(TData& data, std::uint16_t index);
  void doClose(TData& data, std::uint16_t index);
  void doPurge(TData& data, std::uint16_t index);
  void doSend(TData& data, std::uint16_t index);
  void doRead(TData& data, std::uint16_t index);

  bool OpenPort(std::int32_t baudRate, std::int32_t portNumber, const COMMTIMEOUTS& timeouts,
                char parity);
  void ClosePort();
};

inline constexpr std::int32_t ComBufferSize = 256;

// "\\.\Com" and the 1-based port number.
AnsiString ComDeviceName(std::int32_t portNumber);
// The device-control text BuildCommDCBA reads, e.g. "baud=4800 parity=N data=8 stop=1 octs=off".
AnsiString ComControlString(std::int32_t baudRate, char parity);
// The letter of a Parity index; 0 for an index outside 0..4.
char ComParityLetter(std::int32_t parity);
