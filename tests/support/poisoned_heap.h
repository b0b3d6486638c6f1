#pragma once
// Programs that compile poisoned_heap.cpp in: every delete fills the freed block with 0xDD.

// Told of every delete first, while the block is intact; it must not allocate.
extern void (*OnDelete)(void* p);
