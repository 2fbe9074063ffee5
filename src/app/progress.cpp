#include "app/progress.h"

#include <optional>

#include "app/controls.h"
#include "text/clock.h"
#include "text/number.h"

namespace tsm {
namespace {

constexpr double kBytesPerMegabyte = 1048576;
constexpr double kBytesPerKilobyte = 1024;
constexpr double kMsPerSecond = 1000;

double Unsigned(int32_t value) { return static_cast<double>(static_cast<uint32_t>(value)); }

Text Megabytes(double bytes) {
  return ConcatText(NumberToText(RoundNumber(bytes / kBytesPerMegabyte, 2)), "MB");
}

struct Report {
  int32_t total, done, elapsedMs, thisRun;
};

// The latest report and what is on display; one download at a time.
struct Display {
  Report last{};
  bool pending = false;
  std::optional<ProgressView> shown;
  int32_t drawnAt = 0;
};
Display gDisplay;

void DrawReport(const Report& report) {
  const ProgressView view =
      ComputeProgress(report.total, report.done, report.elapsedMs, report.thisRun);
  DrawProgress(view, gDisplay.shown ? &*gDisplay.shown : nullptr);
  PumpPaintMessages();
  gDisplay.shown = view;
  gDisplay.pending = false;
  gDisplay.drawnAt = UptimeMs();
}

}  // namespace

ProgressView ComputeProgress(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun) {
  const double totalBytes = Unsigned(total);
  const double doneBytes = Unsigned(done);
  ProgressView view;
  // Multiply first, then divide by 1024, then by the time: the average speed
  // of this run, not of the latest chunk.
  const double speed =
      RoundNumber(Unsigned(thisRun) * kMsPerSecond / kBytesPerKilobyte / Unsigned(elapsedMs), 2);
  view.total = Megabytes(totalBytes);
  view.done = Megabytes(doneBytes);
  view.speed = ConcatText(NumberToText(speed), "KB/s");
  view.percent = total == 0 ? 0 : DoubleToInt32(doneBytes * 100 / totalBytes);
  return view;
}

void DrawProgress(const ProgressView& view, const ProgressView* shown) {
  if (!shown || !(shown->total == view.total)) SetStatusPart(1, view.total);
  if (!shown || !(shown->done == view.done)) SetStatusPart(3, view.done);
  if (!shown || !(shown->speed == view.speed)) SetStatusPart(5, view.speed);
  if (shown && shown->percent == view.percent) return;
  SetProgressPosition(view.percent);
  // The label shows what the bar stored, so the two always agree.
  SetLabelText(Label::kPercent, ConcatText("完成：", NumberToText(ProgressPosition()), "%"));
}

void ShowProgress(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun) {
  gDisplay.last = {total, done, elapsedMs, thisRun};
  gDisplay.pending = true;
  // A 32-bit difference stays right across the clock's wrap-around.
  const int32_t sinceDrawn = static_cast<int32_t>(static_cast<uint32_t>(UptimeMs()) -
                                                  static_cast<uint32_t>(gDisplay.drawnAt));
  if (!gDisplay.shown || sinceDrawn >= kRedrawIntervalMs || sinceDrawn < 0) {
    DrawReport(gDisplay.last);
  }
}

void BeginProgress() { gDisplay = Display{}; }

void FinishProgress() {
  if (gDisplay.pending) DrawReport(gDisplay.last);
}

}  // namespace tsm
