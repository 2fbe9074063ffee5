#include "app/workflow.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_controls.h"
#include "support/fake_wininet.h"
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

class OnDownloadClickedOverFake : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetControls();
    fake::TheControls().address = "http://site.test/bieshuCADtuzhi/17564.html";
    ClearNotices();
  }
  static bool Requested(const FakeWinInet& net, const char* function) {
    const auto names = net.CallNames();
    return std::find(names.begin(), names.end(), function) != names.end();
  }
};

TEST_F(OnDownloadClickedOverFake, RefusesTitlesThatNameAPathOrADevice) {
  const char* hostile[] = {"..\\evil", "sub/evil", "C:evil", "a:stream",
                           "CON",      "nul.txt",  "Lpt1",   "\x81\x5C\\x"};
  for (const char* title : hostile) {
    FakeScript script;
    script.body = std::string("<title>") + title + "</title>";
    FakeWinInet net(script);
    ClearNotices();
    OnDownloadClicked();
    SCOPED_TRACE(title);
    EXPECT_EQ(fake::TheControls().titleLabel, Text(title));
    ASSERT_EQ(RecordedNotices().size(), 1u);
    EXPECT_EQ(RecordedNotices()[0].text, Text("不能打开本地的文件!"));
    EXPECT_FALSE(RecordedNotices()[0].title.has_value());
    EXPECT_FALSE(Requested(net, "InternetOpenUrlA"));
  }
}

TEST_F(OnDownloadClickedOverFake, FetchesThePageWithDefaultsAndAsksForTheFixedAttachment) {
  FakeScript script;
  script.body = std::string("<title>Villa 17564</title>\0<title>after zero</title>", 52);
  script.urlHandle = 0;  // the attachment cannot be opened: ends with its notice
  FakeWinInet net(script);
  OnDownloadClicked();
  EXPECT_EQ(gPageText, Text("<title>Villa 17564</title>"));
  EXPECT_EQ(gPageTitle, Text("Villa 17564"));
  EXPECT_EQ(fake::TheControls().titleLabel, Text("Villa 17564"));

  const auto connects = net.CallsOf("InternetConnectA");
  ASSERT_EQ(connects.size(), 1u);
  EXPECT_EQ(connects[0].texts[0], std::optional<std::string>("site.test"));
  const auto opens = net.CallsOf("InternetOpenUrlA");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].texts[0],
            std::optional<std::string>("http://site.test/d/file/bieshuCADtuzhi/2016-08-04/"
                                       "ceec363b0c442b1bbeabb2288a6864eb.rar"));
  ASSERT_EQ(RecordedNotices().size(), 1u);
  EXPECT_EQ(RecordedNotices()[0].text, Text("下载地址错误，请联系开发者！"));
}

}  // namespace
}  // namespace tsm
