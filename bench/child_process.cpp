#include "bench/child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/platform.h"

namespace vornik::bench {
namespace {

// The parent's environment with the changes made: built before the fork, since the child
// of a process with threads may only make async-signal-safe calls.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry)
    result.emplace_back(*entry);
  for (const std::string& change : changes) {
    const std::string name = change.substr(0, change.find('='));
    std::erase_if(result, [&name](const std::string& entry) {
      return entry.compare(0, name.size() + 1, name + "=") == 0;
    });
    if (change.size() > name.size())
      result.push_back(change);
  }
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words)
    pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
  std::vector<std::string> words = {program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<std::string> variables = ChildEnvironment(environment);
  const std::vector<char*> argv = Pointers(words);
  const std::vector<char*> envp = Pointers(variables);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::execvpe(argv[0], argv.data(), envp.data());  // a bare name is looked up on the PATH
    ::_exit(127);
  }
}

ChildProcess::~ChildProcess() {
  if (running())
    stop();
}

ChildProcess::Ending ChildProcess::wait(int timeoutMs) {
  Ending ending;
  if (!running())
    return ending;
  // The end is seen the moment it comes: a timed program's time is not rounded up to a
  // polling interval.
  const int exitFd = int(::syscall(SYS_pidfd_open, pid_, 0));
  if (exitFd >= 0) {
    pollfd exited = {.fd = exitFd, .events = POLLIN, .revents = 0};
    ::poll(&exited, 1, timeoutMs);
    ::close(exitFd);
  }
  int status = 0;
  rusage usage{};
  // Without a process descriptor (a kernel before 5.3) the wait has no time-out.
  pid_t ended = ::wait4(pid_, &status, exitFd >= 0 ? WNOHANG : 0, &usage);
  if (ended == 0) {
    ::kill(pid_, SIGKILL);
    ended = ::wait4(pid_, &status, 0, &usage);
  }
  pid_ = -1;
  if (ended <= 0)
    return ending;
  ending.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  ending.peakRssKiB = usage.ru_maxrss;
  const auto ms = [](const timeval& t) {
    return double(t.tv_sec) * 1000 + double(t.tv_usec) / 1000;
  };
  ending.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  return ending;
}

ChildProcess::Ending ChildProcess::stop() {
  if (running())
    ::kill(pid_, SIGTERM);
  return wait(5000);
}

std::string ProgramFolder() {
  return std::filesystem::path(platform::Services().system->programPath()).parent_path().string();
}

}  // namespace vornik::bench
