#pragma once
// A growable array of pointers. The list owns its storage, never the items.

#include <cstdint>
#include <memory>

#include "obj.h"

class TList : public TObj {
public:
  // Grows to Count + GrowBy slots when full.
  void Add(void* item);
  // An index below 0 inserts at the front, one above Count appends: the item is never lost.
  void Insert(std::int32_t index, void* item);
  // Removes n items from index on; n is cut to what lies there; an index out of range removes
  // nothing.
  void Delete(std::int32_t index, std::int32_t n = 1);
  std::int32_t IndexOf(const void* item) const;  // first from the front, -1 when absent

  std::int32_t Count() const { return count; }
  std::int32_t Capacity() const { return capacity; }
  void SetCapacity(std::int32_t value);  // never below Count; re-allocates exactly
  std::int32_t GrowBy() const { return growBy; }
  void SetGrowBy(std::int32_t value);    // below 1 means the default 4

  // Out of range: reading gives null, writing is ignored.
  void* Items(std::int32_t index) const;
  void SetItems(std::int32_t index, void* item);

protected:
  TList() = default;
  ~TList() override = default;

private:
  friend TList* CreateList();

  std::unique_ptr<void*[]> items;
  std::int32_t count = 0;
  std::int32_t capacity = 0;
  std::int32_t growBy = 4;
};

TList* CreateList();
