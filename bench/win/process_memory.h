#pragma once
// What this process holds in memory, counted directly (Wine's process counters are coarse).

struct MemoryUse {
  long long PrivateBytes = 0;   // committed private pages, as VirtualQuery reports them
  long long HeapBusyBytes = 0;  // blocks in use on every heap of the process
};

MemoryUse MeasureMemory();
