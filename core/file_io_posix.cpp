// POSIX backend of the file layer, for native builds and tests. POSIX has
// no share modes: a file another process holds open for writing reads
// normally here, and nothing stops another opener during a write. Every
// other result matches the Win32 backend.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "file_io.h"

namespace fenlodar {

namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) close(fd);
  }
};

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string TemporaryNameFor(const std::string& path) {
  static unsigned counter = 0;
  return path + "." + std::to_string(getpid()) + "-" +
         std::to_string(++counter) + ".tmp";
}

bool WriteTemporary(const std::string& temporary, const std::string& bytes,
                    mode_t mode) {
  FdCloser file{open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                     mode)};
  if (file.fd < 0) return false;
  // The umask applied at open; an existing target's bits are kept exactly.
  if (fchmod(file.fd, mode) != 0) return false;
  if (!WriteAll(file.fd, bytes) || fsync(file.fd) != 0) return false;
  const int fd = file.fd;
  file.fd = -1;
  return close(fd) == 0;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  if (path.empty()) return {};
  FdCloser file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return {};
  struct stat info {};
  if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0)
    return {};
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = read(file.fd, &bytes[done], bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  mode_t mode = 0666;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return false;
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode &= ~mask;
  }
  const std::string temporary = TemporaryNameFor(path);
  if (WriteTemporary(temporary, bytes, mode) &&
      rename(temporary.c_str(), path.c_str()) == 0)
    return true;
  unlink(temporary.c_str());
  return false;
}

std::int64_t FileSizeOf(const std::string& path) {
  if (path.empty()) return -1;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return -1;
  return S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
}

}  // namespace fenlodar
