// Finding the download address and the referring page in a task file.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "task_window.h"

namespace fenlodar {

// Three zero bytes cut a task file into fields.
inline const std::string FieldSeparator("\0\0\0", 3);
inline constexpr char AddressMark[] = "//";
inline constexpr char JoinMarker[] = "###";

// The address list of a task file's bytes: the shown form of each field
// whose leading text holds "//", joined by "###" and cut again at "###".
// With a `limit`, only its first `limit` elements, found without reading
// further than they need.
std::vector<std::string> AddressListOf(
    const std::string& content,
    std::size_t limit = std::numeric_limits<std::size_t>::max());

// Reads the file at `path` and writes the first element of its address
// list into OriginalAddressBox, then the second into ReferrerBox. A box
// with no element is left untouched.
void ExtractAddresses(TaskWindow& window, const std::string& path);

}  // namespace fenlodar
