#include "address_extraction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

#include "task_file_builder.h"
#include "task_test_fixture.h"

namespace fenlodar::testing {
namespace {

using namespace std::string_literals;
using List = std::vector<std::string>;

struct ListCase {
  const char* why;
  std::string content;
  List expected;
};

TEST(AddressListOf, FindsFieldsHoldingDoubleSlash) {
  const std::string z3("\0\0\0", 3);
  const ListCase cases[] = {
      {"empty file", "", {}},
      {"no address piece", TaskFileBuilder().Header().Field("name.zip").bytes(), {}},
      {"realistic file",
       TypicalTaskFile("http://a.example/f.exe", "http://b.example/p"),
       {"http://a.example/f.exe", "http://b.example/p"}},
      {"third address joins but is listed last",
       "a//1" + z3 + "b//2" + z3 + "c//3",
       {"a//1", "b//2", "c//3"}},
      {"blank and tab removed", "a//b c\td", {"a//bcd"}},
      {"bytes after the first zero ignored", "a//b\0xyz"s, {"a//b"}},
      {"address at the very start and end", "http://s/x", {"http://s/x"}},
      {"three zeros before: found", "x" + z3 + "h//a", {"h//a"}},
      {"four zeros before: hidden", "x" + z3 + "\0h//a"s, {}},
      {"six zeros before: found", "x" + z3 + z3 + "h//a", {"h//a"}},
      {"six zeros between fields: empty piece skipped",
       "a//1" + z3 + z3 + "b//2",
       {"a//1", "b//2"}},
      {"control length byte dropped",
       "x" + z3 +
           "\x1a"
           "http://a",
       {"http://a"}},
      {"visible byte in front kept", "x" + z3 + "Zhttp://a", {"Zhttp://a"}},
      {"Chinese character removed", "http://a\xd6\xd0z", {"http://az"}},
      {"trail byte in 0x40..0x7E stays", "http://a\x81\x40z", {"http://a@z"}},
      {"one # at the end moves on", "a//b#" + z3 + "r//s", {"a//b", "#r//s"}},
      {"lone trailing # becomes an element", "a//b#", {"a//b", "#"}},
      {"two # at the end", "a//b##" + z3 + "r//s", {"a//b", "##r//s"}},
      {"### inside splits", "a//b###c", {"a//b", "c"}},
      {"### in front empties the first", "###a//b", {"", "a//b"}},
      {"0x81 swallows the first slash", "\x81//x", {}},
      {"0x81 before a letter",
       "\x81"
       "a//x",
       {"a//x"}},
  };
  for (const ListCase& c : cases) {
    EXPECT_EQ(AddressListOf(c.content), c.expected) << c.why;
    // A limit stops the scan early; what it keeps must not change, even
    // where a later piece still moves a "#" or splits at "###".
    for (std::size_t limit = 0; limit <= 3; ++limit) {
      const List prefix(c.expected.begin(),
                        c.expected.begin() + static_cast<std::ptrdiff_t>(
                                                 std::min(limit, c.expected.size())));
      EXPECT_EQ(AddressListOf(c.content, limit), prefix) << c.why << ", limit " << limit;
    }
  }
}

class ExtractAddressesTest : public TaskTest {
 protected:
  void ExtractFrom(const std::string& bytes) {
    window.boxes[Box::OriginalAddressBox] = "before-address";
    window.boxes[Box::ReferrerBox] = "before-referrer";
    ExtractAddresses(window, folder.Put("t.td.cfg", bytes));
  }
};

TEST_F(ExtractAddressesTest, WritesAddressBeforeReferrer) {
  ExtractFrom(TypicalTaskFile("http://a.example/f.exe", "http://b.example/p"));
  const std::vector<WindowEvent> expected = {
      SetBox(Box::OriginalAddressBox, "http://a.example/f.exe"),
      SetBox(Box::ReferrerBox, "http://b.example/p")};
  EXPECT_EQ(window.events, expected);
}

TEST_F(ExtractAddressesTest, BoxWithoutElementIsNotTouched) {
  ExtractFrom(TaskFileBuilder().Header().Field("only.zip").bytes());
  EXPECT_TRUE(window.events.empty());

  window.events.clear();
  ExtractFrom(TaskFileBuilder().Header().Field("http://one/x").bytes());
  EXPECT_EQ(window.events,
            std::vector<WindowEvent>{SetBox(Box::OriginalAddressBox, "http://one/x")});
  EXPECT_EQ(window.boxes[Box::ReferrerBox], "before-referrer");
}

TEST_F(ExtractAddressesTest, EmptyFirstElementStillEmptiesTheBox) {
  ExtractFrom("###a//b");
  EXPECT_EQ(window.boxes[Box::OriginalAddressBox], "");
  EXPECT_EQ(window.boxes[Box::ReferrerBox], "a//b");
}

TEST_F(ExtractAddressesTest, UnreadableFileChangesNothing) {
  ExtractAddresses(window, folder.PathOf("missing.td.cfg"));
  EXPECT_TRUE(window.events.empty());
}

}  // namespace
}  // namespace fenlodar::testing
