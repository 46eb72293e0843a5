// Lays out task files the way a download manager keeps them: a binary
// header, length-prefixed fields ending in a zero byte and padded to four
// bytes, numbers, a block map of the download's progress. Only the
// arrangement matters to the tool: runs of zero bytes between fields, and
// text fields that hold "//".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fenlodar::testing {

class TaskFileBuilder {
 public:
  // A fixed 32-byte header of small numbers: full of zero runs.
  TaskFileBuilder& Header();
  // 32-bit little-endian number.
  TaskFileBuilder& Number(std::uint32_t value);
  // Length (value plus its ending zero) as a number, the value, a zero
  // byte, zero padding to a multiple of four.
  TaskFileBuilder& Field(const std::string& value);
  TaskFileBuilder& Raw(const std::string& bytes);
  TaskFileBuilder& Zeros(std::size_t count);
  // Progress of `blocks` blocks: done ones 0xFF, the rest zero.
  TaskFileBuilder& BlockMap(std::size_t blocks, std::size_t done);
  // Zero bytes up to exactly `total` bytes (never cuts).
  TaskFileBuilder& PadTo(std::size_t total);

  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The GBK name of a typical download, "下载的文件.zip".
extern const char kGbkDownloadName[];

// A whole task file as a user would bring it: header, the file's name,
// the address, the referring page, a cookie line, sizes and a block map.
std::string TypicalTaskFile(const std::string& address,
                            const std::string& referrer);

}  // namespace fenlodar::testing
