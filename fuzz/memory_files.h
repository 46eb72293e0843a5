// An in-memory file system behind the POSIX backend's call table, so the
// fuzz targets run the product's own file layer without touching a disk,
// and can make any one platform call fail in one of the ways POSIX
// documents for it. Single-threaded, as the fuzz targets are.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "file_io_calls.h"

namespace fenlodar::fuzzing {

// How the chosen call fails. Calls that cannot fail in a way fail with -1
// and EIO instead.
enum class Fault : unsigned char {
  kNone,
  kDenied,    // EACCES from open, stat, rename, unlink, fchmod
  kNoSpace,   // ENOSPC from write, fsync, close
  kIoError,   // EIO from anything
  kShort,     // read or write does half of what was asked
  kEarlyEnd,  // read gives half of what was asked, and the next one the end
  kNoMemory,  // the allocation throws std::bad_alloc
  kCount,
};

class MemoryFiles {
 public:
  struct File {
    std::string bytes;
    mode_t mode = 0644;
  };

  // Installs the in-memory calls; the file system starts empty.
  static void Install() {
    FileCalls& calls = PlatformFileCalls();
    calls.open = Open;
    calls.read = Read;
    calls.write = Write;
    calls.fsync = Fsync;
    calls.close = Close;
    calls.fstat = Fstat;
    calls.stat = Stat;
    calls.fchmod = Fchmod;
    calls.rename = Rename;
    calls.unlink = Unlink;
    calls.Allocate = Allocate;
    Reset();
  }

  static void Reset() {
    Files().clear();
    Descriptors().clear();
    calls_made() = 0;
    fail_at() = 0;
    fault() = Fault::kNone;
  }

  // Makes the `call`-th platform call from now (1 the next one; 0 none)
  // fail with `how`.
  static void FailCall(unsigned call, Fault how) {
    calls_made() = 0;
    fail_at() = call;
    fault() = how;
  }
  static unsigned CallsMade() { return calls_made(); }

