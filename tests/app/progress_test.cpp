#include "app/progress.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_controls.h"
#include "text/clock.h"

namespace tsm {
namespace {

struct Row {
  int64_t total, done, elapsed, thisRun;
  const char *part1, *part3, *part5;
  int32_t bar;
  const char* label;
};

// Sizes of 2 GiB and more arrive as negative or wrapped 32-bit values and
// are shown as the unsigned counts they are.
int32_t Low32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

TEST(ShowProgress, ShowsSizesSpeedAndPercent) {
  const Row rows[] = {
      {10485760, 5242880, 2000, 5242880, "10MB", "5MB", "2560KB/s", 50, "完成：50%"},
      {1000000, 333333, 1000, 333333, "0.95MB", "0.32MB", "325.52KB/s", 33, "完成：33%"},
      {1048576, 1048575, 500, 1048575, "1MB", "1MB", "2048KB/s", 99, "完成：99%"},
      {512000, 10240, 10, 10240, "0.49MB", "0.01MB", "1000KB/s", 2, "完成：2%"},
      {0, 20480, 10, 20480, "0MB", "0.02MB", "2000KB/s", 0, "完成：0%"},
      // More done than the stated total: the bar stores 150, the label says so.
      {1000, 1500, 1000, 1500, "0MB", "0MB", "1.46KB/s", 150, "完成：150%"},
      // A 3 GiB download, half done, and the full one.
      {3221225472, 1610612736, 1000, 1610612736, "3072MB", "1536MB", "1572864KB/s", 50,
       "完成：50%"},
      {3221225472, 3221225472, 4000, 3221225472, "3072MB", "3072MB", "786432KB/s", 100,
       "完成：100%"},
  };
  for (const Row& row : rows) {
    fake::ResetControls();
    BeginProgress();
    ShowProgress(Low32(row.total), Low32(row.done), Low32(row.elapsed), Low32(row.thisRun));
    const auto& c = fake::TheControls();
    SCOPED_TRACE(row.part5);
    EXPECT_EQ(c.statusParts[1], Text(row.part1));
    EXPECT_EQ(c.statusParts[3], Text(row.part3));
    EXPECT_EQ(c.statusParts[5], Text(row.part5));
    EXPECT_EQ(c.storedPosition, row.bar);
    EXPECT_EQ(c.percentLabel, Text(row.label));
  }
}

TEST(ShowProgress, WritesInOrderAndLabelShowsStoredPosition) {
  fake::ResetControls();
  fake::TheControls().storedPosition = 7;
  BeginProgress();
  // 40000 % cannot be stored; the label shows what the bar kept.
  ShowProgress(1, 400, 10, 400);
  const auto& c = fake::TheControls();
  const std::vector<std::string> order = {"part1", "part3",         "part5",
                                          "bar",   "label:percent", "pump"};
  EXPECT_EQ(c.writes, order);
  EXPECT_EQ(c.percentLabel, Text("完成：32767%"));
}

TEST(ShowProgress, RewritesOnlyWhatChanged) {
  fake::ResetControls();
  BeginProgress();
  ShowProgress(10485760, 1048576, 1000, 1048576);
  auto& c = fake::TheControls();
  c.writes.clear();
  // Same total and percent: only the sizes and the speed are written.
  ShowProgress(10485760, 1100000, 1100, 1100000);
  FinishProgress();
  EXPECT_EQ(c.writes, (std::vector<std::string>{"part3", "part5", "pump"}));
  EXPECT_EQ(c.statusParts[3], Text("1.05MB"));
  c.writes.clear();
  ShowProgress(10485760, 2097152, 2000, 2097152);
  FinishProgress();
  EXPECT_EQ(c.writes, (std::vector<std::string>{"part3", "part5", "bar", "label:percent", "pump"}));
  EXPECT_EQ(c.percentLabel, Text("完成：20%"));
  // A new download writes everything again.
  c.writes.clear();
  BeginProgress();
  ShowProgress(10485760, 2097152, 2000, 2097152);
  EXPECT_EQ(c.writes.size(), 6u);
}

TEST(ShowProgress, RedrawsAtMostTenTimesASecondAndFinishesWithTheLastReport) {
  fake::ResetControls();
  BeginProgress();
  const int32_t started = UptimeMs();
  const int32_t reports = 20000;
  for (int32_t i = 1; i <= reports; ++i) ShowProgress(reports * 10, i * 10, 10, i * 10);
  const int32_t elapsed = UptimeMs() - started;
  const auto& c = fake::TheControls();
  const auto draws = std::count(c.writes.begin(), c.writes.end(), "pump");
  EXPECT_GE(draws, 1);
  EXPECT_LE(draws, 1 + elapsed / kRedrawIntervalMs + 1);

  FinishProgress();
  EXPECT_EQ(fake::TheControls().storedPosition, 100);
  EXPECT_EQ(fake::TheControls().percentLabel, Text("完成：100%"));
  // Nothing new to show: finishing again draws nothing.
  const auto writes = fake::TheControls().writes.size();
  FinishProgress();
  EXPECT_EQ(fake::TheControls().writes.size(), writes);
}

}  // namespace
}  // namespace tsm
