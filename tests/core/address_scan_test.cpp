// The cutting of a task file skips runs of zero bytes in words and stops
// once the two shown elements are settled; these cases pin both to the
// piece rules.
#include <gtest/gtest.h>

#include "address_extraction.h"
#include "task_test_fixture.h"

namespace fenlodar::testing {
namespace {

using List = std::vector<std::string>;

// A run of n zeros holds n div 3 separators; the piece behind it begins
// with the n mod 3 left over, which hide the address. Lengths around and
// well past the eight-byte words of the skip.
TEST(AddressListOf, ZeroRunBeforeAnAddressHidesItUnlessAMultipleOfThree) {
  for (std::size_t n : {0,  1,  2,  3,  4,  5,  6,  7,  8,     9,     10,
                        11, 12, 15, 16, 17, 23, 24, 25, 30000, 30001, 30002}) {
    const std::string content = "x" + std::string(n, '\0') + "h//a";
    const List expected = n == 0 ? List{"xh//a"} : n % 3 == 0 ? List{"h//a"} : List{};
    EXPECT_EQ(AddressListOf(content), expected) << n << " zeros";
  }
}

TEST(AddressListOf, ZeroRunsAtTheEdges) {
  const struct {
    const char* why;
    std::string content;
    List expected;
  } cases[] = {
      {"file of zeros only", std::string(100, '\0'), {}},
      {"run at the start, multiple of three", std::string(9, '\0') + "h//a", {"h//a"}},
      {"run at the start, one left over", std::string(10, '\0') + "h//a", {}},
      {"run ends the file", "h//a" + std::string(11, '\0'), {"h//a"}},
      {"one or two zeros inside a piece", std::string("a//b\0\0c", 7), {"a//b"}},
      {"address behind a piece with a short run",
       std::string("q\0\0w\0\0\0", 7) + "h//a",
       {"h//a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(AddressListOf(c.content), c.expected) << c.why;
}

class ShownElementsTest : public TaskTest {};

// The boxes always show the first two elements of the whole list, also
// when a later piece is needed to settle the second or cannot change it.
// Each pair is the join with "###" and the cut again, worked by hand.
TEST_F(ShownElementsTest, BoxesShowTheFirstTwoElementsOfTheWholeList) {
  const std::string z3("\0\0\0", 3);
  const struct {
    std::string file;
    std::string original, referrer;
  } cases[] = {
      // a//b####c//d###e//f###: the "#" moves to the front of the second.
      {"a//b#" + z3 + "c//d" + z3 + "e//f", "a//b", "#c//d"},
      // a//b###c//d#######e//f###: the surplus "#" stay behind the second.
      {"a//b" + z3 + "c//d##" + z3 + "##e//f", "a//b", "c//d"},
      // A piece of "###" alone holds no "//" and adds nothing.
      {"###" + z3 + "a//b" + z3 + "c//d", "a//b", "c//d"},
      {"a//b###c###d" + z3 + "e//f", "a//b", "c"},
      // h//#########//####x//y###: an empty second element is shown too.
      {"h//#####" + z3 + "#//#" + z3 + "x//y", "h//", ""},
      {"a//1" + z3 + "b//2" + z3 + "c//3" + z3 + "d//4", "a//1", "b//2"},
      // One address piece: its left-over "#" make the second element.
      {"a//b#", "a//b", "#"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.file));
    window.events.clear();
    ExtractAddresses(window, folder.Put("t.td.cfg", c.file));
    EXPECT_EQ(window.events,
              (std::vector<WindowEvent>{SetBox(Box::OriginalAddressBox, c.original),
                                        SetBox(Box::ReferrerBox, c.referrer)}));
  }
}

}  // namespace
}  // namespace fenlodar::testing
