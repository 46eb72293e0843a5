// Turning the "label|pattern|label|pattern" filter text into the form the
// open dialog takes: pieces separated by zero bytes, two zeros at the end.
#pragma once

#include <string>

namespace fenlodar {

// Trailing white space goes, "||" is added unless the text already ends so
// (the empty text stays empty), then every "|" becomes a zero byte.
std::string DialogFilterOf(const std::string& filter);

}  // namespace fenlodar
