// Writes the seed corpora of the fuzz targets, built the way the tests
// build task files: fuzz_seeds <folder> fills <folder>/reading,
// <folder>/text_ops, <folder>/rewrite and <folder>/task_files (the folders
// must exist).
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "task_file_builder.h"

namespace {

using fenlodar::testing::TaskFileBuilder;
using fenlodar::testing::TypicalTaskFile;

const std::string kAddress = "http://dl.example.com/files/archive.zip";
const std::string kReferrer = "http://www.example.com/downloads.html";
const std::string kNewAddress = "http://mirror.example.net/archive.zip";

bool Put(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

std::string Zeros(std::size_t n) { return std::string(n, '\0'); }

std::vector<std::string> TaskFiles() {
  return {
      TypicalTaskFile(kAddress, kReferrer),
      TypicalTaskFile(kAddress, ""),
      // A "#" at an address's end, "###" inside one.
      TypicalTaskFile("http://a.example/x#", "http://r.example/y"),
      TypicalTaskFile("http://a.example/x###c", kReferrer),
      // A GBK name inside the address, one with trail byte 0x5C.
      TypicalTaskFile("http://a.example/\xcf\xc2\xd4\xd8/\x95\x5c.zip", kReferrer),
      // Zero runs of every length in front of an address.
      Zeros(4) + kAddress + Zeros(3) + kReferrer,
      Zeros(5) + kAddress + Zeros(6) + kReferrer + Zeros(2),
      kAddress + Zeros(7) + "\x1a" + kReferrer,
      "\x81//x" + Zeros(3) +
          "\x81"
          "a//x",
      TaskFileBuilder().Header().Field(kAddress).Field(kAddress).Field(kReferrer).bytes(),
  };
}

struct TextSeed {
  std::string needle;
  unsigned char start;
  std::string text;
};

std::vector<TextSeed> TextSeeds() {
  return {
      {std::string("\0\0\0", 3), 0, TypicalTaskFile(kAddress, kReferrer)},
      {"###", 0, "http://a//b###http://c//d######x#"},
      {"\\", 0, "C:\\tasks\\\xcf\xc2\x5c\xd4\\a.td.cfg\\"},
      {"//", 3,
       "\x81//x\x81"
       "a//x\x81"},
      {".td.cfg", 0, "a.td.cfg.bak"},
      {"\xd4\xd8", 1, "\xcf\xc2\xd4\xd8\xb5\xc4\xd4"},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
    return 2;
  }
  const std::string root = argv[1];
  bool ok = true;
  int n = 0;
  for (const std::string& file : TaskFiles()) {
    ok = ok && Put(root + "/reading", "seed-" + std::to_string(n) + ".td.cfg", file);
    // For the rewrite: the address as the old one, once with a new address
    // that contains it.
    std::string plain = {static_cast<char>(kAddress.size()),
                         static_cast<char>(kNewAddress.size())};
    plain += kAddress;
    plain += kNewAddress;
    plain += file;
    ok = ok && Put(root + "/rewrite", "seed-" + std::to_string(n), plain);
    const std::string longer = kAddress + "?m=1";
    std::string containing = {static_cast<char>(kAddress.size()),
                              static_cast<char>(longer.size())};
    containing += kAddress;
    containing += longer;
    containing += file;
    ok = ok && Put(root + "/rewrite", "seed-contains-" + std::to_string(n), containing);
    // For the file operations: a rewrite and a restore of this file with
    // both files present, with no fault and with a fault at a few calls;
    // for the first file, each fault at each of the first 30 calls.
    std::vector<std::pair<unsigned char, unsigned char>> faults = {
        {0, 0}, {3, 3}, {7, 0}};
    if (n == 0) {
      faults.clear();
      for (unsigned char call = 0; call < 30; ++call)
        for (unsigned char fault = 0; fault < 7; ++fault) faults.push_back({call, fault});
    }
    for (const unsigned char flags : {0x06, 0x07}) {
      for (const auto& [fail_at, fault] : faults) {
        const std::string backup = TypicalTaskFile(kNewAddress, kReferrer);
        std::string files = {static_cast<char>(flags),
                             static_cast<char>(fail_at),
                             static_cast<char>(fault),
                             static_cast<char>(kAddress.size()),
                             static_cast<char>(kNewAddress.size()),
                             0,
                             static_cast<char>(backup.size() & 0xFF),
                             static_cast<char>(backup.size() >> 8)};
        files += kAddress;
        files += kNewAddress;
        files += backup;
        files += file;
        ok = ok && Put(root + "/task_files",
                       "seed-" + std::to_string(n) + "-" + std::to_string(flags) + "-" +
                           std::to_string(fail_at) + "-" + std::to_string(fault),
                       files);
      }
    }
    ++n;
  }
  n = 0;
  for (const TextSeed& seed : TextSeeds()) {
    const std::string head = {static_cast<char>(seed.needle.size()),
                              static_cast<char>(seed.start)};
    ok = ok && Put(root + "/text_ops", "seed-" + std::to_string(n++),
                   head + seed.needle + seed.text);
  }
  if (!ok) std::fprintf(stderr, "fuzz_seeds: cannot write under %s\n", root.c_str());
  return ok ? 0 : 1;
}
