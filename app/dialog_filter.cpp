#include "dialog_filter.h"

namespace fenlodar {

namespace {

// Bytes below 0x40 are never the trail byte of a GBK character, so trimming
// bytewise cannot split one.
bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string DialogFilterOf(const std::string& filter) {
  std::string text = filter;
  while (!text.empty() && IsWhiteSpace(text.back())) text.pop_back();
  if (!text.empty() && !text.ends_with("||")) text += "||";
  for (char& c : text)
    if (c == '|') c = '\0';
  return text;
}

}  // namespace fenlodar
