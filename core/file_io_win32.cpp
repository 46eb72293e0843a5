// Win32 backend of the file layer: ANSI calls, real share modes.
#include <windows.h>

#include "file_io.h"

namespace fenlodar {

namespace {

// Closes a handle on every return path.
struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) ||
        written == 0)
      return false;
    done += written;
  }
  return true;
}

// A name beside the target, so the final move never crosses volumes.
std::string TemporaryNameFor(const std::string& path) {
  static unsigned counter = 0;
  return path + "." + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter) + ".tmp";
}

bool WriteTemporary(const std::string& temporary, const std::string& bytes) {
  HandleCloser file{CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  return WriteAll(file.handle, bytes) && FlushFileBuffers(file.handle);
}

// An existing target may be replaced only when this process could open it
// for writing with no other opener: that refuses read-only files, folders
// and files another program holds open, before anything is moved.
bool TargetIsReplaceable(const std::string& path) {
  HandleCloser probe{CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  return probe.handle != INVALID_HANDLE_VALUE;
}

bool MoveOverTarget(const std::string& temporary, const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!TargetIsReplaceable(path)) return false;
  // With no backup name, every failure ReplaceFile reports leaves the
  // target's bytes as they were.
  if (!ReplaceFileA(path.c_str(), temporary.c_str(), nullptr,
                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return false;
  // Windows keeps the target's attributes on its own; some implementations
  // of the call do not, and a hidden or archived task file must stay so.
  SetFileAttributesA(path.c_str(), attributes);
  return true;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  if (path.empty()) return {};
  // Sharing only with readers: a file that another program holds open for
  // writing is refused rather than read half-written.
  HandleCloser file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.handle, &size) || size.QuadPart <= 0) return {};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!ReadFile(file.handle, &bytes[done], chunk, &got, nullptr) || got == 0)
      break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  const std::string temporary = TemporaryNameFor(path);
  if (WriteTemporary(temporary, bytes) && MoveOverTarget(temporary, path))
    return true;
  DeleteFileA(temporary.c_str());
  return false;
}

std::int64_t FileSizeOf(const std::string& path) {
  if (path.empty()) return -1;
  // The attribute query reads the directory entry and opens nothing, so a
  // file held open by another program still has its size.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) |
         data.nFileSizeLow;
}

}  // namespace fenlodar
