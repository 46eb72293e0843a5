// Arbitrary bytes as a task file, through the whole reading path:
// LoadTaskFile's checks, then ExtractAddresses into a recording window.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "address_extraction.h"
#include "current_task.h"
#include "fuzz_support.h"
#include "recording_window.h"
#include "task_loading.h"
#include "text_ops.h"
#include "texts.h"

namespace {

using fenlodar::Box;
using fenlodar::fuzzing::Check;
using fenlodar::testing::RecordingWindow;
using fenlodar::testing::WindowEvent;

constexpr char kTaskName[] = "input.td.cfg";

std::string g_folder;
std::string g_task_path;

void RemoveTaskFile() {
  unlink(g_task_path.c_str());
  rmdir(g_folder.c_str());
}

// One file for the whole run, in a folder of its own, rewritten per input.
const std::string& TaskPath() {
  if (g_task_path.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp && *tmp ? tmp : "/tmp") + "/fenlodar-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
      fenlodar::fuzzing::Fail("no temporary folder");
    g_folder = pattern;
    g_task_path = g_folder + "/" + kTaskName;
    std::atexit(RemoveTaskFile);
  }
  return g_task_path;
}

void PutFile(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  Check(fd >= 0, "cannot create the input file");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    Check(n > 0, "cannot write the input file");
    done += static_cast<std::size_t>(n);
  }
  close(fd);
}

// The address list as the rules compose it, one primitive after another
// (the primitives themselves are checked by fuzz_text_ops).
std::vector<std::string> ModelAddressList(const std::string& content) {
  std::string joined;
  for (const std::string& piece :
       fenlodar::SplitBytes(content, fenlodar::FieldSeparator)) {
    const std::string leading = fenlodar::BytesToText(piece);
    if (fenlodar::FindText(leading, fenlodar::AddressMark) != fenlodar::kNotFound)
      joined += fenlodar::KeepVisibleAscii(leading) + fenlodar::JoinMarker;
  }
  return fenlodar::SplitText(joined, fenlodar::JoinMarker);
}

bool IsShownByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x21 && b <= 0x7F;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  const std::string& path = TaskPath();
  PutFile(path, content);

  const std::vector<std::string> list = fenlodar::AddressListOf(content);
  Check(list == ModelAddressList(content), "AddressListOf differs from the rules");
  for (const std::string& element : list) {
    for (char c : element) Check(IsShownByte(c), "an element holds a byte never shown");
    Check(element.find("###") == std::string::npos, "an element holds the join marker");
  }
  // Every address piece holds "//", so without one the list is empty.
  if (content.find("//") == std::string::npos)
    Check(list.empty(), "an address from nowhere");

  RecordingWindow window;
  fenlodar::CurrentTaskPath = path;
  fenlodar::LoadTaskFile(window);
  std::vector<WindowEvent> expected;
  if (content.empty()) {
    expected.push_back(fenlodar::testing::Notice(fenlodar::texts::kNoticeReadFailed));
  } else if (static_cast<std::int64_t>(size) > fenlodar::MaxTaskFileSize) {
    expected.push_back(fenlodar::testing::Notice(fenlodar::texts::kNoticeFileTooLarge));
  } else {
    // Only a backslash separates, so a POSIX path is its own name.
    expected.push_back(fenlodar::testing::SetBox(Box::TaskNameBox, path));
    if (list.size() >= 1)
      expected.push_back(fenlodar::testing::SetBox(Box::OriginalAddressBox, list[0]));
    if (list.size() >= 2)
      expected.push_back(fenlodar::testing::SetBox(Box::ReferrerBox, list[1]));
  }
  Check(window.events == expected, "the window saw other than the address list");

  // A box with no element keeps what it showed.
  RecordingWindow shown;
  shown.boxes[Box::OriginalAddressBox] = "earlier address";
  shown.boxes[Box::ReferrerBox] = "earlier referrer";
  fenlodar::ExtractAddresses(shown, path);
  Check(shown.boxes[Box::OriginalAddressBox] ==
            (list.size() >= 1 ? list[0] : "earlier address"),
        "address box");
  Check(
      shown.boxes[Box::ReferrerBox] == (list.size() >= 2 ? list[1] : "earlier referrer"),
      "referrer box");
  return 0;
}
