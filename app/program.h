// Start-up and ending of the tool.
#pragma once

#include <windows.h>

#include <string>

namespace fenlodar {

// The whole run: object services, working directory, window, loop, exit
// routine. Gives the process's exit code.
int RunProgram(HINSTANCE instance, int show_command);

// The exit routine: releases CurrentTaskPath, nothing else.
void OnProgramExit();

// The executable's path up to, not including, its last backslash; for an
// executable in a drive's root, the root itself ("C:\").
std::string FolderOf(const std::string& path);

}  // namespace fenlodar
