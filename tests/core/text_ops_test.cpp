#include "text_ops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fenlodar {
namespace {

using namespace std::string_literals;
using Pieces = std::vector<std::string>;

struct FindCase {
  const char* why;
  std::string text;
  std::string needle;
  Position expected;
};

TEST(FindText, WalksByDoubleByteCharacters) {
  const FindCase cases[] = {
      {"plain match", "a//b", "//", 1},
      {"first of several", "x.td.cfg.td.cfg", ".td.cfg", 1},
      {"case matters", "A.TD.CFG", ".td.cfg", kNotFound},
      {"match at the start", "//x", "//", 0},
      {"match in last place", "ab//", "//", 2},
      {"needle longer than text", "/", "//", kNotFound},
      {"empty text", "", "//", kNotFound},
      {"empty needle finds nothing", "abc", "", kNotFound},
      // 0x81 takes the first slash with it: the walk never stops between.
      {"slash as trail byte is skipped", "\x81//x", "//", kNotFound},
      {"slash after a whole character", "\x81" "a//x", "//", 2},
      {"second slash pair still found", "\x81//x//", "//", 4},
      // 0x5C as the second byte of a GBK character is no backslash.
      {"backslash trail byte", "\xd5\x5c", "\\", kNotFound},
      {"backslash after GBK character", "\xd5\x5c\\", "\\", 2},
      {"lead byte in last place ends the search", "ab\x81", "\x81", kNotFound},
      {"high bytes match as whole characters", "a\xce\xc4\xbc\xfe", "\xbc\xfe", 3},
      {"no match inside a character", "\xce\xc4\xbc", "\xc4\xbc", kNotFound},
  };
  for (const FindCase& c : cases)
    EXPECT_EQ(FindText(c.text, c.needle), c.expected) << c.why;
}

TEST(FindText, StartsAtGivenBoundary) {
  EXPECT_EQ(FindText("//a//", "//", 1), 3);
  EXPECT_EQ(FindText("//", "//", 2), kNotFound);
}

struct SplitCase {
  const char* why;
  std::string text;
  std::string separator;
  Pieces expected;
};

TEST(SplitText, KeepsInnerEmptyPiecesDropsEmptyTail) {
  const SplitCase cases[] = {
      {"empty text gives no pieces", "", "\\", {}},
      {"no separator: one piece", "a.td.cfg", "\\", {"a.td.cfg"}},
      {"full path", "C:\\tasks\\a.td.cfg", "\\", {"C:", "tasks", "a.td.cfg"}},
      {"trailing separator dropped", "C:\\tasks\\", "\\", {"C:", "tasks"}},
      {"leading separator: empty first", "\\a", "\\", {"", "a"}},
      {"adjacent separators: empty between", "a\\\\b", "\\", {"a", "", "b"}},
      {"separator alone", "\\", "\\", {""}},
      {"GBK trail 0x5C does not split", "\xd5\x5c\\b", "\\", {"\xd5\x5c", "b"}},
      {"multi-byte marker", "a###b###", "###", {"a", "b"}},
      {"four hashes: one marker, one left", "a####b", "###", {"a", "#b"}},
      {"six hashes: empty piece", "a######b", "###", {"a", "", "b"}},
      {"marker at the start", "###a", "###", {"", "a"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitText(c.text, c.separator), c.expected) << c.why;
}

TEST(SplitBytes, CutsAtZeroRunsThreeAtATime) {
  const std::string sep("\0\0\0", 3);
  const SplitCase cases[] = {
      {"empty bytes give no pieces", "", sep, {}},
      {"no separator", "ab\0c"s, sep, {"ab\0c"s}},
      {"one or two zeros stay inside", "a\0\0b"s, sep, {"a\0\0b"s}},
      {"three zeros cut", "a\0\0\0b"s, sep, {"a", "b"}},
      {"four: the fourth begins the next piece", "a\0\0\0\0b"s, sep, {"a", "\0b"s}},
      {"six: an empty piece between", "a\0\0\0\0\0\0b"s, sep, {"a", "", "b"}},
      {"empty tail dropped", "a\0\0\0"s, sep, {"a"}},
      {"separator first", "\0\0\0a"s, sep, {"", "a"}},
      {"only zeros", std::string(7, '\0'), sep, {"", "", "\0"s}},
      // No character walk: a high byte does not swallow a zero.
      {"high byte before zeros", "\x81\0\0\0a"s, sep, {"\x81", "a"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitBytes(c.text, c.separator), c.expected) << c.why;
}

TEST(FindByteSequence, ExactBytesNoWalk) {
  const FindCase cases[] = {
      {"found", "ab\0cd"s, "cd", 3},
      {"first occurrence", "xyxy", "xy", 0},
      {"high byte before: still found", "\x81//", "//", 1},
      {"zeros inside", "a\0\0b"s, "\0b"s, 2},
      {"empty sequence", "abc", "", kNotFound},
      {"longer than bytes", "ab", "abc", kNotFound},
      {"absent", "abc", "d", kNotFound},
  };
  for (const FindCase& c : cases)
    EXPECT_EQ(FindByteSequence(c.text, c.needle), c.expected) << c.why;
  EXPECT_EQ(FindByteSequence("abab", "ab", 1), 2);
  EXPECT_EQ(FindByteSequence("abab", "ab", 3), kNotFound);
  EXPECT_EQ(FindByteSequence("ab", "b", 5), kNotFound);
}

TEST(ReplaceByteRange, KeepsEverythingAround) {
  EXPECT_EQ(ReplaceByteRange("a\0OLD\0b"s, 2, 3, "NEWER"), "a\0NEWER\0b"s);
  EXPECT_EQ(ReplaceByteRange("OLD", 0, 3, ""), "");
  EXPECT_EQ(ReplaceByteRange("xOLD", 1, 3, "N"), "xN");
}

TEST(BytesAndTexts, ConvertAtFirstZero) {
  EXPECT_EQ(BytesToText("ab\0cd"s), "ab");
  EXPECT_EQ(BytesToText("\0ab"s), "");
  EXPECT_EQ(BytesToText("abc"), "abc");
  EXPECT_EQ(TextToBytes(""), "");
  EXPECT_EQ(TextToBytes("\xce\xc4"), "\xce\xc4");
}

TEST(KeepVisibleAscii, KeepsOnly0x21To0x7F) {
  const struct {
    const char* why;
    std::string text;
    std::string expected;
  } cases[] = {
      {"space and tab dropped", "a//b c\td", "a//bcd"},
      {"0x7F stays, 0x20 goes", "\x7f \x21", "\x7f\x21"},
      {"control bytes dropped", "\x1a\x01http://x", "http://x"},
      // 中 is D6 D0: both bytes high, so it goes whole.
      {"GBK character gone whole", "a\xd6\xd0z", "az"},
      {"GBK trail in 0x40..0x7E stays", "a\x81\x40z", "a@z"},
      {"nothing in range", "\x80\xff \x1f", ""},
      {"empty", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeepVisibleAscii(c.text), c.expected) << c.why;
}

}  // namespace
}  // namespace fenlodar
