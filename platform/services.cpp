#include "platform/platform.h"
#include "platform/posix_services.h"

namespace platform {

ServiceSet& Services() {
  static ServiceSet services = PosixServices();
  return services;
}

ScopedServices::ScopedServices(const ServiceSet& replacement) : previous_(Services()) {
  Services() = replacement;
}

ScopedServices::~ScopedServices() {
  Services() = previous_;
}

}  // namespace platform
