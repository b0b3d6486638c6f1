#include "process_memory.h"

#include <windows.h>

#include <vector>

MemoryUse MeasureMemory() {
  MemoryUse use;
  MEMORY_BASIC_INFORMATION info;
  for (auto* at = static_cast<const char*>(nullptr);
       VirtualQuery(at, &info, sizeof info) == sizeof info && info.RegionSize != 0;
       at += info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) use.PrivateBytes += info.RegionSize;
  }
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  for (const HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) use.HeapBusyBytes += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return use;
}
