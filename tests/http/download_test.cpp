// DownloadToFile over the scripted WinInet and clock, writing real files:
// the request, the bytes on disk, the progress reports, and the notices,
// results and close order of every failure.
#include "http/download.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "http/site.h"
#include "support/fake_clock.h"
#include "support/fake_wininet.h"
#include "support/notice_recorder.h"

namespace tsm {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr int64_t kInternet = 0x11, kUrl = 0x44;
const char kUrlText[] = "http://www.example.com/d/file/a.rar";
const char kNoInternet[] = "Internet连接错误!";
const char kBadAddress[] = "下载地址错误，请联系开发者！";
const char kNoLocalFile[] = "不能打开本地的文件!";
const char kIncomplete[] = "下载中断，文件不完整!";
const char kWriteFailed[] = "写入本地文件失败!";

struct Report {
  int32_t total, done, elapsedMs, thisRun;
  bool operator==(const Report& o) const {
    return total == o.total && done == o.done && elapsedMs == o.elapsedMs && thisRun == o.thisRun;
  }
};
std::ostream& operator<<(std::ostream& out, const Report& r) {
  return out << "{" << r.total << ", " << r.done << ", " << r.elapsedMs << ", " << r.thisRun << "}";
}

std::vector<Report>& Reports() {
  static std::vector<Report> reports;
  return reports;
}

void RecordProgress(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun) {
  Reports().push_back({total, done, elapsedMs, thisRun});
}

// A body whose bytes differ from chunk to chunk, zero bytes included.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return bytes;
}

