#include "task_file_builder.h"

namespace fenlodar::testing {

// 下载的文件.zip
const char kGbkDownloadName[] = "\xcf\xc2\xd4\xd8\xb5\xc4\xce\xc4\xbc\xfe.zip";

TaskFileBuilder& TaskFileBuilder::Header() {
  Number(0x2E4B5354);  // four letters of no meaning to the tool
  Number(3);           // format version
  Number(1);           // task kind
  Number(0);
  Number(0x00100000);  // block size
  Zeros(12);
  return *this;
}

TaskFileBuilder& TaskFileBuilder::Number(std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return *this;
}

TaskFileBuilder& TaskFileBuilder::Field(const std::string& value) {
  Number(static_cast<std::uint32_t>(value.size() + 1));
  bytes_ += value;
  bytes_.push_back('\0');
  while (bytes_.size() % 4 != 0) bytes_.push_back('\0');
  return *this;
}

TaskFileBuilder& TaskFileBuilder::Raw(const std::string& bytes) {
  bytes_ += bytes;
  return *this;
}

TaskFileBuilder& TaskFileBuilder::Zeros(std::size_t count) {
  bytes_.append(count, '\0');
  return *this;
}

TaskFileBuilder& TaskFileBuilder::BlockMap(std::size_t blocks, std::size_t done) {
  Number(static_cast<std::uint32_t>(blocks));
  for (std::size_t i = 0; i < blocks; ++i) bytes_.push_back(i < done ? '\xFF' : '\0');
  return *this;
}

TaskFileBuilder& TaskFileBuilder::PadTo(std::size_t total) {
  if (bytes_.size() < total) bytes_.append(total - bytes_.size(), '\0');
  return *this;
}

std::string TypicalTaskFile(const std::string& address, const std::string& referrer) {
  return TaskFileBuilder()
      .Header()
      .Field(kGbkDownloadName)
      .Field(address)
      .Field(referrer)
      .Field("Cookie: sid=8f3a; lang=zh-CN")
      .Number(73400320)  // file size
      .Number(0)
      .Number(52428800)  // bytes done
      .BlockMap(70, 50)
      .bytes();
}

}  // namespace fenlodar::testing
