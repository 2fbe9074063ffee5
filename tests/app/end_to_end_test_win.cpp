// The whole program against the local demo site, under Wine: the window is
// created as the program creates it and driven by messages; notices are
// recorded instead of shown. The site is started by demo/with_site.py on the
// port this test program was built for.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/main_window_win.h"
#include "app/progress.h"
#include "http/site.h"
#include "http/web_request.h"
#include "support/notice_recorder.h"
#include "text/bytes.h"

namespace tsm {
namespace {

constexpr int kServedSize = 3 * 1000 * 1000;  // with_site.py --size in CMakeLists.txt

// The demo site's attachment: byte i is (7 i + i / 1024) mod 256.
std::string ServedBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((7 * i + i / 1024) & 0xFF);
  return bytes;
}

std::string PercentEncoded(const std::string& bytes) {
  std::string out;
  char hex[4];
  for (unsigned char c : bytes) {
    std::snprintf(hex, sizeof hex, "%%%02X", c);
    out += hex;
  }
  return out;
}

std::string SiteUrl(const std::string& path) { return "http://" + SiteHost().bytes() + path; }

// Reads a whole file by its ANSI (GBK) name; false when there is none.
bool ReadLocalFile(const std::string& name, std::string* content) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  content->clear();
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content->append(buffer, got);
  CloseHandle(file);
  return true;
}

class EndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    window_ = CreateMainWindow();
    ASSERT_NE(window_, nullptr);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
  }
  static void TearDownTestSuite() { DestroyWindow(window_); }
  void SetUp() override { ClearNotices(); }

  static HWND Control(int id) { return GetDlgItem(window_, id); }
  static std::string WindowText(int id) {
    char buffer[1024] = {};
    GetWindowTextA(Control(id), buffer, sizeof buffer);
    return buffer;
  }
  static std::string StatusPart(int part) {
    char buffer[256] = {};
    SendMessageA(Control(kStatusBarId), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  static int BarPosition() {
    return static_cast<int>(SendMessageA(Control(kProgressBarId), PBM_GETPOS, 0, 0));
  }
  // Types the address and presses 下载; returns when the handler has ended.
  static void Download(const std::string& address) {
    SetWindowTextA(Control(kAddressEditId), address.c_str());
    SendMessageA(Control(kDownloadButtonId), BM_CLICK, 0, 0);
  }
  static int AttachmentRequests() {
    const Text stats = BytesToText(WebRequest(Text(SiteUrl("/stats").c_str())));
    int count = -1;
    std::sscanf(stats.bytes().c_str(), "attachment_requests=%d", &count);
    return count;
  }
  // The final display after a complete download of `size` bytes.
  static void ExpectFinishedDisplay(int size, bool withLength) {
    const ProgressView expected =
        ComputeProgress(withLength ? size : 0, size, /*elapsedMs=*/1000, size);
    EXPECT_EQ(StatusPart(0), "总大小：");
    EXPECT_EQ(StatusPart(1), expected.total.bytes());
    EXPECT_EQ(StatusPart(3), expected.done.bytes());
    const std::string speed = StatusPart(5);
    EXPECT_EQ(speed.substr(speed.size() - 4), "KB/s") << speed;
    EXPECT_EQ(BarPosition(), withLength ? 100 : 0);
    EXPECT_EQ(WindowText(kPercentLabelId), withLength ? "完成：100%" : "完成：0%");
  }

  static HWND window_;
};
HWND EndToEnd::window_ = nullptr;

TEST_F(EndToEnd, DownloadsTheArchiveUnderThePageTitle) {
  const std::string title = "别墅CAD图纸 17564";
  DeleteFileA(title.c_str());
  Download(SiteUrl("/bieshuCADtuzhi/17564.html"));

  EXPECT_TRUE(RecordedNotices().empty());
  EXPECT_EQ(WindowText(kTitleLabelId), title);
  std::string content;
  ASSERT_TRUE(ReadLocalFile(title, &content)) << "no file named after the title";
  EXPECT_TRUE(content == ServedBytes(kServedSize)) << "file holds " << content.size() << " bytes";
  ExpectFinishedDisplay(kServedSize, /*withLength=*/true);
  DeleteFileA(title.c_str());
}

TEST_F(EndToEnd, WithoutContentLengthTheBarStaysAtZero) {
  const int size = 300000;
  DeleteFileA("NoLength");
  Download(SiteUrl("/page?title=NoLength&length=0&size=" + std::to_string(size)));

  std::string content;
  ASSERT_TRUE(ReadLocalFile("NoLength", &content));
  EXPECT_TRUE(content == ServedBytes(size));
  ExpectFinishedDisplay(size, /*withLength=*/false);
  EXPECT_EQ(StatusPart(1), "0MB");
  EXPECT_EQ(StatusPart(3), "0.29MB");
  DeleteFileA("NoLength");
}

TEST_F(EndToEnd, GbkTitlesBecomeTheFileNameByteForByte) {
  // 乗 and 俓 have 0x5C, the backslash byte, as their second byte.
  const std::string titles[] = {"乗俓 a", " 图纸\x81\x5C.rar", "x\x82\x5Cy"};
  for (const std::string& title : titles) {
    DeleteFileA(title.c_str());
    Download(SiteUrl("/page?size=20000&title=" + PercentEncoded(title)));
    EXPECT_TRUE(RecordedNotices().empty());
    EXPECT_EQ(WindowText(kTitleLabelId), title);
    std::string content;
    ASSERT_TRUE(ReadLocalFile(title, &content)) << title;
    EXPECT_TRUE(content == ServedBytes(20000)) << title;
    EXPECT_TRUE(DeleteFileA(title.c_str()));
  }
}

TEST_F(EndToEnd, RefusesTitlesThatNameAPathOrADevice) {
  const std::string titles[] = {"..\\escaped", "sub/escaped", "C:escaped", "name:stream",
                                "CON",         "nul.txt",     "Com1",      "\x81\x5C\\x"};
  for (const std::string& title : titles) {
    ClearNotices();
    const int before = AttachmentRequests();
    Download(SiteUrl("/page?size=1000&title=" + PercentEncoded(title)));
    EXPECT_EQ(WindowText(kTitleLabelId), title);
    ASSERT_EQ(RecordedNotices().size(), 1u) << title;
    EXPECT_EQ(RecordedNotices()[0].text, Text("不能打开本地的文件!"));
    EXPECT_EQ(AttachmentRequests(), before) << title << ": the attachment was requested";
  }
  EXPECT_EQ(GetFileAttributesA("..\\escaped"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(EndToEnd, EmptyAddressAsksForOneAndRequestsNothing) {
  const int before = AttachmentRequests();
  Download("");
  ASSERT_EQ(RecordedNotices().size(), 1u);
  EXPECT_EQ(RecordedNotices()[0].text, Text("正确写入地址(づ￣ 3￣)づ"));
  EXPECT_EQ(RecordedNotices()[0].title, std::optional<Text>(Text("Brenwick提示你：")));
  EXPECT_EQ(AttachmentRequests(), before);
}

}  // namespace
}  // namespace tsm
