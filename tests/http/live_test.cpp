// WebRequest and DownloadToFile through the platform's WinInet against the
// local test server (tests/http/server), whose port is in TSM_TEST_PORT.
// Windows only; run by ctest through server/run_with_server.py.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "http/download.h"
#include "http/web_request.h"
#include "support/notice_recorder.h"

namespace tsm {
namespace {

using Strings = std::vector<std::string>;

const char kBadAddress[] = "下载地址错误，请联系开发者！";
const char kIncomplete[] = "下载中断，文件不完整!";
const char kPage[] = "<html><head><title>测试图纸</title></head><body>页面</body></html>";

std::string Base() {
  const char* port = std::getenv("TSM_TEST_PORT");
  return std::string("http://127.0.0.1:") + (port ? port : "0");
}
Text Url(const std::string& path) { return Text(Base() + path); }

// The server's bodies: byte i is (i * 131 + i / 251) mod 256.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return bytes;
}

std::string S(const Bytes& b) { return std::string(b.begin(), b.end()); }

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct Report {
  int32_t total, done, elapsedMs, thisRun;
};
std::vector<Report>& Reports() {
  static std::vector<Report> reports;
  return reports;
}
void RecordProgress(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun) {
  Reports().push_back({total, done, elapsedMs, thisRun});
}

Strings NoticeTexts() {
  Strings texts;
  for (const RecordedNotice& notice : RecordedNotices()) texts.push_back(notice.text.bytes());
  return texts;
}

class LiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("TSM_TEST_PORT"), nullptr) << "run through run_with_server.py";
    Reports().clear();
    ClearNotices();
  }
  void TearDown() override {
    for (const std::string& name : files_) std::remove(name.c_str());
  }
  // A file in the working folder, removed before and after the test.
  Text File(const std::string& name) {
    std::remove(name.c_str());
    files_.push_back(name);
    return Text(name);
  }
  static void Put(const Text& name, const std::string& content) {
    std::ofstream(name.bytes(), std::ios::binary) << content;
  }
  static std::optional<std::string> Content(const Text& name) {
    std::ifstream in(name.bytes(), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::vector<std::string> files_;
};

// --- WebRequest ------------------------------------------------------------

struct PageCase {
  const char* name;
  std::string path;
  bool noRedirect;
  std::string body;
  std::string statusLine;  // the start of the response headers
};

TEST_F(LiveTest, WebRequestReturnsTheBodyAsServed) {
  // clang-format off
  const PageCase cases[] = {
      {"GBK page", "/page", false, kPage, "HTTP/1.1 200"},
      {"redirect followed", "/redirect", false, kPage, "HTTP/1.1 200"},
      {"redirect not followed", "/redirect", true, "moved", "HTTP/1.1 302"},
      {"error page returned as body", "/missing", false, "<html><body>not here</body></html>",
       "HTTP/1.1 404"},
      {"3 MB in 1024-byte reads", "/file?size=3000000", false, Pattern(3000000), "HTTP/1.1 200"},
  };
  // clang-format on
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Text responseHeaders;
    const std::string body = S(WebRequest(Url(c.path), kGet, Text(), nullptr, nullptr, nullptr,
                                          &responseHeaders, c.noRedirect));
    EXPECT_EQ(body, c.body);
    EXPECT_EQ(responseHeaders.bytes().substr(0, c.statusLine.size()), c.statusLine);
  }
}

TEST_F(LiveTest, WebRequestLeavesAnEncodedBodyAsItCame) {
  const std::string body = S(WebRequest(Url("/gzip?size=100000")));
  ASSERT_GT(body.size(), 10u);
  EXPECT_EQ(body.substr(0, 3), "\x1f\x8b\x08");  // gzip's magic and method
  EXPECT_LT(body.size(), 100000u);
}

struct CookieCase {
  const char* name;
  const char* cookies;  // nullptr: left out
  const char* responseCookies;
  const char* cookiesAfter;
};

