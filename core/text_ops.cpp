#include "text_ops.h"

namespace fenlodar {

namespace {

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Shared by both splitters: `find(text, sep, from)` gives the next
// occurrence at or after `from`.
template <typename Finder>
std::vector<std::string> SplitWith(const std::string& text,
                                   const std::string& separator, Finder find) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  if (!separator.empty()) {
    for (Position at; (at = find(text, separator, start)) != kNotFound;) {
      pieces.push_back(text.substr(start, static_cast<std::size_t>(at) - start));
      start = static_cast<std::size_t>(at) + separator.size();
    }
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

}  // namespace

Position FindText(const std::string& text, const std::string& needle,
                  std::size_t from) {
  if (needle.empty()) return kNotFound;
  const std::size_t n = text.size();
  for (std::size_t i = from; i < n;) {
    if (IsLeadByte(text[i]) && i + 1 == n) break;
    // The first byte alone rules out most places before a compare.
    if (text[i] == needle[0] && n - i >= needle.size() &&
        text.compare(i, needle.size(), needle) == 0)
      return static_cast<Position>(i);
    i += IsLeadByte(text[i]) ? 2 : 1;
  }
  return kNotFound;
}

std::vector<std::string> SplitText(const std::string& text,
                                   const std::string& separator) {
  return SplitWith(text, separator,
                   [](const std::string& t, const std::string& s,
                      std::size_t from) { return FindText(t, s, from); });
}

Position FindByteSequence(const std::string& bytes, const std::string& sequence,
                          std::size_t from) {
  if (sequence.empty() || from > bytes.size() ||
      sequence.size() > bytes.size() - from)
    return kNotFound;
  const std::size_t at = bytes.find(sequence, from);
  return at == std::string::npos ? kNotFound : static_cast<Position>(at);
}

std::vector<std::string> SplitBytes(const std::string& bytes,
                                    const std::string& separator) {
  return SplitWith(bytes, separator,
                   [](const std::string& b, const std::string& s,
                      std::size_t from) { return FindByteSequence(b, s, from); });
}

std::string ReplaceByteRange(const std::string& bytes, std::size_t position,
                             std::size_t length, const std::string& replacement) {
  std::string result;
  result.reserve(bytes.size() - length + replacement.size());
  result.append(bytes, 0, position);
  result.append(replacement);
  result.append(bytes, position + length, std::string::npos);
  return result;
}

std::string BytesToText(const std::string& bytes) {
  return bytes.substr(0, bytes.find('\0'));
}

std::string TextToBytes(const std::string& text) { return text; }

std::string KeepVisibleAscii(const std::string& text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x21 && b <= 0x7F) kept.push_back(c);
  }
  return kept;
}

}  // namespace fenlodar
