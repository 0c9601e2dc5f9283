// vornik-devsim: the simulated device, served on a bridge socket.
#include <signal.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/bridge_server.h"
#include "devsim/state_file.h"
#include "devsim/traffic_log.h"

namespace {

using namespace devsim;

struct Options {
  std::string socketPath;
  std::string statePath;
  std::string logPath;
  uint8_t modelCode = kFactoryModelCode;
  std::vector<Fault> faults;
  bool help = false;
};

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: vornik-devsim --socket PATH [options]\n"
               "Serves a simulated device on the Unix socket PATH until SIGTERM or SIGINT.\n"
               "\n"
               "  --socket PATH  the bridge socket to serve (removed again on exit)\n"
               "  --model N      model code the inquiry reports, 0 to 255 (default %d)\n"
               "  --fault NAME   inject a fault; may be given more than once:\n",
               kFactoryModelCode);
  for (const auto& fault : AllFaults())
    std::fprintf(out, "                   %-14s %s\n", std::string(fault.name).c_str(),
                 std::string(fault.help).c_str());
  std::fprintf(out,
               "  --state FILE   keep the device's settings and phonebook in FILE across runs\n"
               "  --log FILE     append every frame received and sent, as hex, to FILE (up to\n"
               "                 %llu MiB; a note ends it when full)\n"
               "  --help         show this text\n",
               static_cast<unsigned long long>(kMaxLogBytes >> 20));
}

bool ParseModelCode(std::string_view text, uint8_t& code) {
  unsigned value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || end != text.data() + text.size() || value > 255)
    return false;
  code = uint8_t(value);
  return true;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--help") {
      options.help = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = option.starts_with("--") ? std::string(option) + " needs a value"
                                       : "unexpected argument " + std::string(option);
      return false;
    }
    const std::string_view value = argv[++i];
    if (option == "--socket") {
      options.socketPath = value;
    } else if (option == "--state") {
      options.statePath = value;
    } else if (option == "--log") {
      options.logPath = value;
    } else if (option == "--model") {
      if (!ParseModelCode(value, options.modelCode)) {
        error = "--model takes a number from 0 to 255";
        return false;
      }
    } else if (option == "--fault") {
      const auto fault = FaultByName(value);
      if (!fault) {
        error = "unknown fault " + std::string(value) + " (see --help)";
        return false;
      }
      options.faults.push_back(*fault);
    } else {
      error = "unknown option " + std::string(option);
      return false;
    }
  }
  if (!options.help && options.socketPath.empty()) {
    error = "--socket PATH is required";
    return false;
  }
  return true;
}

BridgeServer* stopTarget = nullptr;

extern "C" void StopOnSignal(int) {
  if (stopTarget != nullptr)
    stopTarget->requestStop();
}

void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = StopOnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);  // a client that vanished is seen as a failed send
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "vornik-devsim: %s\n", error.c_str());
    PrintUsage(stderr);
    return 2;
  }
  if (options.help) {
    PrintUsage(stdout);
    return 0;
  }

  DeviceContent content = FactoryContent();
  if (!options.statePath.empty() &&
      LoadState(options.statePath, content, error) == LoadResult::kBad) {
    std::fprintf(stderr, "vornik-devsim: %s\n", error.c_str());
    return 1;
  }
  content.modelCode = options.modelCode;
  DeviceModel model(content);
  for (Fault fault : options.faults)
    model.setFault(fault);

  std::unique_ptr<TrafficLog> log;
  if (!options.logPath.empty()) {
    log = std::make_unique<TrafficLog>(options.logPath);
    if (!log->ok()) {
      std::fprintf(stderr, "vornik-devsim: cannot open the log %s: %s\n", options.logPath.c_str(),
                   std::strerror(errno));
      return 1;
    }
    model.setObserver([&log, &model](Traffic traffic, std::span<const uint8_t> bytes) {
      log->traffic(traffic, bytes, model);
    });
  }

  StateKeeper keepState;
  if (!options.statePath.empty()) {
    keepState = [&options](const DeviceContent& changed, std::string& failure) {
      if (SaveState(changed, options.statePath, failure))
        return true;
      std::fprintf(stderr, "vornik-devsim: state not saved: %s\n", failure.c_str());
      return false;
    };
  }
  BridgeServer server(model, log.get(), keepState);
  if (!server.listen(options.socketPath, error)) {
    std::fprintf(stderr, "vornik-devsim: %s\n", error.c_str());
    return 1;
  }
  stopTarget = &server;
  InstallSignalHandlers();
  std::fprintf(stderr, "vornik-devsim: model %d on %s\n", options.modelCode,
               options.socketPath.c_str());
  server.run();
  stopTarget = nullptr;
  return 0;
}
