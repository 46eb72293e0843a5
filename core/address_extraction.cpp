#include "address_extraction.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "file_io.h"
#include "text_ops.h"

namespace fenlodar {

namespace {

// The first byte at or after `from` that is not zero, or `size`. Eight bytes
// at a time: a run of zero bytes can fill most of a task file.
std::size_t SkipZeros(const char* data, std::size_t from, std::size_t size) {
  while (from + 8 <= size) {
    std::uint64_t word;
    std::memcpy(&word, data + from, 8);
    if (word != 0) break;
    from += 8;
  }
  while (from < size && data[from] == '\0') ++from;
  return from;
}

// Calls `visit` with the leading text of each piece that SplitBytes would
// cut at FieldSeparator, in order, until it returns false. Pieces whose
// leading text is empty are passed over without being cut out: a piece
// that begins with a zero byte has none, and within a run of n zero bytes
// the separators come three at a time from its start, so the piece behind
// the run begins with its n mod 3 remaining zeros.
template <typename Visit>
void ForEachLeadingText(const std::string& content, Visit visit) {
  const char* const data = content.data();
  const std::size_t size = content.size();
  std::size_t piece = 0;
  while (piece < size) {
    std::size_t search = piece;
    if (data[piece] != '\0') {
      const void* zero = std::memchr(data + piece, '\0', size - piece);
      search =
          zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : size;
      if (!visit(std::string_view(data + piece, search - piece))) return;
    }
    const std::size_t separator = content.find(FieldSeparator, search);
    if (separator == std::string::npos) return;
    const std::size_t run = SkipZeros(data, separator, size) - separator;
    piece = separator + run - run % 3;
  }
}

}  // namespace

// The address list, or its first `limit` elements. Joining and cutting
// again (rather than collecting the pieces) is what users' files have
// always been shown by: a "#" at the end of an address moves to the next
// element, a "###" inside one splits it.
std::vector<std::string> AddressListOf(const std::string& content, std::size_t limit) {
  std::string joined;
  // The joined text is ASCII alone, so FindText's walk is a byte search
  // there; the markers found so far stay found as it grows. Once `limit`
  // markers are in, later pieces cannot change the first `limit` elements.
  std::size_t markers = 0;
  std::size_t marker_search = 0;
  ForEachLeadingText(content, [&](std::string_view leading) {
    // Without "//" anywhere in its bytes, FindText cannot find one.
    if (leading.find(AddressMark) == std::string_view::npos) return true;
    const std::string text(leading);
    if (FindText(text, AddressMark) == kNotFound) return true;
    joined += KeepVisibleAscii(text);
    joined += JoinMarker;
    for (std::size_t at;
         markers < limit &&
         (at = joined.find(JoinMarker, marker_search)) != std::string::npos;) {
      ++markers;
      marker_search = at + std::strlen(JoinMarker);
    }
    return markers < limit;
  });
  std::vector<std::string> list = SplitText(joined, JoinMarker);
  if (list.size() > limit) list.resize(limit);
  return list;
}

void ExtractAddresses(TaskWindow& window, const std::string& path) {
  // Only the first two elements are shown.
  const std::vector<std::string> addresses = AddressListOf(ReadWholeFile(path), 2);
  if (addresses.size() >= 1) window.SetBoxText(Box::OriginalAddressBox, addresses[0]);
  if (addresses.size() >= 2) window.SetBoxText(Box::ReferrerBox, addresses[1]);
}

}  // namespace fenlodar
