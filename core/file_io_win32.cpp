// Win32 backend of the file layer: ANSI calls, real share modes. Every call
// to the platform goes through PlatformFileCalls(), so that tests can make
// any one of them fail.
#include <windows.h>

#include "file_io.h"
#include "file_io_calls.h"

namespace fenlodar {

namespace {

void AllocateBytes(std::string& bytes, std::size_t size) { bytes.resize(size); }

FileCalls& Os() { return PlatformFileCalls(); }

// Closes a handle on every return path; Close() reports the result where
// it matters (a delayed write error shows only there).
struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != INVALID_HANDLE_VALUE) Os().CloseHandle(handle);
  }
  bool Close() {
    const HANDLE h = handle;
    handle = INVALID_HANDLE_VALUE;
    return Os().CloseHandle(h) != 0;
  }
};

// A virus scanner or an indexer may hold a fresh file for a moment; such
// refusals are tried again a few times before they count.
bool IsTransient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION;
}
constexpr int kAttempts = 3;
void WaitBeforeAttempt(int attempt) { Sleep(static_cast<DWORD>(attempt) * 20); }

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD written = 0;
    // A short write is followed by another; one that writes nothing ends it.
    if (!Os().WriteFile(file, bytes.data() + done, chunk, &written, nullptr) ||
        written == 0 || written > chunk)
      return false;
    done += written;
  }
  return true;
}

// Writes, flushes and closes; true only if all three succeeded.
bool WriteFlushClose(HandleCloser& file, const std::string& bytes) {
  const bool written = WriteAll(file.handle, bytes) && Os().FlushFileBuffers(file.handle);
  return file.Close() && written;
}

void DeleteTemporary(const std::string& temporary) {
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (Os().DeleteFileA(temporary.c_str())) return;
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return;
    WaitBeforeAttempt(attempt);
  }
}

// The length of the folder part of `path`, separator included: behind the
// last backslash, slash or drive colon, walking by characters of the
// double-byte code page so that a trail byte 0x5C separates nothing.
std::size_t FolderLengthOf(const std::string& path) {
  std::size_t folder = 0;
  for (std::size_t i = 0; i < path.size();) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (byte >= 0x80) {
      i += 2;
      continue;
    }
    if (byte == '\\' || byte == '/' || byte == ':') folder = i + 1;
    ++i;
  }
  return folder;
}

// "~fl" and four hex digits and ".tmp": short, so that it fits beside any
// target whose folder's path leaves 11 bytes below the ANSI limit. Every
// name of a task file (".td.cfg" at least, 255 bytes of path at most, its
// backup 259) leaves them.
constexpr std::size_t kTemporaryNameLength = 11;
std::string TemporaryName(unsigned value) {
  static const char kHex[] = "0123456789abcdef";
  std::string name = "~fl";
  for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(value >> shift) & 0xF];
  return name + ".tmp";
}

