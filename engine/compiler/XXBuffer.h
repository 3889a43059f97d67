// XXBuffer: a fixed-capacity byte image, allocated once and reused by every
// compile. Appending past the capacity raises BufferFull instead of growing.
#pragma once

#include <cstdint>
#include <memory>

struct BufferFull {};

template <typename T>
class XXBuffer {
 public:
  explicit XXBuffer(int32_t capacity) : data_(new T[capacity]()), capacity_(capacity) {}

  void append(T value) {
    if (length_ >= capacity_) throw BufferFull{};
    data_[length_++] = value;
  }
  T& at(int32_t index) {
    if (index < 0 || index >= capacity_) throw BufferFull{};
    return data_[index];
  }
  const T* data() const { return data_.get(); }
  int32_t length() const { return length_; }
  int32_t capacity() const { return capacity_; }
  void clear() { length_ = 0; }

 private:
  std::unique_ptr<T[]> data_;
  int32_t capacity_;
  int32_t length_ = 0;
};