TEST_F(LiveTest, WebRequestCollectsAndMergesTheServersCookies) {
  // clang-format off
  const CookieCase cases[] = {
      {"cookies left out", nullptr, "sid=9; lang=cn; theme=dark", nullptr},
      {"supplied empty", "", "sid=9;lang=cn;theme=dark", "sid=9; lang=cn; theme=dark"},
      {"merged", "a=1; sid=1", "sid=9;lang=cn;theme=dark", "sid=9; lang=cn; theme=dark; a=1"},
  };
  // clang-format on
  for (const CookieCase& c : cases) {
    SCOPED_TRACE(c.name);
    Text cookies = c.cookies ? Text(c.cookies) : Text();
    Text responseCookies, responseHeaders;
    WebRequest(Url("/page"), kGet, Text(), c.cookies ? &cookies : nullptr, &responseCookies,
               nullptr, &responseHeaders);
    EXPECT_EQ(responseCookies.bytes(), c.responseCookies);
    if (c.cookiesAfter) {
      EXPECT_EQ(cookies.bytes(), c.cookiesAfter);
    }
    // Every letter case of the name comes back as "Set-Cookie".
    EXPECT_TRUE(Contains(responseHeaders.bytes(), "Set-Cookie: sid=9; path=/\r\n"));
    EXPECT_TRUE(Contains(responseHeaders.bytes(), "Set-Cookie: lang=cn\r\n"));
    EXPECT_FALSE(Contains(responseHeaders.bytes(), "SET-COOKIE"));
  }
}

struct EchoCase {
  const char* name;
  int32_t method;
  const char* postText;
  const char* cookies;  // nullptr: left out
  Strings received;     // lines the server must have seen
  Strings absent;
  std::string bodyEnd;
};

