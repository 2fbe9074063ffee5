// The program built for a site where nothing listens: the page cannot be
// fetched, the title is empty and the download ends with its notice.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_window_win.h"
#include "http/site.h"
#include "support/notice_recorder.h"

namespace tsm {
namespace {

TEST(UnreachableSite, EndsWithTheDownloadNotice) {
  HWND window = CreateMainWindow();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  char title[64] = "left from before";
  SetWindowTextA(GetDlgItem(window, kTitleLabelId), title);

  const std::string address = "http://" + SiteHost().bytes() + "/bieshuCADtuzhi/17564.html";
  SetWindowTextA(GetDlgItem(window, kAddressEditId), address.c_str());
  SendMessageA(GetDlgItem(window, kDownloadButtonId), BM_CLICK, 0, 0);

  ASSERT_EQ(RecordedNotices().size(), 1u);
  EXPECT_EQ(RecordedNotices()[0].text, Text("下载地址错误，请联系开发者！"));
  GetWindowTextA(GetDlgItem(window, kTitleLabelId), title, sizeof title);
  EXPECT_STREQ(title, "");
  DestroyWindow(window);
}

}  // namespace
}  // namespace tsm
