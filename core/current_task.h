// The tool's only state: the full path of the task file being worked on.
// Empty at start; replaced only when the user opens or drops a file.
#pragma once

#include <string>

namespace fenlodar {

extern std::string CurrentTaskPath;

}  // namespace fenlodar
