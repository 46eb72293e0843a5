// Times the start-up of the tool and of the baseline window, interleaved:
// from CreateProcessA until FindWindowA finds the program's window by its
// title. Each window is then closed before the next launch.
//   startup_probe <runs> <tool.exe> <baseline.exe>
// Prints one line per launch and the medians with their ratio; exit 1 when
// a window never appears.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "baseline_window.h"
#include "texts.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 30000;

double Now() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// A window left over from an earlier launch would be found at once.
bool WaitUntilGone(const char* title) {
  for (DWORD waited = 0; FindWindowA(nullptr, title); waited += 10) {
    if (waited > kWindowTimeoutMs) return false;
    Sleep(10);
  }
  return true;
}

// Milliseconds until the window exists, or a negative value on failure.
double TimeStartUp(const std::string& exe, const char* title) {
  if (!WaitUntilGone(title)) return -1;
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return -2;
  HWND window = nullptr;
  while (!(window = FindWindowA(nullptr, title))) {
    if (Now() - start > kWindowTimeoutMs) break;
    Sleep(1);
  }
  const double elapsed = Now() - start;
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return window ? elapsed : -3;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: startup_probe <runs> <tool.exe> <baseline.exe>\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  struct Program {
    const char* name;
    std::string exe;
    const char* title;
    std::vector<double> times;
  } programs[] = {
      {"tool", argv[2], fenlodar::texts::kWindowTitle, {}},
      {"baseline", argv[3], fenlodar::startup::kBaselineTitle, {}},
  };
  for (int run = 0; run < runs; ++run) {
    // Each takes the first place every other round.
    for (int k = 0; k < 2; ++k) {
      Program& p = programs[(run + k) % 2];
      const double ms = TimeStartUp(p.exe, p.title);
      if (ms < 0) {
        std::printf("%s: no window (%.0f)\n", p.name, ms);
        return 1;
      }
      p.times.push_back(ms);
      std::printf("run %2d %-8s %8.1f ms\n", run + 1, p.name, ms);
      std::fflush(stdout);
    }
  }
  const double tool = Median(programs[0].times);
  const double baseline = Median(programs[1].times);
  std::printf("median tool %.1f ms, baseline %.1f ms, ratio %.2f\n", tool, baseline,
              tool / baseline);
  return 0;
}
