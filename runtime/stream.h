#pragma once
// The minimal stream a Stream record refers to.

#include <cstdint>
#include <utility>
#include <vector>

class TStream {
public:
  virtual ~TStream() = default;
  virtual std::int64_t Size() const = 0;
  virtual std::int64_t Position() const = 0;
  virtual void Seek(std::int64_t position) = 0;  // clamped to 0..Size()
  // Copies up to count bytes from the position on and advances it; returns the bytes copied.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
};

class TMemoryStream final : public TStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::int64_t Size() const override;
  std::int64_t Position() const override { return position_; }
  void Seek(std::int64_t position) override;
  std::int64_t Read(void* buffer, std::int64_t count) override;

private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};
