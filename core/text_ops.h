// Operations over texts and byte strings, shared by the reading and the
// rewriting of task files. Both kinds are std::string: a text holds no zero
// byte, a byte string may. Positions are 0-based; -1 means "not found".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fenlodar {

using Position = std::ptrdiff_t;
inline constexpr Position kNotFound = -1;

// First occurrence of `needle` in `text`, walking `text` by characters of
// the double-byte code page: a byte 0x80..0xFF takes the byte after it, no
// match is tried at that second byte, and such a byte in last place ends
// the search. The walk starts at `from`, taken as a character boundary.
Position FindText(const std::string& text, const std::string& needle,
                  std::size_t from = 0);

// Cuts `text` at every `separator` found by FindText's walk. Empty inner
// pieces stay, an empty tail is dropped, the empty text gives no pieces.
std::vector<std::string> SplitText(const std::string& text,
                                   const std::string& separator);

// First occurrence of `sequence` at or after `from`, byte by byte.
// kNotFound for an empty sequence or one longer than what is searched.
Position FindByteSequence(const std::string& bytes, const std::string& sequence,
                          std::size_t from = 0);

// SplitText's piece rules over bytes, without any character walk;
// occurrences never overlap.
std::vector<std::string> SplitBytes(const std::string& bytes,
                                    const std::string& separator);

// The bytes before `position`, then `replacement`, then those after the
// `length` bytes replaced. The range must lie inside `bytes`.
std::string ReplaceByteRange(const std::string& bytes, std::size_t position,
                             std::size_t length, const std::string& replacement);

// The bytes before the first zero byte, all of them when there is none.
std::string BytesToText(const std::string& bytes);

// A text's bytes as a byte string (the same bytes: std::string keeps no
// terminating zero of its own).
std::string TextToBytes(const std::string& text);

// Keeps the bytes 0x21..0x7F, one by one, with no regard for characters.
std::string KeepVisibleAscii(const std::string& text);

}  // namespace fenlodar
