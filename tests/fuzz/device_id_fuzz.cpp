// A USB printer port's IEEE 1284 device ID, whatever the kernel's attribute holds: the ID
// taken is printable ASCII within its limit, the maker and model read from it are parts of
// it, and it names the device only with the device's maker.
#include <filesystem>
#include <fstream>
#include <string_view>

#include "app/device_id.h"
#include "fuzz_support.h"
#include "lang/lang_profile.h"
#include "platform/fake_platform.h"
#include "platform/usb_printer_ports.h"
#include "tests/support/printer_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::FakePlatform fake;
  static vornik::test::PrinterTree tree(fake.system);
  static const std::string port = tree.addPrinter(0, "-");
  std::ofstream(fake.system.sysfs + "/class/usbmisc/lp0/device/ieee1284_id", std::ios::binary)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));

  const auto ports = platform::ListUsbPrinterPorts();
  FUZZ_CHECK(ports.size() == 1 && ports[0].path == port);
  const std::string& id = ports[0].deviceId;
  FUZZ_CHECK(id.size() <= platform::kDeviceIdMaxLength);
  for (const char c : id)
    FUZZ_CHECK(c >= 0x20 && c <= 0x7E);
  const std::string maker = vornik::DeviceIdMaker(id);
  FUZZ_CHECK(id.find(maker) != std::string::npos);
  FUZZ_CHECK(id.find(vornik::DeviceIdModel(id)) != std::string::npos);
  const vornik::DeviceIdWords words{vornik::kDefaultIdMaker, {vornik::kDefaultIdModels}};
  if (vornik::NamesDevice(id, words))
    FUZZ_CHECK(vornik::SameNameIgnoringCase(maker, vornik::kDefaultIdMaker));
  return 0;
}
