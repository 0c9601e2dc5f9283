#include "bench/panel_driver.h"

#include <chrono>
#include <thread>

#include "devsim/traffic_log.h"
#include "link/command_frame.h"

namespace vornik::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPageReadTimeoutMs = 15000;
constexpr auto kLogPoll = std::chrono::milliseconds(20);

}  // namespace

std::unique_ptr<ChildProcess> StartPanel(const BenchDevice& device) {
  return std::make_unique<ChildProcess>(
      ProgramFolder() + "/vornik", std::vector<std::string>{},
      std::vector<std::string>{"VORNIK_USB_PORT=" + device.socket(), "QT_QPA_PLATFORM",
                               "VORNIK_DEBUG"});
}

std::string ReadRequestLogged(uint8_t record) {
  const uint8_t named[] = {kSignature[0], kSignature[1], kSignature[2], kOpReadRecord, record};
  return devsim::HexBytes(named);
}

bool WaitForRequest(const BenchDevice& device, const std::string& request, int before) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kPageReadTimeoutMs);
  while (device.requestsReceived(request) <= before) {
    if (Clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(kLogPoll);
  }
  return true;
}

std::vector<std::string> XdotoolKeys(const std::vector<std::string>& keys) {
  std::vector<std::string> args = {"key"};
  args.insert(args.end(), keys.begin(), keys.end());
  return args;
}

bool PressKeys(const std::vector<std::string>& keys) {
  return ChildProcess("xdotool", XdotoolKeys(keys)).wait(kExitTimeoutMs).status == 0;
}

bool FocusTabStrip(Window window) {
  const std::string id = std::to_string(window);
  return ChildProcess("xdotool", {"windowfocus", "--sync", id}).wait(kExitTimeoutMs).status == 0 &&
         PressKeys({"Tab", "Tab"});
}

}  // namespace vornik::bench
