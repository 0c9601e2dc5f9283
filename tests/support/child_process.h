// Running a piece of a test in a child process, and as an ordinary user: root may write
// anywhere, so a test of what a user may not do gives up root in a child first.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace vornik::test {

// Runs `body` in a child process and returns what it returned (-1 when it did not exit).
inline int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0)
    _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline constexpr int kCannotDropRoot = 99;

// Runs `body` as user and group 65534 when this process is root, else as it is.
inline int AsOrdinaryUser(const std::function<int()>& body) {
  if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
    return kCannotDropRoot;
  return body();
}

}  // namespace vornik::test
