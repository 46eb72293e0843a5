// What every fuzz target shares: a failed promise aborts (libFuzzer then
// keeps the input), and inputs are cut into length-prefixed parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fenlodar::fuzzing {

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

inline void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}

// Reads the input front to back; a part asked for past the end is short.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size)
      : data_(reinterpret_cast<const char*>(data)), size_(size) {}

  std::uint8_t Byte() {
    return at_ < size_ ? static_cast<std::uint8_t>(data_[at_++]) : 0;
  }
  std::string Bytes(std::size_t count) {
    const std::size_t n = count < size_ - at_ ? count : size_ - at_;
    std::string part(data_ + at_, n);
    at_ += n;
    return part;
  }
  std::string Rest() { return Bytes(size_ - at_); }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace fenlodar::fuzzing
