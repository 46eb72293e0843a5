// Task files for the rewrite and restore tests: addresses stand at known
// places among binary fields whose layout does not depend on them, so the
// file expected after a rewrite is the same layout with other addresses.
#pragma once

#include <string>
#include <vector>

#include "address_rewrite.h"
#include "task_file_builder.h"
#include "task_loading.h"
#include "task_test_fixture.h"

namespace fenlodar::testing {

inline const std::string kOld = "http://dl.example.com/pub/tool-1.0.zip";
inline const std::string kNew = "http://mirror.example.net/tool-1.0.zip";
inline const std::string kRef = "http://www.example.com/tools.html";

// Header, the addresses each in a field of their own (the first followed by
// the referring page), a block map.
inline std::string Layout(const std::vector<std::string>& addresses,
                          const std::string& referrer = kRef) {
  TaskFileBuilder b;
  b.Header().Number(2).Zeros(3);
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    b.Raw(addresses[i]).Zeros(3).Number(0x20 + static_cast<unsigned>(i)).Zeros(3);
    if (i == 0) b.Raw(referrer).Zeros(3).Raw("Cookie: a=1").Zeros(3);
  }
  return b.BlockMap(40, 12).bytes();
}

class RewriteTest : public TaskTest {
 protected:
  // Loads `bytes` as the task file, as the user would, and types `typed`.
  std::string Load(const std::string& bytes, const std::string& typed = kNew) {
    const std::string path = UseTaskFile("t.td.cfg", bytes);
    LoadTaskFile(window);
    window.boxes[Box::NewAddressBox] = typed;
    window.events.clear();
    return path;
  }
  std::string Backup() const { return ReadWholeFile(BackupPathOf(CurrentTaskPath)); }
};

}  // namespace fenlodar::testing
