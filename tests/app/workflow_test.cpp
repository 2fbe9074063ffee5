#include "app/workflow.h"

#include <gtest/gtest.h>

#include "support/fake_controls.h"
#include "support/notice_recorder.h"

namespace tsm {
namespace {

TEST(ExtractBetween, TakesTheFirstTitleByteForByte) {
  const struct {
    const char* page;
    const char* title;
  } cases[] = {
      {"<html><title>Villa 17564</title></html>", "Villa 17564"},
      {"<TITLE>Villa</TITLE>", ""},  // markers are exact bytes
      {"<title></title>", ""},
      {"<title>A</title><title>B</title>", "A"},
      {"no start</title>", ""},
      {"<title>no end", ""},
      {"</title><title>after</title>", "after"},  // an end marker before the start is skipped
      {"<title> \r\n spaced \r\n</title>", " \r\n spaced \r\n"},
      {"<title>别墅\x81\x5C</title>", "别墅\x81\x5C"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractBetween(Text(c.page), "<title>", "</title>"), Text(c.title)) << c.page;
  }
}

TEST(OnDownloadClicked, EmptyAddressShowsTheNoticeAndStops) {
  fake::ResetControls();
  ClearNotices();
  gPageTitle = "earlier";
  OnDownloadClicked();
  ASSERT_EQ(RecordedNotices().size(), 1u);
  EXPECT_EQ(RecordedNotices()[0].text, Text("正确写入地址(づ￣ 3￣)づ"));
  EXPECT_EQ(RecordedNotices()[0].style, 0);
  EXPECT_EQ(RecordedNotices()[0].title, std::optional<Text>(Text("Brenwick提示你：")));
  EXPECT_EQ(gPageTitle, Text("earlier"));
  EXPECT_TRUE(fake::TheControls().writes.empty());
}

}  // namespace
}  // namespace tsm
