// Keeps the C++ name demangler out of fenlodar.exe, where it took 68 KiB.
// Only the default terminate handler calls it, to print the type
// of an uncaught exception to a console that a window program does not
// have; nothing here throws. The exe is linked with
// -Wl,--wrap=__cxa_demangle, which sends that call here; the handler then
// prints the name undemangled.
#include <cstddef>

// The name is the one --wrap gives; it cannot be another.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
extern "C" char* __wrap___cxa_demangle(const char*, char*, std::size_t*, int* status) {
  if (status != nullptr) *status = -2;  // "not a mangled name"
  return nullptr;
}
