// The POSIX implementations of the platform services.
#pragma once

#include "platform/platform.h"

namespace platform {

// The process-wide POSIX service objects; they live until exit.
ServiceSet PosixServices();

}  // namespace platform
