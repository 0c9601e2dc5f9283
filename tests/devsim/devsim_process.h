// The real vornik-devsim program, started on a socket in a private temporary folder for
// one test and stopped with SIGTERM at the end of it.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "temp_folder.h"

namespace devsim::test {

// Runs the program to completion (for options that make it exit at once); returns its exit
// status and what it printed.
inline int RunDevsim(std::vector<std::string> args, std::string& output) {
  std::string command = VORNIK_DEVSIM_PROGRAM;
  for (const auto& arg : args)
    command += " '" + arg + "'";
  command += " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  char chunk[512];
  while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
    output.append(chunk, n);
  const int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class DevsimProcess {
 public:
  // Starts the program serving `socket` with the extra options; waits until it listens.
  // What it prints goes to `output` when given.
  DevsimProcess(const std::string& socket, std::vector<std::string> options = {},
                const std::string& output = {})
      : socket_(socket) {
    std::vector<std::string> args = {VORNIK_DEVSIM_PROGRAM, "--socket", socket};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& arg : args)
      argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that crashes takes its simulator along
      if (!output.empty())
        std::freopen(output.c_str(), "w", stderr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    bool up = false;
    for (int i = 0; i < 100 && !(up = listening()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(up) << "vornik-devsim did not start on " << socket;
  }
  ~DevsimProcess() {
    if (pid_ > 0)
      stop();
  }

  // Sends `signal` (SIGTERM: stop cleanly) and returns the exit status (-1 when it did not
  // exit normally).
  int stop(int signal = SIGTERM) {
    ::kill(pid_, signal);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  // The socket is there before the server listens on it: only a connection tells.
  bool listening() const {
    sockaddr_un address{};
    if (socket_.size() >= sizeof address.sun_path)
      return false;
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socket_.c_str());
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool served =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return served;
  }

  std::string socket_;
  pid_t pid_ = -1;
};

}  // namespace devsim::test
