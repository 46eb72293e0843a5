#include "current_task.h"

namespace fenlodar {

std::string CurrentTaskPath;

}  // namespace fenlodar
