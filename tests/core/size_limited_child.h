// POSIX only: runs `body` in a child process whose files may not grow past
// `limit` bytes, so a write is cut off part way, as on a full disk. Gives
// what `body` returned (false if the child died).
#pragma once

#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace fenlodar::testing {

inline bool RunWithFileSizeLimit(rlim_t limit, const std::function<bool()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
    rlimit r{limit, limit};
    setrlimit(RLIMIT_FSIZE, &r);
    _exit(body() ? 0 : 3);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "child died";
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace fenlodar::testing

#endif