std::vector<std::string> NoticeTexts() {
  std::vector<std::string> texts;
  for (const RecordedNotice& notice : RecordedNotices()) {
    EXPECT_EQ(notice.style, 0);
    EXPECT_FALSE(notice.title.has_value());
    EXPECT_EQ(notice.owner, nullptr);
    texts.push_back(notice.text.bytes());
  }
  return texts;
}

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n = 0;; ++n) {
      dir_ = fs::temp_directory_path() / ("tsm_download_test_" + std::to_string(n));
      if (fs::create_directory(dir_)) break;
    }
    Fresh();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Fresh() {
    Reports().clear();
    ClearNotices();
    SetUptimeReadings({0});
    fs::remove(dir_ / "f.bin");
  }
  Text Target() const { return Text((dir_ / "f.bin").string()); }
  void Put(const std::string& content) const {
    std::ofstream(dir_ / "f.bin", std::ios::binary) << content;
  }
  std::optional<std::string> Content() const {
    if (!fs::exists(dir_ / "f.bin")) return std::nullopt;
    std::ifstream in(dir_ / "f.bin", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

std::string BaseHeaders() {
  return "Accept: */*\r\nAccept-Language: zh-cn\r\nReferer:http://" + PlayerHost().bytes() +
         "/player/wxplayer3.5.3.swf\r\nAccept-Encoding: gzip, deflate\r\n"
         "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR "
         "1.1.4322)";
}

struct RequestCase {
  const char* name;
  std::optional<int32_t> startOffset;
  uint32_t connectedFlags;
  int32_t uptime;
  const char* agent;
  int64_t access;
  std::string headers;
};

TEST_F(DownloadTest, SendsItsFixedRequest) {
  ASSERT_EQ(BaseHeaders().size(), 198 + PlayerHost().bytes().size());
  // clang-format off
  const RequestCase cases[] = {
      {"fresh download, no proxy bit", std::nullopt, 0x12, 5234125, "Agent5234125", 4,
       BaseHeaders()},
      {"proxy bit selects the preconfigured access", std::nullopt, 0x16, 7, "Agent7", 0,
       BaseHeaders()},
      {"resume", 1048576, 0x12, -20, "Agent-20", 4, BaseHeaders() + "\r\nRange:bytes=1048576-"},
      {"a supplied 0 resumes", 0, 0, 1, "Agent1", 4, BaseHeaders() + "\r\nRange:bytes=0-"},
  };
  // clang-format on
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    SetUptimeReadings({c.uptime});
    FakeScript script;
    script.connectedFlags = c.connectedFlags;
    script.statusCode = c.startOffset ? 206 : 200;
    FakeWinInet fake(script);

    EXPECT_EQ(DownloadToFile(kUrlText, Target(), RecordProgress, c.startOffset), 0);
    EXPECT_EQ(fake.CallNames(),
              (Strings{"InternetGetConnectedState", "InternetOpenA", "InternetSetOptionA",
                       "InternetOpenUrlA", "HttpQueryInfoA", "HttpQueryInfoA", "InternetReadFile",
                       "InternetCloseHandle", "InternetCloseHandle"}));
    const auto& calls = fake.calls();
    EXPECT_EQ(calls[0].numbers, (std::vector<int64_t>{0, 0}));
    EXPECT_EQ(calls[1].texts, (std::vector<std::optional<std::string>>{
                                  std::string(c.agent), std::nullopt, std::nullopt}));
    EXPECT_EQ(calls[1].numbers, (std::vector<int64_t>{c.access, 0}));
    // HTTP decoding switched on for the download.
    EXPECT_EQ(calls[2].numbers, (std::vector<int64_t>{kInternet, 65, 4, 1}));
    EXPECT_EQ(calls[3].texts,
              (std::vector<std::optional<std::string>>{std::string(kUrlText), c.headers}));
    EXPECT_EQ(
        calls[3].numbers,
        (std::vector<int64_t>{kInternet, static_cast<int64_t>(c.headers.size()), 0x84000100, 0}));
    EXPECT_EQ(calls[4].numbers, (std::vector<int64_t>{kUrl, 0x20000013, 4, 0}));
    EXPECT_EQ(calls[5].numbers, (std::vector<int64_t>{kUrl, 0x20000005, 4, 0}));
    EXPECT_EQ(calls[6].numbers, (std::vector<int64_t>{kUrl, 10240}));
    EXPECT_EQ(fake.ClosedHandles(), (std::vector<int64_t>{kUrl, kInternet}));
  }
}

struct TransferCase {
  const char* name;
  size_t bodySize;
  std::vector<uint32_t> readSizes;
  std::optional<uint32_t> contentLength;
  uint32_t status;
  std::optional<int32_t> startOffset;
  std::optional<std::string> existing;  // the file before the call
  std::vector<int32_t> uptime;          // agent, start, then one reading a chunk
  std::string fileAfter;                // with "*" standing for the body
  std::vector<Report> reports;
};

TEST_F(DownloadTest, WritesEveryChunkAndReportsIt) {
  const int32_t kNearMax = 2147483547;  // 2^31 - 101
  // clang-format off
  const TransferCase cases[] = {
      {"chunks of 10240", 25000, {}, 25000, 200, std::nullopt, std::nullopt,
       {100, 1000, 1000, 1005, 1100}, "*",
       {{25000, 10240, 10, 10240}, {25000, 20480, 5, 20480}, {25000, 25000, 100, 25000}}},
      {"short reads, no Content-Length", 2500, {1000}, std::nullopt, 200, std::nullopt,
       std::nullopt, {0, 50, 51, 52, 53}, "*",
       {{0, 1000, 1, 1000}, {0, 2000, 2, 2000}, {0, 2500, 3, 2500}}},
      {"an existing file is emptied", 3, {}, 3, 200, std::nullopt, "old content", {0}, "*",
       {{3, 3, 10, 3}}},
      {"an empty body: no report, empty file", 0, {}, 0, 200, std::nullopt, "old", {0}, "", {}},
      {"resume appends, total is this response's", 200, {}, 200, 206, 1048576, "abc", {0}, "abc*",
       {{200, 1048776, 10, 200}}},
      {"resume without a file creates it", 200, {}, 200, 206, 1048576, std::nullopt, {0}, "*",
       {{200, 1048776, 10, 200}}},
      {"a supplied 0 keeps the file", 4, {}, 4, 206, 0, "abc", {0}, "abc*", {{4, 4, 10, 4}}},
      {"Range ignored: start afresh", 6, {}, 6, 200, 3, "abc", {0}, "*", {{6, 6, 10, 6}}},
      {"done beyond 2^31 goes negative", 300, {50, 250}, 300, 206, kNearMax, std::nullopt, {0},
       "*", {{300, kNearMax + 50, 10, 50}, {300, -2147483449, 10, 300}}},
      {"elapsed across the counter's sign change", 10, {}, 10, 200, std::nullopt, std::nullopt,
       {0, 2147483632, -2147483632}, "*", {{10, 10, 32, 10}}},
      {"elapsed across the counter's wrap", 10, {}, 10, 200, std::nullopt, std::nullopt,
       {0, -10, 5}, "*", {{10, 10, 15, 10}}},
  };
  // clang-format on
  for (const TransferCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    if (c.existing) Put(*c.existing);
    SetUptimeReadings(c.uptime);
    FakeScript script;
    script.body = Pattern(c.bodySize);
    script.readSizes = c.readSizes;
    script.contentLength = c.contentLength;
    script.statusCode = c.status;
    FakeWinInet fake(script);

    EXPECT_EQ(DownloadToFile(kUrlText, Target(), RecordProgress, c.startOffset), 0);
    std::string expected = c.fileAfter;
    const size_t star = expected.find('*');
    if (star != std::string::npos) expected.replace(star, 1, Pattern(c.bodySize));
    EXPECT_EQ(Content(), expected);
    EXPECT_EQ(Reports(), c.reports);
    EXPECT_TRUE(RecordedNotices().empty());
    EXPECT_TRUE(fake.OpenHandles().empty());
  }
}

TEST_F(DownloadTest, WithoutACallbackTheFileIsStillWritten) {
  FakeScript script;
  script.body = Pattern(10);
  script.contentLength = 10;
  FakeWinInet fake(script);
  EXPECT_EQ(DownloadToFile(kUrlText, Target(), nullptr), 0);
  EXPECT_EQ(Content(), Pattern(10));
}

struct FailureCase {
  const char* name;
  FakeScript script;
  std::optional<int32_t> startOffset;
  std::optional<std::string> existing;
  bool missingFolder;
  std::vector<std::string> notices;
  std::vector<int64_t> closed;
  std::optional<std::string> fileAfter;
  size_t reports;
};

FakeScript Script(uintptr_t internet, uintptr_t url, std::optional<uint32_t> status,
                  std::optional<uint32_t> contentLength = std::nullopt, size_t bodySize = 0,
                  std::optional<int> failingRead = std::nullopt,
                  std::optional<std::string> encoding = std::nullopt) {
  FakeScript script;
  script.internetHandle = internet;
  script.urlHandle = url;
  script.statusCode = status;
  script.contentLength = contentLength;
  script.body = Pattern(bodySize);
  script.failingRead = failingRead;
  script.contentEncoding = encoding;
  return script;
}

TEST_F(DownloadTest, FailsWithANoticeAndClosesEverything) {
  // clang-format off
  const FailureCase cases[] = {
      {"no Internet handle", Script(0, kUrl, 200), std::nullopt, "old", false, {kNoInternet}, {},
       "old", 0},
      {"no URL handle", Script(kInternet, 0, 200), std::nullopt, "old", false, {kBadAddress},
       {kInternet}, "old", 0},
      {"404 leaves a good file alone", Script(kInternet, kUrl, 404, 9, 9), std::nullopt, "old",
       false, {kBadAddress}, {kUrl, kInternet}, "old", 0},
      {"404 creates no file", Script(kInternet, kUrl, 404, 9, 9), std::nullopt, std::nullopt,
       false, {kBadAddress}, {kUrl, kInternet}, std::nullopt, 0},
      {"an unfollowed redirect", Script(kInternet, kUrl, 302, 0, 5), std::nullopt, "old", false,
       {kBadAddress}, {kUrl, kInternet}, "old", 0},
      {"416 on resume", Script(kInternet, kUrl, 416, 0, 5), 3, "abc", false, {kBadAddress},
       {kUrl, kInternet}, "abc", 0},
      {"199", Script(kInternet, kUrl, 199), std::nullopt, "old", false, {kBadAddress},
       {kUrl, kInternet}, "old", 0},
      {"300", Script(kInternet, kUrl, 300), std::nullopt, "old", false, {kBadAddress},
       {kUrl, kInternet}, "old", 0},
      {"no status", Script(kInternet, kUrl, std::nullopt), std::nullopt, "old", false,
       {kBadAddress}, {kUrl, kInternet}, "old", 0},
      {"local file cannot be opened", Script(kInternet, kUrl, 200, 5, 5), std::nullopt,
       std::nullopt, true, {kNoLocalFile}, {kUrl, kInternet}, std::nullopt, 0},
      {"a failing read keeps what came", Script(kInternet, kUrl, 200, 30000, 30000, 1),
       std::nullopt, std::nullopt, false, {kIncomplete}, {kUrl, kInternet},
       Pattern(30000).substr(0, 10240), 1},
      {"a body shorter than its Content-Length", Script(kInternet, kUrl, 200, 30000, 25000),
       std::nullopt, std::nullopt, false, {kIncomplete}, {kUrl, kInternet}, Pattern(25000), 3},
      {"a short resumed body keeps the old bytes", Script(kInternet, kUrl, 206, 100, 40), 3,
       "abc", false, {kIncomplete}, {kUrl, kInternet}, "abc" + Pattern(40), 1},
  };
  // clang-format on
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    if (c.existing) Put(*c.existing);
    FakeWinInet fake(c.script);
    const Text target =
        c.missingFolder ? Text((dir_ / "no such folder" / "f.bin").string()) : Target();

    EXPECT_EQ(DownloadToFile(kUrlText, target, RecordProgress, c.startOffset), -1);
    EXPECT_EQ(NoticeTexts(), c.notices);
    EXPECT_EQ(fake.ClosedHandles(), c.closed);
    EXPECT_TRUE(fake.OpenHandles().empty());
    EXPECT_EQ(Content(), c.fileAfter);
    EXPECT_EQ(Reports().size(), c.reports);
  }
}

