// A fixed-capacity ring of samples: the memory is taken once, and once full
// each new sample replaces the oldest, so a day of history stays a day.
#pragma once

#include <cstddef>
#include <vector>

namespace halvix::analysis {

template <typename T>
class RingBuffer {
 public:
  explicit RingBuffer(std::size_t capacity) : data_(capacity) {}

  std::size_t capacity() const { return data_.size(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  bool full() const { return size_ == data_.size(); }

  void push(const T& value) {
    if (data_.empty()) return;
    if (full()) {
      data_[start_] = value;
      start_ = next(start_);
    } else {
      data_[(start_ + size_) % data_.size()] = value;
      ++size_;
    }
  }
  // Index 0 is the oldest sample, size() - 1 the newest.
  const T& operator[](std::size_t i) const { return data_[(start_ + i) % data_.size()]; }
  const T& front() const { return (*this)[0]; }
  const T& back() const { return (*this)[size_ - 1]; }
  void clear() {
    start_ = 0;
    size_ = 0;
  }

 private:
  std::size_t next(std::size_t i) const { return i + 1 == data_.size() ? 0 : i + 1; }

  std::vector<T> data_;
  std::size_t start_ = 0;
  std::size_t size_ = 0;
};

}  // namespace halvix::analysis
