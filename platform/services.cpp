#include "platform/platform.h"
#include "platform/posix_services.h"

#include <algorithm>
#include <chrono>
#include <future>

namespace platform {

ServiceSet& Services() {
  static ServiceSet services = PosixServices();
  return services;
}

void WhileWaiting() {
  if (const WaitHook hook = Services().waitHook)
    hook();
}

uint32_t SleepSlice(uint32_t ms) {
  WhileWaiting();
  const uint32_t slice = std::min(ms, kWaitSliceMs);
  Services().clock->sleep(slice);
  return slice;
}

void SleepInSlices(uint32_t ms) {
  for (uint32_t left = ms; left > 0;)
    left -= SleepSlice(left);
}

uint32_t CallWhileWaiting(const std::function<uint32_t()>& call) {
  if (Services().waitHook == nullptr)
    return call();
  auto result = std::async(std::launch::async, call);
  while (result.wait_for(std::chrono::milliseconds(kWaitSliceMs)) != std::future_status::ready)
    WhileWaiting();
  return result.get();
}

ScopedServices::ScopedServices(const ServiceSet& replacement) : previous_(Services()) {
  Services() = replacement;
}

ScopedServices::~ScopedServices() {
  Services() = previous_;
}

}  // namespace platform