TEST_F(LiveTest, WebRequestSendsItsHeaderBlockAndBody) {
  const std::string url = Base() + "/echo?x=1";
  // clang-format off
  const EchoCase cases[] = {
      {"GET with defaults", kGet, "ignored", nullptr,
       {"GET /echo?x=1 HTTP/1.1", "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
        "Content-Type: application/x-www-form-urlencoded",
        "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
       {"ignored"},
       ""},
      // Supplied cookies keep the platform's own cookie jar (which holds the
      // cookies of /page by now) out of the request.
      {"POST with a GBK body and cookies", kPost, "q=1&name=图纸", "a=1; b=2",
       {"POST /echo?x=1 HTTP/1.1", "Cookie: a=1; b=2", "Content-Length: 13"},
       {"sid=9"},
       "\r\n\r\nq=1&name=图纸"},
  };
  // clang-format on
  for (const EchoCase& c : cases) {
    SCOPED_TRACE(c.name);
    Text cookies = c.cookies ? Text(c.cookies) : Text();
    const std::string echo =
        S(WebRequest(Text(url), c.method, c.postText, c.cookies ? &cookies : nullptr));
    for (const std::string& line : c.received) {
      EXPECT_TRUE(Contains(echo, line + "\r\n")) << line << " in\n" << echo;
    }
    for (const std::string& part : c.absent) EXPECT_FALSE(Contains(echo, part)) << part;
    EXPECT_EQ(echo.substr(echo.size() - c.bodyEnd.size()), c.bodyEnd);
  }
}

TEST_F(LiveTest, WebRequestWithoutAServerReturnsNothing) {
  Text responseCookies = "stale";
  // Port 1 on the loopback: nothing listens there.
  EXPECT_TRUE(
      WebRequest("http://127.0.0.1:1/page", kGet, Text(), nullptr, &responseCookies).empty());
  EXPECT_EQ(responseCookies.bytes(), "");
}

// --- DownloadToFile --------------------------------------------------------

struct DownloadCase {
  const char* name;
  std::string path;
  const char* file;
  std::optional<std::string> existing;
  std::optional<int32_t> startOffset;
  int32_t result;
  Strings notices;
  std::string fileAfter;
  // The last report, when one is expected: total, done, this run.
  std::optional<std::vector<int32_t>> lastReport;
};

TEST_F(LiveTest, DownloadToFileWritesWhatWasServed) {
  const size_t kBig = 32u << 20;
  // clang-format off
  const DownloadCase cases[] = {
      {"a large file", "/file?size=" + std::to_string(kBig), "live_big.bin", "older", std::nullopt,
       0, {}, Pattern(kBig),
       std::vector<int32_t>{int32_t(kBig), int32_t(kBig), int32_t(kBig)}},
      {"resume with Range", "/file?size=50000", "live_resume.bin", Pattern(1000), 1000, 0, {},
       Pattern(50000), std::vector<int32_t>{49000, 50000, 49000}},
      {"resume when the server ignores Range", "/norange?size=50000", "live_norange.bin",
       Pattern(1000), 1000, 0, {}, Pattern(50000), std::vector<int32_t>{50000, 50000, 50000}},
      {"redirect followed", "/redirect-file?size=20000", "live_redirect.bin", std::nullopt,
       std::nullopt, 0, {}, Pattern(20000), std::vector<int32_t>{20000, 20000, 20000}},
      {"no Content-Length", "/nolength?size=30000", "live_nolength.bin", std::nullopt,
       std::nullopt, 0, {}, Pattern(30000), std::vector<int32_t>{0, 30000, 30000}},
      {"gzip decoded into the real bytes", "/gzip?size=100000", "live_gzip.bin", std::nullopt,
       std::nullopt, 0, {}, Pattern(100000), std::vector<int32_t>{0, 100000, 100000}},
      {"a GBK file name", "/file?size=5000", "图纸下载.bin", std::nullopt, std::nullopt, 0, {},
       Pattern(5000), std::vector<int32_t>{5000, 5000, 5000}},
      {"404 leaves the old file", "/missing", "live_404.bin", "good old file", std::nullopt, -1,
       {kBadAddress}, "good old file", std::nullopt},
      {"416 leaves the old file", "/file?size=1000", "live_416.bin", Pattern(1000), 5000, -1,
       {kBadAddress}, Pattern(1000), std::nullopt},
      {"a body cut off keeps what came", "/cut?size=100000&send=40000", "live_cut.bin",
       std::nullopt, std::nullopt, -1, {kIncomplete}, Pattern(40000), std::nullopt},
  };
  // clang-format on
  for (const DownloadCase& c : cases) {
    SCOPED_TRACE(c.name);
    Reports().clear();
    ClearNotices();
    const Text name = File(c.file);
    if (c.existing) Put(name, *c.existing);

    EXPECT_EQ(DownloadToFile(Url(c.path), name, RecordProgress, c.startOffset), c.result);
    EXPECT_EQ(NoticeTexts(), c.notices);
    const std::optional<std::string> after = Content(name);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->size(), c.fileAfter.size());
    EXPECT_TRUE(*after == c.fileAfter);
    if (c.lastReport) {
      ASSERT_FALSE(Reports().empty());
      const Report& last = Reports().back();
      EXPECT_EQ((std::vector<int32_t>{last.total, last.done, last.thisRun}), *c.lastReport);
      for (const Report& r : Reports()) EXPECT_GT(r.elapsedMs, 0);
    }
  }
}

TEST_F(LiveTest, DownloadToFileSendsItsFixedHeaders) {
  const Text name = File("live_echo.bin");
  ASSERT_EQ(DownloadToFile(Url("/echo"), name, RecordProgress, 0), 0);
  const std::string echo = Content(name).value_or("");
  // Wine writes every header as "Name: value".
  for (const char* line :
       {"GET /echo HTTP/1.1", "Accept-Language: zh-cn",
        "Referer: http://player.example.com/player/wxplayer3.5.3.swf",
        "Accept-Encoding: gzip, deflate",
        "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)",
        "Range: bytes=0-"}) {
    EXPECT_TRUE(Contains(echo, std::string(line) + "\r\n")) << line << " in\n" << echo;
  }
}

TEST_F(LiveTest, DownloadToFileWithoutAServerFails) {
  const Text name = File("live_unreachable.bin");
  Put(name, "kept");
  EXPECT_EQ(DownloadToFile("http://127.0.0.1:1/file", name, RecordProgress), -1);
  EXPECT_EQ(NoticeTexts(), (Strings{kBadAddress}));
  EXPECT_EQ(Content(name), "kept");
}

}  // namespace
}  // namespace tsm
