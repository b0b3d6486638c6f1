#include "com.h"

#include "convert.h"

AnsiString ComDeviceName(std::int32_t portNumber) { return "\\\\.\\Com" + IntToStr(portNumber); }

AnsiString ComControlString(std::int32_t baudRate, char parity) {
  return "baud=" + IntToStr(baudRate) + " parity=" + parity + " data=8 stop=1 " + "octs=off";
}

char ComParityLetter(std::int32_t parity) {
  static constexpr char Letters[] = "NOEMS";
  return parity >= 0 && parity <= 4 ? Letters[parity] : '\0';
}

TNdCOM::~TNdCOM() { ClosePort(); }

void TNdCOM::ClosePort() { Handle.reset(); }

bool TNdCOM::OpenPort(std::int32_t baudRate, std::int32_t portNumber, const COMMTIMEOUTS& timeouts,
                      char parity) {
  const AnsiString name = ComDeviceName(portNumber);
  Handle.reset(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!Handle.valid()) return false;
  // The block starts from the driver's current settings; the text below changes only what it names.
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(Handle.get(), &dcb);
  const AnsiString control = ComControlString(baudRate, parity);
  COMMTIMEOUTS wanted = timeouts;
  if (!BuildCommDCBA(control.c_str(), &dcb) || !SetCommState(Handle.get(), &dcb) ||
      !SetCommTimeouts(Handle.get(), &wanted)) {
    ClosePort();
    return false;
  }
  return true;
}

void TNdCOM::doOpen(TData& data, std::uint16_t) {
  // Closed before the new open: Windows opens a COM port exclusively, so the new CreateFileA
  // would fail while the old handle lives.
  ClosePort();
  const auto t = static_cast<DWORD>(Timeout);
  const COMMTIMEOUTS timeouts{t, t, t, t, t};
  // The port number is read before the baud rate: with Speed unlinked and BaudRate 0 the
  // incoming value is the baud rate, and the port number's read must not consume it.
  const std::int32_t portNumber = ReadInteger(data, PortNumber, Port + 1);
  const std::int32_t baudRate = ReadInteger(data, Speed, BaudRate);
  // A Parity outside 0..4 names no letter; the port stays closed, as for any rejected setting.
  const char parity = ComParityLetter(Parity);
  if (parity == '\0') return;
  OpenPort(baudRate, portNumber, timeouts, parity);
}

void TNdCOM::doClose(TData&, std::uint16_t) { ClosePort(); }

void TNdCOM::doPurge(TData&, std::uint16_t) {
  if (Handle.valid()) PurgeComm(Handle.get(), PURGE_RXCLEAR);
}

void TNdCOM::doSend(TData& data, std::uint16_t) {
  const AnsiString text = ToStr(data);
  if (!Handle.valid()) return;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(Handle.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  RaiseInteger(onSend, ok ? static_cast<std::int32_t>(written) : 0);
}

void TNdCOM::doRead(TData& data, std::uint16_t) {
  const std::int32_t count = ToInteger(data);
  char buffer[ComBufferSize];
  if (!Handle.valid()) return;
  // The buffer bounds every read: a larger count is cut to it, a negative one reads nothing.
  if (count < 0) {
    RaiseString(onRead, AnsiString());
    return;
  }
  const DWORD wanted = static_cast<DWORD>(count < ComBufferSize ? count : ComBufferSize);
  DWORD got = 0;
  if (!ReadFile(Handle.get(), buffer, wanted, &got, nullptr)) {
    RaiseString(onRead, AnsiString());
    return;
  }
  RaiseString(onRead, AnsiString(buffer, got < wanted ? got : wanted));
}
