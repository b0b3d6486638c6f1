// Linked into a test program, this scribbles over freed memory, so that code touching what was
// already freed fails in every run instead of passing by luck.
#include "poisoned_heap.h"

#include <malloc.h>

#include <cstring>
#include <new>

void (*OnDelete)(void* p) = nullptr;

void* operator new(std::size_t size) {
  if (void* p = malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
  if (!p) return;
  if (OnDelete) OnDelete(p);
  free(std::memset(p, 0xDD, _msize(p)));
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
