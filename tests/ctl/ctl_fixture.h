// vornikctl run in-process against the simulated device on the fake platform: the fake
// clock makes the device's fixed waits cost nothing. The device sits on the ECP port, where
// discovery finds it when no USB library is there; every request it sees is collected.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ctl/vornikctl.h"
#include "devsim/simulated_device.h"
#include "link/connection.h"
#include "platform/fake_platform.h"
#include "tests/support/file_bytes.h"

namespace vornik::ctl::test {

struct CtlRun {
  int status = -1;
  std::string out;
  std::string err;
};

class CtlTest : public testing::Test {
 protected:
  CtlTest() {
    fake.devices.add(PortNameTable[size_t(kPortEcp1)], sim.factory());
    sim.model.setObserver([this](devsim::Traffic traffic, std::span<const uint8_t> bytes) {
      if (traffic == devsim::Traffic::kRequest)
        requests.emplace_back(bytes.begin(), bytes.end());
    });
    std::string pattern = (std::filesystem::temp_directory_path() / "vornikctl-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
  }
  ~CtlTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  CtlRun run(std::vector<std::string> args, bool terminal = false) {
    std::ostringstream out, err;
    CtlIo io{out, err, terminal};
    CtlRun result;
    result.status = RunVornikctl(args, io);
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  std::string file(const std::string& name) const { return (folder_ / name).string(); }

  void write(const std::string& name, const std::string& text) const {
    std::ofstream(file(name), std::ios::binary) << text;
  }
  std::string read(const std::string& name) const { return vornik::test::ReadFileText(file(name)); }

  // Requests whose record byte (offset 8) and operation (offset 7) are these.
  size_t requestsFor(uint8_t operation, uint8_t record) const {
    size_t count = 0;
    for (const auto& request : requests)
      count += request.size() > 8 && request[7] == operation && request[8] == record;
    return count;
  }

  platform::FakePlatform fake;
  devsim::SimulatedDevice sim;
  std::vector<std::vector<uint8_t>> requests;

 private:
  std::filesystem::path folder_;
};

}  // namespace vornik::ctl::test
