// The millisecond clock over GetTickCount.
#include <windows.h>

#include "text/clock.h"

namespace tsm {

// Read as signed: negative after about 24.8 days, back to 0 after 49.7.
int32_t UptimeMs() { return static_cast<int32_t>(GetTickCount()); }

}  // namespace tsm
