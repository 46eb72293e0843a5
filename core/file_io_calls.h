// The platform boundary of the file layer: every call that the backend
// makes to the operating system's file services goes through one table of
// function pointers, which starts out holding the real calls. Tests (and
// the fuzz targets' in-memory file layer) replace entries one at a time to
// make a chosen call fail in the way the platform documents, the way
// SQLite's OS layer lets its tests replace each system call.
//
// The table is not part of the product's interface: only the backend and
// its tests include this header.
#pragma once

#include <cstddef>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/types.h>
#endif

namespace fenlodar {

#ifdef _WIN32

struct FileCalls {
  HANDLE(WINAPI* CreateFileA)
  (LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
  BOOL(WINAPI* ReadFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
  BOOL(WINAPI* WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
  BOOL(WINAPI* FlushFileBuffers)(HANDLE);
  BOOL(WINAPI* CloseHandle)(HANDLE);
  BOOL(WINAPI* GetFileSizeEx)(HANDLE, PLARGE_INTEGER);
  DWORD(WINAPI* GetFileAttributesA)(LPCSTR);
  BOOL(WINAPI* GetFileAttributesExA)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);
  BOOL(WINAPI* SetFileAttributesA)(LPCSTR, DWORD);
  BOOL(WINAPI* MoveFileExA)(LPCSTR, LPCSTR, DWORD);
  BOOL(WINAPI* ReplaceFileA)(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID);
  BOOL(WINAPI* DeleteFileA)(LPCSTR);
  // Makes room for a whole file's bytes: `bytes.resize(size)`, which may
  // throw; the backend turns a throw into a failed read.
  void (*Allocate)(std::string& bytes, std::size_t size);
};

// The longest path the ANSI calls take, in bytes (MAX_PATH less its zero).
inline constexpr std::size_t kLongestAnsiPath = MAX_PATH - 1;

#else

struct FileCalls {
  int (*open)(const char*, int, mode_t);
  ssize_t (*read)(int, void*, std::size_t);
  ssize_t (*write)(int, const void*, std::size_t);
  int (*fsync)(int);
  int (*close)(int);
  int (*fstat)(int, struct stat*);
  int (*stat)(const char*, struct stat*);
  int (*fchmod)(int, mode_t);
  int (*rename)(const char*, const char*);
  int (*unlink)(const char*);
  void (*Allocate)(std::string& bytes, std::size_t size);
};

#endif

// The calls the backend makes; assign an entry to inject a fault.
FileCalls& PlatformFileCalls();
// The real calls, to put an entry back.
const FileCalls& RealFileCalls();

}  // namespace fenlodar
