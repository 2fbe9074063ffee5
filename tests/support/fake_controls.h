// A stand-in for the main window's controls, for testing the workflow and
// the progress display without a window. It keeps what each control shows
// and the order of the writes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "text/text.h"

namespace tsm::fake {

struct Controls {
  Text address;
  Text titleLabel;
  Text percentLabel;
  std::array<Text, 6> statusParts;
  int32_t storedPosition = 0;
  // One entry a write, e.g. "part1", "bar", "label:percent"; and "pump".
  std::vector<std::string> writes;
};

// The controls the fake operations act on; Reset() starts afresh.
Controls& TheControls();
void ResetControls();

}  // namespace tsm::fake
