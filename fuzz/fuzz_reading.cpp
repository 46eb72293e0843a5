// Arbitrary bytes as a task file, through the whole reading path:
// LoadTaskFile's checks, then ExtractAddresses into a recording window.
#include <cstdint>
#include <string>
#include <vector>

#include "address_extraction.h"
#include "current_task.h"
#include "fuzz_support.h"
#include "memory_files.h"
#include "recording_window.h"
#include "task_loading.h"
#include "text_ops.h"
#include "texts.h"

namespace {

using fenlodar::Box;
using fenlodar::fuzzing::Check;
using fenlodar::testing::RecordingWindow;
using fenlodar::testing::WindowEvent;

// The file lives in the in-memory file system behind the product's own
// file layer: no disk, so each input costs only the reading itself.
const std::string kTaskPath = "/fuzz/input.td.cfg";

// The address list as the rules compose it, one primitive after another
// (the primitives themselves are checked by fuzz_text_ops). A piece whose
// bytes hold no "//" has no leading text that does, so it is passed over
// before it is cut down.
std::vector<std::string> ModelAddressList(const std::string& content) {
  std::string joined;
  for (const std::string& piece :
       fenlodar::SplitBytes(content, fenlodar::FieldSeparator)) {
    if (piece.find(fenlodar::AddressMark) == std::string::npos) continue;
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
  static const bool installed = (fenlodar::fuzzing::MemoryFiles::Install(), true);
  (void)installed;
  fenlodar::fuzzing::MemoryFiles::Reset();
  const std::string& path = kTaskPath;
  fenlodar::fuzzing::MemoryFiles::Put(path, content);

  // Only the first two elements are ever shown, and the product stops
  // scanning once it has them; the model always reads the whole input, so
  // the comparison below also checks that stopping early changes nothing.
  std::vector<std::string> list = ModelAddressList(content);
  if (list.size() > 2) list.resize(2);

  // A box with no element keeps what it showed.
  RecordingWindow window;
  window.boxes[Box::OriginalAddressBox] = "earlier address";
  window.boxes[Box::ReferrerBox] = "earlier referrer";
  fenlodar::CurrentTaskPath = path;
  fenlodar::LoadTaskFile(window);
  std::vector<WindowEvent> expected;
  const bool accepted =
      !content.empty() && static_cast<std::int64_t>(size) <= fenlodar::MaxTaskFileSize;
  if (content.empty()) {
    expected.push_back(fenlodar::testing::Notice(fenlodar::texts::kNoticeReadFailed));
  } else if (!accepted) {
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
  Check(window.boxes[Box::OriginalAddressBox] ==
            (accepted && list.size() >= 1 ? list[0] : "earlier address"),
        "address box");
  Check(window.boxes[Box::ReferrerBox] ==
            (accepted && list.size() >= 2 ? list[1] : "earlier referrer"),
        "referrer box");
  for (const std::string& element : list) {
    for (char c : element) Check(IsShownByte(c), "an element holds a byte never shown");
    Check(element.find("###") == std::string::npos, "an element holds the join marker");
  }
  // Every address piece holds "//", so without one nothing is shown.
  if (content.find("//") == std::string::npos)
    Check(list.empty(), "an address from nowhere");
  return 0;
}
