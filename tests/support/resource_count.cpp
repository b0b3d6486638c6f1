#include "resource_count.h"

#include <windows.h>

#include <cstdint>

std::size_t CountGdiObjects() {
  std::size_t count = 0;
  // Wine matches a handle with a zero high word to the live object at that index.
  for (std::uintptr_t value = 1; value <= 0xFFFF; ++value) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0) ++count;
  }
  return count;
}

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
