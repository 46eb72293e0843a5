// The text and byte-string operations against plain second versions
// written here from their rules; any difference aborts.
//
// Input: a head byte (its low four bits, modulo 9, the needle's length; its
// next two bits whether the needle is taken from the input or is one of the
// separators the tool itself cuts at), a start byte, the needle, then the
// text. One comparison of each operation per input keeps each run short.
#include <cstdint>
#include <string>
#include <vector>

#include "address_extraction.h"
#include "fuzz_support.h"
#include "text_ops.h"

namespace {

using fenlodar::Position;
using fenlodar::fuzzing::Check;
using fenlodar::fuzzing::InputReader;

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool SameBytesAt(const std::string& text, std::size_t at, const std::string& needle) {
  if (at + needle.size() > text.size()) return false;
  for (std::size_t k = 0; k < needle.size(); ++k)
    if (text[at + k] != needle[k]) return false;
  return true;
}

// Which positions a match may be tried at: the character starts met by a
// walk from `from`, a lead byte in last place excluded (it ends the walk).
std::vector<bool> MatchStarts(const std::string& text, std::size_t from) {
  std::vector<bool> starts(text.size(), false);
  for (std::size_t i = from; i < text.size(); i += IsLead(text[i]) ? 2 : 1) {
    if (IsLead(text[i]) && i + 1 == text.size()) break;
    starts[i] = true;
  }
  return starts;
}

Position ModelFindText(const std::string& text, const std::string& needle,
                       std::size_t from) {
  if (needle.empty()) return -1;
  const std::vector<bool> starts = MatchStarts(text, from);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (starts[i] && SameBytesAt(text, i, needle)) return static_cast<Position>(i);
  return -1;
}

Position ModelFindBytes(const std::string& bytes, const std::string& sequence,
                        std::size_t from) {
  if (sequence.empty()) return -1;
  for (std::size_t i = from; i < bytes.size(); ++i)
    if (SameBytesAt(bytes, i, sequence)) return static_cast<Position>(i);
  return -1;
}

// One walk that collects the piece under way and closes it at each
// separator; `by_characters` makes a lead byte carry the byte after it.
std::vector<std::string> ModelSplit(const std::string& text, const std::string& separator,
                                    bool by_characters) {
  std::vector<std::string> pieces;
  std::string piece;
  std::size_t i = 0;
  while (i < text.size()) {
    const bool lone_lead = by_characters && IsLead(text[i]) && i + 1 == text.size();
    if (!separator.empty() && !lone_lead && SameBytesAt(text, i, separator)) {
      pieces.push_back(piece);
      piece.clear();
      i += separator.size();
      continue;
    }
    const std::size_t length = by_characters && IsLead(text[i]) && !lone_lead ? 2 : 1;
    piece.append(text, i, length);
    i += length;
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

std::string ModelKeepVisible(const std::string& text) {
  std::string kept;
  for (char c : text)
    if (c >= 0x21 && c <= 0x7F) kept += c;  // char 0x80.. is negative or above
  return kept;
}

std::string ModelLeadingText(const std::string& bytes) {
  std::string text;
  for (char c : bytes) {
    if (c == '\0') break;
    text += c;
  }
  return text;
}

void CompareAll(const std::string& text, const std::string& needle, std::size_t from) {
  Check(fenlodar::FindText(text, needle, from) == ModelFindText(text, needle, from),
        "FindText");
  Check(fenlodar::FindByteSequence(text, needle, from) ==
            ModelFindBytes(text, needle, from),
        "FindByteSequence");
  Check(fenlodar::SplitText(text, needle) == ModelSplit(text, needle, true), "SplitText");
  Check(fenlodar::SplitBytes(text, needle) == ModelSplit(text, needle, false),
        "SplitBytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string kToolSeparators[] = {fenlodar::FieldSeparator,
                                                fenlodar::JoinMarker, "\\"};
  InputReader input(data, size);
  const std::uint8_t head = input.Byte();
  const std::size_t needle_length = (head & 0x0F) % 9;
  const unsigned kind = (head >> 4) & 3;
  const std::uint8_t start = input.Byte();
  const std::string given = input.Bytes(needle_length);
  const std::string& needle = kind == 0 ? given : kToolSeparators[kind - 1];
  const std::string text = input.Rest();
  // Mostly inside the text, sometimes a little past its end.
  const std::size_t from =
      start < 0xF0 ? start % (text.size() + 1) : text.size() + (start - 0xEF);

  CompareAll(text, needle, from);
  Check(fenlodar::KeepVisibleAscii(text) == ModelKeepVisible(text), "KeepVisibleAscii");
  Check(fenlodar::BytesToText(text) == ModelLeadingText(text), "BytesToText");
  return 0;
}