  static void Put(const std::string& path, const std::string& bytes, mode_t mode = 0644) {
    Files()[path] = std::make_shared<File>(File{bytes, mode});
  }
  // nullptr when nothing is at `path`.
  static const File* Get(const std::string& path) {
    const auto found = Files().find(path);
    return found == Files().end() ? nullptr : found->second.get();
  }
  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& entry : Files()) names.push_back(entry.first);
    return names;
  }
  static bool OpenDescriptors() { return !Descriptors().empty(); }

 private:
  struct Open_ {
    std::shared_ptr<File> file;
    bool writable;
    std::size_t position;
    bool ended = false;  // reads give the end from now on
  };

  static std::map<std::string, std::shared_ptr<File>>& Files() {
    static std::map<std::string, std::shared_ptr<File>> files;
    return files;
  }
  static std::map<int, Open_>& Descriptors() {
    static std::map<int, Open_> descriptors;
    return descriptors;
  }
  static unsigned& calls_made() {
    static unsigned n = 0;
    return n;
  }
  static unsigned& fail_at() {
    static unsigned n = 0;
    return n;
  }
  static Fault& fault() {
    static Fault f = Fault::kNone;
    return f;
  }

  // Counts the call; gives the fault this call must show, if any.
  static Fault Injected() {
    ++calls_made();
    return calls_made() == fail_at() ? fault() : Fault::kNone;
  }
  static int Failed(int error) {
    errno = error;
    return -1;
  }
  // The errno a failing call of a plain kind gives.
  static int ErrorOf(Fault how, int fallback) {
    switch (how) {
      case Fault::kDenied:
        return EACCES;
      case Fault::kNoSpace:
        return ENOSPC;
      default:
        return fallback;
    }
  }
  static Open_* Descriptor(int fd) {
    const auto found = Descriptors().find(fd);
    return found == Descriptors().end() ? nullptr : &found->second;
  }

  static int Open(const char* path, int flags, mode_t mode) {
    const Fault how = Injected();
    if (how != Fault::kNone) return Failed(ErrorOf(how, EIO));
    auto found = Files().find(path);
    if (found == Files().end()) {
      if (!(flags & O_CREAT)) return Failed(ENOENT);
      found = Files().emplace(path, std::make_shared<File>(File{"", mode})).first;
    } else if ((flags & O_CREAT) && (flags & O_EXCL)) {
      return Failed(EEXIST);
    }
    const bool writable = (flags & O_ACCMODE) != O_RDONLY;
    if (flags & O_TRUNC) found->second->bytes.clear();
    int fd = 3;
    while (Descriptors().count(fd)) ++fd;
    Descriptors()[fd] = Open_{found->second, writable, 0, false};
    return fd;
  }
  static ssize_t Read(int fd, void* buffer, std::size_t count) {
    const Fault how = Injected();
    Open_* open = Descriptor(fd);
    if (!open) return Failed(EBADF);
    const std::string& bytes = open->file->bytes;
    std::size_t n = open->position < bytes.size() ? bytes.size() - open->position : 0;
    if (n > count) n = count;
    if (open->ended) return 0;
    if (how == Fault::kEarlyEnd) {
      open->ended = true;
      n /= 2;
    } else if (how == Fault::kShort) {
      n /= 2;
    } else if (how != Fault::kNone) {
      return Failed(EIO);
    }
    std::memcpy(buffer, bytes.data() + open->position, n);
    open->position += n;
    return static_cast<ssize_t>(n);
  }
  static ssize_t Write(int fd, const void* buffer, std::size_t count) {
    const Fault how = Injected();
    Open_* open = Descriptor(fd);
    if (!open || !open->writable) return Failed(EBADF);
    std::size_t n = count;
    if (how == Fault::kShort)
      n /= 2;
    else if (how != Fault::kNone)
      return Failed(ErrorOf(how, EIO));
    std::string& bytes = open->file->bytes;
    if (bytes.size() < open->position + n) bytes.resize(open->position + n);
    std::memcpy(&bytes[open->position], buffer, n);
    open->position += n;
    return static_cast<ssize_t>(n);
  }
  static int Fsync(int fd) {
    const Fault how = Injected();
    if (!Descriptor(fd)) return Failed(EBADF);
    return how == Fault::kNone ? 0 : Failed(ErrorOf(how, EIO));
  }
  static int Close(int fd) {
    const Fault how = Injected();
    // Closed whatever it reports, as POSIX closes the descriptor.
    if (Descriptors().erase(fd) == 0) return Failed(EBADF);
    return how == Fault::kNone ? 0 : Failed(ErrorOf(how, EIO));
  }
  static int Fill(const File& file, struct stat* info) {
    *info = {};
    info->st_mode = S_IFREG | file.mode;
    info->st_size = static_cast<off_t>(file.bytes.size());
    return 0;
  }
  static int Fstat(int fd, struct stat* info) {
    const Fault how = Injected();
    Open_* open = Descriptor(fd);
    if (!open) return Failed(EBADF);
    if (how != Fault::kNone) return Failed(EIO);
    return Fill(*open->file, info);
  }
  static int Stat(const char* path, struct stat* info) {
    const Fault how = Injected();
    if (how != Fault::kNone) return Failed(ErrorOf(how, EIO));
    const File* file = Get(path);
    return file ? Fill(*file, info) : Failed(ENOENT);
  }
  static int Fchmod(int fd, mode_t mode) {
    const Fault how = Injected();
    Open_* open = Descriptor(fd);
    if (!open) return Failed(EBADF);
    if (how != Fault::kNone) return Failed(ErrorOf(how, EIO));
    open->file->mode = mode & 07777;
    return 0;
  }
  static int Rename(const char* from, const char* to) {
    const Fault how = Injected();
    if (how != Fault::kNone) return Failed(ErrorOf(how, EIO));
    const auto found = Files().find(from);
    if (found == Files().end()) return Failed(ENOENT);
    const std::shared_ptr<File> file = found->second;
    Files().erase(found);
    Files()[to] = file;
    return 0;
  }
  static int Unlink(const char* path) {
    const Fault how = Injected();
    if (how != Fault::kNone) return Failed(ErrorOf(how, EIO));
    return Files().erase(path) ? 0 : Failed(ENOENT);
  }
  static void Allocate(std::string& bytes, std::size_t size) {
    if (Injected() == Fault::kNoMemory) throw std::bad_alloc();
    bytes.resize(size);
  }
};

}  // namespace fenlodar::fuzzing
