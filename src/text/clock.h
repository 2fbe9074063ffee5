// The millisecond clock.
#pragma once

#include <cstdint>

namespace tsm {

// Milliseconds since the system started, as a signed 32-bit value that wraps.
int32_t UptimeMs();

}  // namespace tsm
