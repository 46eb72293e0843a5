// POSIX backend of the file layer, for native builds and tests. POSIX has
// no share modes: a file another process holds open for writing reads
// normally here, and nothing stops another opener during a write. Every
// other result matches the Win32 backend, a read-only target's refusal
// included. Every call to the platform goes through PlatformFileCalls(),
// which the fuzz targets point at an in-memory file system.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "file_io.h"
#include "file_io_calls.h"

namespace fenlodar {

namespace {

void AllocateBytes(std::string& bytes, std::size_t size) { bytes.resize(size); }
int OpenFile(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}
int StatFile(const char* path, struct stat* info) { return ::stat(path, info); }

FileCalls& Os() { return PlatformFileCalls(); }

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) Os().close(fd);
  }
};

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = Os().write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || static_cast<std::size_t>(n) > bytes.size() - done) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string TemporaryNameFor(const std::string& path) {
  static unsigned counter = 0;
  return path + "." + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".tmp";
}

bool WriteTemporary(const std::string& temporary, const std::string& bytes, mode_t mode) {
  FdCloser file{
      Os().open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode)};
  if (file.fd < 0) return false;
  // The umask applied at open; an existing target's bits are kept exactly.
  if (Os().fchmod(file.fd, mode) != 0) return false;
  if (!WriteAll(file.fd, bytes) || Os().fsync(file.fd) != 0) return false;
  const int fd = file.fd;
  file.fd = -1;
  return Os().close(fd) == 0;
}

// A temporary file is removed even when the first try fails, as the Win32
// backend tries again.
void RemoveTemporary(const std::string& temporary) {
  for (int attempt = 0; attempt < 3; ++attempt)
    if (Os().unlink(temporary.c_str()) == 0 || errno == ENOENT) return;
}

}  // namespace

const FileCalls& RealFileCalls() {
  static const FileCalls real = {
      OpenFile, ::read,   ::write,  ::fsync,  ::close,       ::fstat,
      StatFile, ::fchmod, ::rename, ::unlink, AllocateBytes,
  };
  return real;
}

FileCalls& PlatformFileCalls() {
  static FileCalls calls = RealFileCalls();
  return calls;
}

FileRead ReadWholeFileChecked(const std::string& path, std::int64_t max_size) {
  FileRead read;
  if (path.empty()) return read;
  FdCloser file{Os().open(path.c_str(), O_RDONLY | O_CLOEXEC, 0)};
  if (file.fd < 0) return read;
  struct stat info {};
  if (Os().fstat(file.fd, &info) != 0) {
    read.opened = true;
    return read;
  }
  if (!S_ISREG(info.st_mode)) return read;  // a folder, as on Windows
  read.opened = true;
  if (info.st_size < 0 || info.st_size > max_size ||
      static_cast<std::uint64_t>(info.st_size) > read.bytes.max_size())
    return read;
  try {
    Os().Allocate(read.bytes, static_cast<std::size_t>(info.st_size));
  } catch (...) {  // std::bad_alloc, std::length_error: an empty read
    std::string().swap(read.bytes);
    return read;
  }
  std::size_t done = 0;
  while (done < read.bytes.size()) {
    const ssize_t n = Os().read(file.fd, &read.bytes[done], read.bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || static_cast<std::size_t>(n) > read.bytes.size() - done) break;
    done += static_cast<std::size_t>(n);
  }
  read.complete = done == read.bytes.size();
  read.bytes.resize(done);
  return read;
}

std::string ReadWholeFile(const std::string& path) {
  return ReadWholeFileChecked(path).bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  mode_t mode = 0666;
  struct stat info {};
  if (Os().stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return false;
    // Read-only, as the Win32 backend refuses a read-only file: judged by
    // the owner's write bit, since a process running as root could write
    // to it all the same.
    if ((info.st_mode & S_IWUSR) == 0) return false;
    mode = info.st_mode & 07777;
  } else if (errno != ENOENT) {
    return false;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode &= ~mask;
  }
  const std::string temporary = TemporaryNameFor(path);
  if (WriteTemporary(temporary, bytes, mode) &&
      Os().rename(temporary.c_str(), path.c_str()) == 0)
    return true;
  RemoveTemporary(temporary);
  return false;
}

std::int64_t FileSizeOf(const std::string& path) {
  if (path.empty()) return -1;
  struct stat info {};
  if (Os().stat(path.c_str(), &info) != 0) return -1;
  return S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
}

}  // namespace fenlodar
