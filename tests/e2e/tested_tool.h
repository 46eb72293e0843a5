// Which fenlodar.exe the end-to-end tests work: the one built beside them,
// or another build named by FENLODAR_E2E_TOOL (a Unix path). The 64-bit
// driver thus also works the x86 exe, whose own driver would start far
// slower where 32-bit programs run only under emulation.
#pragma once

#include <cstdlib>
#include <string>

namespace fenlodar::testing {

inline std::string TestedToolPath() {
  const char* other = std::getenv("FENLODAR_E2E_TOOL");
  return other != nullptr && *other != '\0' ? other : FENLODAR_EXE;
}

}  // namespace fenlodar::testing
