// The millisecond clock over the system's boot-time clock.
#include <time.h>

#include "text/clock.h"

namespace tsm {

int32_t UptimeMs() {
#ifdef CLOCK_BOOTTIME
  constexpr clockid_t kSinceStart = CLOCK_BOOTTIME;  // counts suspended time too
#else
  constexpr clockid_t kSinceStart = CLOCK_MONOTONIC;
#endif
  timespec now{};
  clock_gettime(kSinceStart, &now);
  uint64_t ms =
      static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  // Keep the low 32 bits and read them as signed, as the Windows count does.
  return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

}  // namespace tsm