// Creates a new temporary file beside `path`, under a name no other file
// has, and gives its handle and name; an invalid handle when it cannot.
HandleCloser CreateTemporary(const std::string& path, std::string& temporary) {
  static unsigned counter = GetCurrentProcessId() * 2654435761u;
  const std::string folder = path.substr(0, FolderLengthOf(path));
  for (int tries = 0; tries < 16; ++tries) {
    temporary = folder + TemporaryName(++counter & 0xFFFF);
    const HANDLE file = Os().CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return HandleCloser{file};
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  temporary.clear();
  return HandleCloser{INVALID_HANDLE_VALUE};
}

enum class Target { kAbsent, kReplaceable, kRefused };

// Whether the target may be written, and its attributes. An existing
// target may be replaced only when this process could open it for writing
// with no other opener: that refuses read-only files, folders and files
// another program holds open, before anything is written.
Target Examine(const std::string& path, DWORD& attributes) {
  attributes = Os().GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return GetLastError() == ERROR_FILE_NOT_FOUND ? Target::kAbsent : Target::kRefused;
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    return Target::kRefused;
  HandleCloser probe{Os().CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  return probe.handle == INVALID_HANDLE_VALUE ? Target::kRefused : Target::kReplaceable;
}

// Moves the temporary file to a target name that is free: never over a
// file, so one that appeared meanwhile is kept.
bool MoveIntoFreeName(const std::string& temporary, const std::string& path) {
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (Os().MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
      return true;
    if (!IsTransient(GetLastError())) return false;
    WaitBeforeAttempt(attempt);
  }
  return false;
}

enum class Moved { kDone, kFailed, kTemporaryIsTheOnlyCopy };

Moved MoveOverTarget(const std::string& temporary, const std::string& path, Target target,
                     DWORD attributes) {
  if (target == Target::kAbsent)
    return MoveIntoFreeName(temporary, path) ? Moved::kDone : Moved::kFailed;
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (Os().ReplaceFileA(path.c_str(), temporary.c_str(), nullptr,
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
      // Windows keeps the target's attributes on its own; some
      // implementations of the call do not, and a hidden or archived task
      // file must stay so. The bytes are in place whatever this gives.
      Os().SetFileAttributesA(path.c_str(), attributes);
      return Moved::kDone;
    }
    error = GetLastError();
    if (!IsTransient(error)) break;
    WaitBeforeAttempt(attempt);
  }
  // 1175: nothing was changed. 1176 (with no backup name): the target is
  // gone and the new bytes exist only under the temporary name. 1177: the
  // target has been moved to a name of Windows' own. In both of the latter
  // the temporary file must take the target's place.
  if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
      error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    return Moved::kFailed;
  if (MoveIntoFreeName(temporary, path)) {
    Os().SetFileAttributesA(path.c_str(), attributes);
    return Moved::kDone;
  }
  // Deleted only if a file stands under the target's name after all.
  return Os().GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES
             ? Moved::kTemporaryIsTheOnlyCopy
             : Moved::kFailed;
}

// The write where no temporary name fits beside the target: in place, as
// a plain create-and-write would (see WriteWholeFile in file_io.h for why
// this is sound for the tool's callers). A new file that could not be
// written whole is no copy of anything and is removed.
bool WriteInPlace(const std::string& path, const std::string& bytes, Target target) {
  const bool absent = target == Target::kAbsent;
  HandleCloser file{Os().CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                     absent ? CREATE_NEW : TRUNCATE_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  if (WriteFlushClose(file, bytes)) return true;
  if (absent) DeleteTemporary(path);
  return false;
}

// Windows' ANSI calls take at most 259 bytes of path; Wine takes one more.
// Held to Windows' limit here, so that a path works under Wine exactly
// when it works on Windows.
bool TooLong(const std::string& path) { return path.size() > kLongestAnsiPath; }

}  // namespace

const FileCalls& RealFileCalls() {
  static const FileCalls real = {
      ::CreateFileA,        ::ReadFile,      ::WriteFile,          ::FlushFileBuffers,
      ::CloseHandle,        ::GetFileSizeEx, ::GetFileAttributesA, ::GetFileAttributesExA,
      ::SetFileAttributesA, ::MoveFileExA,   ::ReplaceFileA,       ::DeleteFileA,
      AllocateBytes,
  };
  return real;
}

FileCalls& PlatformFileCalls() {
  static FileCalls calls = RealFileCalls();
  return calls;
}

FileRead ReadWholeFileChecked(const std::string& path, std::int64_t max_size) {
  FileRead read;
  if (path.empty() || TooLong(path)) return read;
  // Sharing only with readers: a file that another program holds open for
  // writing is refused rather than read half-written.
  HandleCloser file{Os().CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return read;
  read.opened = true;
  LARGE_INTEGER size{};
  if (!Os().GetFileSizeEx(file.handle, &size) || size.QuadPart < 0 ||
      size.QuadPart > max_size ||
      static_cast<std::uint64_t>(size.QuadPart) > read.bytes.max_size())
    return read;
  try {
    Os().Allocate(read.bytes, static_cast<std::size_t>(size.QuadPart));
  } catch (...) {  // std::bad_alloc, std::length_error: an empty read
    std::string().swap(read.bytes);
    return read;
  }
  std::size_t done = 0;
  while (done < read.bytes.size()) {
    const std::size_t left = read.bytes.size() - done;
    const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!Os().ReadFile(file.handle, &read.bytes[done], chunk, &got, nullptr) ||
        got == 0 || got > chunk)
      break;
    done += got;
  }
  read.complete = done == read.bytes.size();
  read.bytes.resize(done);
  return read;
}

std::string ReadWholeFile(const std::string& path) {
  return ReadWholeFileChecked(path).bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (path.empty() || TooLong(path)) return false;
  DWORD attributes = 0;
  const Target target = Examine(path, attributes);
  if (target == Target::kRefused) return false;
  if (FolderLengthOf(path) + kTemporaryNameLength > kLongestAnsiPath)
    return WriteInPlace(path, bytes, target);
  std::string temporary;
  HandleCloser file = CreateTemporary(path, temporary);
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  if (!WriteFlushClose(file, bytes)) {
    DeleteTemporary(temporary);
    return false;
  }
  switch (MoveOverTarget(temporary, path, target, attributes)) {
    case Moved::kDone:
      return true;
    case Moved::kTemporaryIsTheOnlyCopy:
      return false;
    case Moved::kFailed:
      break;
  }
  DeleteTemporary(temporary);
  return false;
}

std::int64_t FileSizeOf(const std::string& path) {
  if (path.empty() || TooLong(path)) return -1;
  // The attribute query reads the directory entry and opens nothing, so a
  // file held open by another program still has its size.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!Os().GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace fenlodar
