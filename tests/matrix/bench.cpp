#include "bench.h"

#include <cstdio>
#include <cstdlib>

#include "app/port_discovery.h"
#include "lang/lang_text.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"
#include "settings/advanced_page_values.h"

namespace vornik::test {

uint32_t WatchedClock::tickCount() {
  check();
  return inner_.tickCount();
}

void WatchedClock::sleep(uint32_t ms) {
  inner_.sleep(ms);
  check();
}

void WatchedClock::watch(const std::string& what, uint32_t limitMs) {
  what_ = what;
  start_ = inner_.now;
  limit_ = limitMs;
  watching_ = true;
}

void WatchedClock::check() {
  if (watching_ && inner_.now - start_ > limit_) {
    std::fprintf(stderr, "%s is still running %u ms after it began: it hangs\n", what_.c_str(),
                 unsigned(inner_.now - start_));
    std::abort();
  }
}

namespace {

// The services in force (the fake platform's), with another clock.
platform::ServiceSet WithClock(platform::Clock& clock) {
  platform::ServiceSet services = platform::Services();
  services.clock = &clock;
  return services;
}

}  // namespace

Bench::Bench() : services_(WithClock(clock)) {
  Connection = ConnectionState{};
  Connection.osFlavour = OsFlavour::Nt5;
  DefaultMachineState();
  AllocatePhonebookStore();
  LanguageFilePath = VORNIK_ENGLISH_FILE;
  skipNextAdvancedRead = false;
  advancedPageCreated = false;
  devsim::PhonebookSlot& last = sim.model.content().phonebook.back();
  constexpr std::string_view kName = "LAST BRANCH", kNumber = "5550999";
  std::copy(kName.begin(), kName.end(), last.name.begin());
  std::copy(kNumber.begin(), kNumber.end(), last.dialData.begin());
  const std::string port = kBenchControlPort;
  for (const std::string& name :
       {std::string(PortNameTable[kPortLpt1]), std::string(PortNameTable[kPortEcp1]),
        port + "\\PIPE00", port + "\\PIPE01"})
    fake.devices.add(name, link.wrap(sim.factory()));
  Connection.PortKind = kPortLpt1;
}

Bench::~Bench() {
  FreePhonebookStore();
  UnloadUsbLibrary();
  LanguageFilePath.clear();
}

void Bench::settleDevice() {
  if (link.limit != SIZE_MAX) {
    sim.model = devsim::DeviceModel(sim.model.content());
    link.limit = SIZE_MAX;
  }
  fake.clock.now += devsim::kImageQuietMs;
  sim.model.settle(fake.clock.now);
}

}  // namespace vornik::test
