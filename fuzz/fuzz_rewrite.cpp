// The in-memory rewrite on arbitrary content and addresses, checked
// against what it promises: only the replaced ranges change, the length
// changes by exactly the replacements, and the second replacement lies
// wholly behind the first.
//
// Input: the old address's length byte, the new one's, both addresses,
// then the content.
#include <cstdint>
#include <string>

#include "address_rewrite.h"
#include "fuzz_support.h"

namespace {

using fenlodar::fuzzing::Check;
using fenlodar::fuzzing::InputReader;

constexpr std::size_t kNone = std::string::npos;

// The first occurrence at or after `from`, byte by byte; none for an empty
// sequence.
std::size_t Occurrence(const std::string& bytes, const std::string& sequence,
                       std::size_t from) {
  if (sequence.empty()) return kNone;
  for (std::size_t i = from; i + sequence.size() <= bytes.size(); ++i)
    if (bytes.compare(i, sequence.size(), sequence) == 0) return i;
  return kNone;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const std::size_t old_length = input.Byte() % 24;
  const std::size_t new_length = input.Byte() % 48;
  const std::string old_address = input.Bytes(old_length);
  const std::string new_address = input.Bytes(new_length);
  const std::string content = input.Rest();

  const fenlodar::RewriteResult result =
      fenlodar::ReplaceFirstTwo(content, old_address, new_address);
  const std::string& out = result.content;
  Check(result.replaced >= 0 && result.replaced <= 2, "replacement count");
  const long long growth = static_cast<long long>(new_address.size()) -
                           static_cast<long long>(old_address.size());
  Check(static_cast<long long>(out.size()) ==
            static_cast<long long>(content.size()) + result.replaced * growth,
        "length changed by other than the replacements");

  // In the content's own positions: the first occurrence, then the first
  // one that starts behind its end (so the two never overlap).
  const std::size_t first = Occurrence(content, old_address, 0);
  const std::size_t second =
      first == kNone ? kNone
                     : Occurrence(content, old_address, first + old_address.size());
  Check(result.replaced == (first == kNone    ? 0
                            : second == kNone ? 1
                                              : 2),
        "replaced other occurrences than the first two apart");
  if (first == kNone) {
    Check(out == content, "content changed with nothing found");
    return 0;
  }

  // Every byte outside the replaced ranges, unchanged and in order.
  Check(out.compare(0, first, content, 0, first) == 0, "bytes before the first changed");
  Check(out.compare(first, new_address.size(), new_address) == 0, "first replacement");
  const std::size_t after_first = first + old_address.size();
  const std::size_t out_after_first = first + new_address.size();
  if (second == kNone) {
    Check(out.compare(out_after_first, kNone, content, after_first, kNone) == 0,
          "bytes after the only replacement changed");
    return 0;
  }
  const std::size_t between = second - after_first;
  Check(out.compare(out_after_first, between, content, after_first, between) == 0,
        "bytes between the replacements changed");
  const std::size_t out_second = out_after_first + between;
  Check(out.compare(out_second, new_address.size(), new_address) == 0,
        "second replacement");
  Check(out.compare(out_second + new_address.size(), kNone, content,
                    second + old_address.size(), kNone) == 0,
        "bytes after the second replacement changed");
  return 0;
}
