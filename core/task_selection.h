// The parts of choosing, reloading and visiting that need no platform.
#pragma once

#include <string>
#include <vector>

#include "task_window.h"

namespace fenlodar {

// Stores the dropped text (one path, or several each followed by CR LF)
// and loads it; LoadTaskFile judges it.
void OnFileDropped(TaskWindow& window, const std::string& dropped);

// Stores a path the file dialog gave and loads it; an empty one is ignored.
void OnTaskFileChosen(TaskWindow& window, const std::string& chosen);

// Reads the task file again, once a first file has been shown.
void OnReloadClicked(TaskWindow& window);

// Only web addresses are handed to the shell: a referring page comes from a
// file users pass around, and the shell would run a program or script.
bool IsWebAddress(const std::string& text);

// Joins dropped names as one text: a single name alone, several each
// followed by CR LF, none as the empty text.
std::string JoinDroppedNames(const std::vector<std::string>& names);

}  // namespace fenlodar
