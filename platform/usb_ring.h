// A fixed ring of 8-byte reports written by a reader thread and drained by
// the main thread; the caller holds the device's lock around every call.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

class usbreportring {
 public:
  static constexpr int kReportBytes = 8;

  explicit usbreportring(int capacity) : data_(static_cast<size_t>(capacity) * kReportBytes), capacity_(capacity) {}

  // A full ring drops its oldest report to keep the newest input.
  void Push(const uint8_t* report) {
    if (count_ == capacity_) {
      head_ = (head_ + 1) % capacity_;
      --count_;
      ++dropped_;
    }
    int tail = (head_ + count_) % capacity_;
    std::memcpy(&data_[static_cast<size_t>(tail) * kReportBytes], report, kReportBytes);
    ++count_;
  }
  // Copies at most max reports, oldest first, into out; returns how many.
  int Take(uint8_t* out, int max) {
    int n = count_ < max ? count_ : max;
    for (int i = 0; i < n; ++i) {
      std::memcpy(out + static_cast<size_t>(i) * kReportBytes, &data_[static_cast<size_t>(head_) * kReportBytes],
                  kReportBytes);
      head_ = (head_ + 1) % capacity_;
    }
    count_ -= n;
    return n;
  }
  int Count() const { return count_; }
  long Dropped() const { return dropped_; }

 private:
  std::vector<uint8_t> data_;
  int capacity_;
  int head_ = 0;   // oldest report
  int count_ = 0;
  long dropped_ = 0;
};