TEST_F(DownloadTest, AcceptsAnEncodedBodyOfAnotherLength) {
  // With decoding on, the body's length need not match Content-Length.
  FakeWinInet fake(Script(kInternet, kUrl, 200, 30000, 25000, std::nullopt, "gzip"));
  EXPECT_EQ(DownloadToFile(kUrlText, Target(), RecordProgress), 0);
  EXPECT_EQ(Content(), Pattern(25000));
  EXPECT_TRUE(RecordedNotices().empty());
}

#ifndef _WIN32
TEST_F(DownloadTest, StopsAtAFailedWrite) {
  // /dev/full takes the open and refuses every write.
  FakeWinInet fake(Script(kInternet, kUrl, 200, 30000, 30000));
  EXPECT_EQ(DownloadToFile(kUrlText, "/dev/full", RecordProgress), -1);
  EXPECT_EQ(NoticeTexts(), (Strings{kWriteFailed}));
  EXPECT_EQ(fake.CallsOf("InternetReadFile").size(), 1u);
  EXPECT_TRUE(Reports().empty());
  EXPECT_TRUE(fake.OpenHandles().empty());
}
#endif

// Wine's SetFilePointer moves past 4 GiB without failing, so there the
// bytes go to the real end; Windows and the POSIX files refuse.
#ifndef _WIN32
TEST_F(DownloadTest, RefusesToResumeAFileItCannotPositionAtItsEnd) {
  // A sparse file of 4 GiB: its end is beyond a 32-bit position.
  { std::ofstream create(dir_ / "f.bin", std::ios::binary); }
  fs::resize_file(dir_ / "f.bin", uint64_t{1} << 32);
  FakeWinInet fake(Script(kInternet, kUrl, 206, 5, 5));
  EXPECT_EQ(DownloadToFile(kUrlText, Target(), RecordProgress, 100), -1);
  EXPECT_EQ(NoticeTexts(), (Strings{kWriteFailed}));
  EXPECT_TRUE(fake.CallsOf("InternetReadFile").empty());
  EXPECT_EQ(fs::file_size(dir_ / "f.bin"), uint64_t{1} << 32);
  std::ifstream in(dir_ / "f.bin", std::ios::binary);
  char head[5] = {1, 1, 1, 1, 1};
  in.read(head, 5);
  EXPECT_EQ(std::string(head, 5), std::string(5, '\0'));
}
#endif

}  // namespace
}  // namespace tsm
