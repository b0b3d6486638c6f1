#include "process_memory.h"

#include <windows.h>

#include <vector>

namespace {

long long committedPrivateBytes() {
  long long total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (auto* at = static_cast<const char*>(nullptr);
       VirtualQuery(at, &info, sizeof info) == sizeof info; at += info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

long long heapBusyBytes() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  long long total = 0;
  for (const HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return total;
}

}  // namespace

MemoryUse MeasureMemory() { return {committedPrivateBytes(), heapBusyBytes()}; }
