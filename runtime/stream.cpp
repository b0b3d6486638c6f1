#include "stream.h"

#include <algorithm>
#include <cstring>

std::int64_t TMemoryStream::Size() const { return static_cast<std::int64_t>(bytes_.size()); }

void TMemoryStream::Seek(std::int64_t position) {
  position_ = std::clamp<std::int64_t>(position, 0, Size());
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  if (buffer == nullptr || count <= 0) return 0;
  const std::int64_t copied = std::min(count, Size() - position_);
  if (copied <= 0) return 0;
  std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(copied));
  position_ += copied;
  return copied;
}
