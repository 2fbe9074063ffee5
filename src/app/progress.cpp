#include "app/progress.h"

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

// The latest report and whether it is on display; one download at a time.
struct Display {
  Report last{};
  bool pending = false;
  bool drawnOnce = false;
  int32_t drawnAt = 0;
};
Display gDisplay;

void DrawReport(const Report& report) {
  DrawProgress(ComputeProgress(report.total, report.done, report.elapsedMs, report.thisRun));
  PumpPaintMessages();
  gDisplay.pending = false;
  gDisplay.drawnOnce = true;
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

void DrawProgress(const ProgressView& view) {
  SetStatusPart(1, view.total);
  SetStatusPart(3, view.done);
  SetStatusPart(5, view.speed);
  SetProgressPosition(view.percent);
  // The label shows what the bar stored, so the two always agree.
  SetLabelText(Label::kPercent, ConcatText("完成：", NumberToText(ProgressPosition()), "%"));
}

void ShowProgress(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun) {
  gDisplay.last = {total, done, elapsedMs, thisRun};
  gDisplay.pending = true;
  // A 32-bit difference stays right across the clock's wrap-around.
  const int32_t sinceDrawn =
      static_cast<int32_t>(static_cast<uint32_t>(UptimeMs()) - static_cast<uint32_t>(gDisplay.drawnAt));
  if (!gDisplay.drawnOnce || sinceDrawn >= kRedrawIntervalMs || sinceDrawn < 0) {
    DrawReport(gDisplay.last);
  }
}

void BeginProgress() { gDisplay = Display{}; }

void FinishProgress() {
  if (gDisplay.pending) DrawReport(gDisplay.last);
}

}  // namespace tsm
