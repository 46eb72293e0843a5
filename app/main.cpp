// The program's entry: everything else is in the fenlodar_app library.
#include <windows.h>

#include "program.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd) {
  return fenlodar::RunProgram(hInstance, nShowCmd);
}
