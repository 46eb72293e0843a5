// The program's entry: everything else is in the fenlodar_app library.
#include <windows.h>

#include "program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  return fenlodar::RunProgram(instance, show_command);
}
