// Linked into a test program in place of the platform clock: UptimeMs
// answers from a script.
//   CMake: add $<TARGET_OBJECTS:tsm_fake_clock> to the test's SOURCES.
#pragma once

#include <cstdint>
#include <vector>

namespace tsm {

// Each UptimeMs call takes the next reading; the last one repeats. The
// script starts as {0}.
void SetUptimeReadings(std::vector<int32_t> readings);

}  // namespace tsm
