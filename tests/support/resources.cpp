// What this process holds, counted directly: under Wine GetGuiResources and
// GetProcessHandleCount answer 0, and the process counters are coarse.
#include <windows.h>

#include <cstdint>

#include "resource_count.h"

namespace {

BOOL CALLBACK countChild(HWND, LPARAM counter) {
  ++*reinterpret_cast<std::size_t*>(counter);
  return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM counter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<std::size_t*>(counter);
  EnumChildWindows(window, countChild, counter);
  return TRUE;
}

}  // namespace

std::size_t CountGdiObjects(unsigned long type) {
  std::size_t count = 0;
  // Wine matches a handle with a zero high word to the live object at that index.
  for (std::uintptr_t value = 1; value <= 0xFFFF; ++value) {
    const DWORD found = GetObjectType(reinterpret_cast<HGDIOBJ>(value));
    if (found != 0 && (type == 0 || found == type)) ++count;
  }
  return count;
}

std::size_t CountWindows() {
  std::size_t count = 0;
  EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::size_t CountKernelHandles() {
  std::size_t count = 0;
  for (std::uintptr_t value = 4; value <= 0xFFFC; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}
