// POSIX only: runs `body` in a child process whose files may not grow past
// `limit` bytes, so a write is cut off part way, as on a full disk. Gives
// what `body` returned (false if the child died). A fork that fails is a
// test failure of its own, never a quiet pass.
#pragma once

#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>

namespace fenlodar::testing {

// The fork used; a test replaces it to see a failing fork reported.
inline pid_t (*ForkForSizeLimit)() = ::fork;

inline bool RunWithFileSizeLimit(rlim_t limit, const std::function<bool()>& body) {
  const pid_t child = ForkForSizeLimit();
  if (child < 0) {
    ADD_FAILURE() << "fork failed (" << std::strerror(errno)
                  << "): the size-limited body did not run";
    return false;
  }
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
    rlimit r{limit, limit};
    setrlimit(RLIMIT_FSIZE, &r);
    _exit(body() ? 0 : 3);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) {
    ADD_FAILURE() << "waitpid failed (" << std::strerror(errno) << ")";
    return false;
  }
  EXPECT_TRUE(WIFEXITED(status)) << "child died";
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace fenlodar::testing

#endif
