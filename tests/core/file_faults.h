// Test support for the file layer's call table (file_io_calls.h): a guard
// that puts the real calls back when a test ends, and the few faults and
// counters that the tests of both platforms share.
#pragma once

#include <cstring>
#include <new>
#include <string>

#include "file_io_calls.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

namespace fenlodar::testing {

// Every entry replaced inside its lifetime is restored at its end, and the
// shared counters start from zero.
class CallTableGuard {
 public:
  CallTableGuard();
  ~CallTableGuard() { PlatformFileCalls() = saved_; }
  CallTableGuard(const CallTableGuard&) = delete;
  CallTableGuard& operator=(const CallTableGuard&) = delete;
  FileCalls& calls() { return PlatformFileCalls(); }

  // Allocation of a whole file's bytes fails.
  void FailAllocation();
  // The first read from each handle gives half of what it asks, the next
  // reports the end: every file read stops early.
  void EndReadsEarly();
  // Counts the opens for reading of `path`, and the moves of a finished
  // file onto it (a ReplaceFileA or MoveFileExA, or a rename).
  void Count(const std::string& path);

  static inline std::string counted_path;
  static inline int reads_opened = 0;
  static inline int replaced = 0;
  static inline long long reading = -1;  // the handle or descriptor cut short

 private:
  FileCalls saved_;
};

namespace file_faults {

inline void ThrowingAllocate(std::string&, std::size_t) { throw std::bad_alloc(); }

#ifdef _WIN32
inline BOOL WINAPI EarlyEndReadFile(HANDLE h, LPVOID buffer, DWORD n, LPDWORD got,
                                    LPOVERLAPPED o) {
  if (CallTableGuard::reading == reinterpret_cast<long long>(h)) {
    *got = 0;
    return TRUE;
  }
  CallTableGuard::reading = reinterpret_cast<long long>(h);
  return RealFileCalls().ReadFile(h, buffer, n > 1 ? n / 2 : n, got, o);
}
inline HANDLE WINAPI CountingCreateFileA(LPCSTR path, DWORD access, DWORD share,
                                         LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                                         DWORD flags, HANDLE model) {
  if (path == CallTableGuard::counted_path && access == GENERIC_READ)
    ++CallTableGuard::reads_opened;
  CallTableGuard::reading = -1;  // a new file: its first read is cut short
  return RealFileCalls().CreateFileA(path, access, share, sa, disposition, flags, model);
}
inline BOOL WINAPI CountingReplaceFileA(LPCSTR replaced, LPCSTR replacement,
                                        LPCSTR backup, DWORD flags, LPVOID exclude,
                                        LPVOID reserved) {
  if (replaced == CallTableGuard::counted_path) ++CallTableGuard::replaced;
  return RealFileCalls().ReplaceFileA(replaced, replacement, backup, flags, exclude,
                                      reserved);
}
inline BOOL WINAPI CountingMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (to == CallTableGuard::counted_path) ++CallTableGuard::replaced;
  return RealFileCalls().MoveFileExA(from, to, flags);
}
#else
inline ssize_t EarlyEndRead(int fd, void* buffer, std::size_t n) {
  if (CallTableGuard::reading == fd) return 0;
  CallTableGuard::reading = fd;
  return RealFileCalls().read(fd, buffer, n > 1 ? n / 2 : n);
}
inline int CountingOpen(const char* path, int flags, mode_t mode) {
  if (path == CallTableGuard::counted_path && (flags & O_ACCMODE) == O_RDONLY)
    ++CallTableGuard::reads_opened;
  CallTableGuard::reading = -1;  // a new file: its first read is cut short
  return RealFileCalls().open(path, flags, mode);
}
inline int CountingRename(const char* from, const char* to) {
  if (to == CallTableGuard::counted_path) ++CallTableGuard::replaced;
  return RealFileCalls().rename(from, to);
}
#endif

}  // namespace file_faults

inline CallTableGuard::CallTableGuard() : saved_(PlatformFileCalls()) {
  counted_path.clear();
  reads_opened = 0;
  replaced = 0;
  reading = -1;
}

inline void CallTableGuard::FailAllocation() {
  calls().Allocate = file_faults::ThrowingAllocate;
}

inline void CallTableGuard::EndReadsEarly() {
#ifdef _WIN32
  calls().ReadFile = file_faults::EarlyEndReadFile;
  calls().CreateFileA = file_faults::CountingCreateFileA;
#else
  calls().read = file_faults::EarlyEndRead;
  calls().open = file_faults::CountingOpen;
#endif
}

inline void CallTableGuard::Count(const std::string& path) {
  counted_path = path;
#ifdef _WIN32
  calls().CreateFileA = file_faults::CountingCreateFileA;
  calls().ReplaceFileA = file_faults::CountingReplaceFileA;
  calls().MoveFileExA = file_faults::CountingMoveFileExA;
#else
  calls().open = file_faults::CountingOpen;
  calls().rename = file_faults::CountingRename;
#endif
}

}  // namespace fenlodar::testing
