#include "dialog_filter.h"

#include <gtest/gtest.h>

#include "texts.h"

namespace fenlodar {
namespace {

using namespace std::string_literals;

TEST(DialogFilterTest, TheToolsFilterGivesTwoPairsAndTheDoubleZeroEnd) {
  // 迅雷离线文件(*.cfg) / *.cfg, then 所有文件 / *.*
  const std::string expected =
      "\xd1\xb8\xc0\xd7\xc0\xeb\xcf\xdf\xce\xc4\xbc\xfe(*.cfg)\0*.cfg\0"
      "\xcb\xf9\xd3\xd0\xce\xc4\xbc\xfe\0*.*\0\0"s;
  EXPECT_EQ(DialogFilterOf(texts::kFileDialogFilter), expected);
}

TEST(DialogFilterTest, TrimsAndEndsTheTextBeforeSplitting) {
  const struct {
    std::string filter;
    std::string converted;
  } cases[] = {
      {"a|*.a", "a\0*.a\0\0"s},
      {"a|*.a||", "a\0*.a\0\0"s},       // already ended: nothing added
      {"a|*.a \t\r\n", "a\0*.a\0\0"s},  // trailing white space goes first
      {"a|*.a|", "a\0*.a\0\0\0"s},      // one bar is not an end: "||" added
      {" a|*.a", " a\0*.a\0\0"s},       // leading space stays
      {"", ""},
      {"  ", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DialogFilterOf(c.filter), c.converted) << c.filter;
}

}  // namespace
}  // namespace fenlodar
