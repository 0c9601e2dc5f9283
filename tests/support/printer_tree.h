// A machine's USB printer ports as a fake tree: the device folder's usb/lpN and the kernel's
// ieee1284_id of each, in a private folder that the fake system service names as its sysfs
// root, device folder and configuration folder. VORNIK_USB_PORT is unset for the tree's
// lifetime, as start-up names the port it chose there.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fake_platform.h"
#include "tests/support/scoped_env.h"

namespace vornik::test {

class PrinterTree {
 public:
  explicit PrinterTree(platform::FakeSystem& system) {
    std::string pattern = (std::filesystem::temp_directory_path() / "printers-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    std::filesystem::create_directories(root_ / "dev/usb");
    system.sysfs = (root_ / "sys").string();
    system.dev = (root_ / "dev").string();
    system.config = (root_ / "config").string();
  }
  ~PrinterTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // Adds /dev/usb/lpN; an empty ID leaves the port without the kernel's attribute. Returns
  // the port's path.
  std::string addPrinter(int n, const std::string& deviceId) {
    const std::string name = "lp" + std::to_string(n);
    std::ofstream(root_ / "dev/usb" / name) << "";
    if (!deviceId.empty()) {
      const auto folder = root_ / "sys/class/usbmisc" / name / "device";
      std::filesystem::create_directories(folder);
      std::ofstream(folder / "ieee1284_id") << deviceId << "\n";
    }
    return port(n);
  }
  std::string port(int n) const { return (root_ / "dev/usb").string() + "/lp" + std::to_string(n); }
  // The file where the panel remembers this user's choice.
  std::string rememberedFile() const { return (root_ / "config/vornik/usb-port").string(); }
  void remember(const std::string& path, const std::string& deviceId = "") const {
    std::filesystem::create_directories(root_ / "config/vornik");
    std::ofstream(rememberedFile()) << path << "\n" << deviceId << "\n";
  }

 private:
  std::filesystem::path root_;
  ScopedEnv noNamedPort_{"VORNIK_USB_PORT", nullptr};
};

}  // namespace vornik::test
