// The live progress display: status-bar sizes and speed, the bar and the
// percentage label, fed by the download's progress reports.
#pragma once

#include <cstdint>

#include "http/download.h"
#include "text/text.h"

namespace tsm {

// What one report shows.
struct ProgressView {
  Text total;           // status part 1, e.g. "10MB"
  Text done;            // status part 3
  Text speed;           // status part 5, the average speed of this run, e.g. "2560KB/s"
  int32_t percent = 0;  // done of total, cut toward zero; 0 without a total
};

// The four report values are taken as unsigned 32-bit counts, so sizes of
// 2 GiB and more show right.
ProgressView ComputeProgress(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun);

// Writes a view into the controls, in the order: parts 1, 3, 5, the bar, and
// the label with the position read back from the bar. Given the view on
// display, only what differs from it is written: the total never changes
// during a download and the percent rarely does, and every write repaints.
void DrawProgress(const ProgressView& view, const ProgressView* shown = nullptr);

// The download's ProgressCallback. Every report is kept; the controls are
// redrawn at most every kRedrawIntervalMs. A status-bar part costs about a
// millisecond to repaint under Wine, so five redraws a second keep the
// display under 5% of a loopback download (scripts/bench-workflow).
void ShowProgress(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun);
inline constexpr int32_t kRedrawIntervalMs = 200;

// Call before a download: its first report is drawn at once.
void BeginProgress();
// Call after a download: draws the last report if it is not on display yet.
void FinishProgress();

}  // namespace tsm
