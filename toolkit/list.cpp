#include "list.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::int32_t DefaultGrowBy = 4;
constexpr std::int64_t MaxSlots = std::numeric_limits<std::int32_t>::max();
}  // namespace

TList* CreateList() { return new TList(); }

void TList::Add(void* item) {
  if (count == capacity) {
    if (count == MaxSlots) return;
    const std::int64_t grown = std::min<std::int64_t>(MaxSlots, std::int64_t{count} + growBy);
    SetCapacity(static_cast<std::int32_t>(grown));
  }
  items[count] = item;
  ++count;
}

void TList::Insert(std::int32_t index, void* item) {
  index = std::clamp(index, std::int32_t{0}, count);
  const std::int32_t before = count;
  Add(nullptr);
  if (count == before) return;
  std::move_backward(items.get() + index, items.get() + before, items.get() + count);
  items[index] = item;
}

void TList::Delete(std::int32_t index, std::int32_t n) {
  if (index < 0 || index >= count || n <= 0) return;
  n = std::min(n, count - index);
  std::move(items.get() + index + n, items.get() + count, items.get() + index);
  count -= n;
}

std::int32_t TList::IndexOf(const void* item) const {
  for (std::int32_t i = 0; i < count; ++i) {
    if (items[i] == item) return i;
  }
  return -1;
}

void TList::SetCapacity(std::int32_t value) {
  value = std::max(value, count);
  if (value == capacity) return;
  std::unique_ptr<void*[]> fresh;
  if (value > 0) {
    fresh = std::make_unique<void*[]>(static_cast<std::size_t>(value));
    std::copy(items.get(), items.get() + count, fresh.get());
  }
  items = std::move(fresh);
  capacity = value;
}

void TList::SetGrowBy(std::int32_t value) { growBy = value < 1 ? DefaultGrowBy : value; }

void* TList::Items(std::int32_t index) const {
  if (index < 0 || index >= count) return nullptr;
  return items[index];
}

void TList::SetItems(std::int32_t index, void* item) {
  if (index < 0 || index >= count) return;
  items[index] = item;
}
