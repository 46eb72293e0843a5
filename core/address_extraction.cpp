#include "address_extraction.h"

#include "file_io.h"
#include "text_ops.h"

namespace fenlodar {

std::vector<std::string> AddressListOf(const std::string& content) {
  // Joining and cutting again (rather than collecting the pieces) is what
  // users' files have always been shown by: a "#" at the end of an address
  // moves to the next element, a "###" inside one splits it.
  std::string joined;
  for (const std::string& piece : SplitBytes(content, FieldSeparator)) {
    const std::string leading = BytesToText(piece);
    if (FindText(leading, AddressMark) != kNotFound)
      joined += KeepVisibleAscii(leading) + JoinMarker;
  }
  return SplitText(joined, JoinMarker);
}

void ExtractAddresses(TaskWindow& window, const std::string& path) {
  const std::vector<std::string> addresses = AddressListOf(ReadWholeFile(path));
  if (addresses.size() >= 1)
    window.SetBoxText(Box::OriginalAddressBox, addresses[0]);
  if (addresses.size() >= 2) window.SetBoxText(Box::ReferrerBox, addresses[1]);
}

}  // namespace fenlodar
