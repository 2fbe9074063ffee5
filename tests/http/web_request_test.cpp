// WebRequest over the scripted WinInet: what reaches each platform call, the
// caller's in/out values, and the close order on every path.
#include "http/web_request.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/fake_wininet.h"

namespace tsm {
namespace {

using Strings = std::vector<std::string>;

const char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr int64_t kInternet = 0x11, kConnection = 0x22, kRequest = 0x33;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }
std::string S(const Bytes& b) { return std::string(b.begin(), b.end()); }

struct OpenCase {
  const char* name;
  const char* url;
  int32_t method;
  const char* headers;  // nullptr: left out
  const char* cookies;  // nullptr: left out
  bool noRedirect;
  const char* proxy;
  // What reached InternetOpenA, InternetConnectA and HttpOpenRequestA.
  std::optional<std::string> agent;
  int64_t access;
  std::optional<std::string> proxyText;
  std::optional<std::string> bypass;
  const char* host;
  int64_t port;
  const char* verb;
  const char* path;
  int64_t flags;
};

TEST(WebRequestTest, OpensWithTheArgumentsOfTheCall) {
  // clang-format off
  const OpenCase cases[] = {
      {"plain GET", "http://www.example.com/a/b?c=1", 0, nullptr, nullptr, false, "",
       kDefaultAgent, 1, std::nullopt, std::nullopt, "www.example.com", 80, "GET", "/a/b?c=1",
       0x80004010},
      {"method 7 is GET", "http://h.cn/", 7, nullptr, nullptr, false, "", kDefaultAgent, 1,
       std::nullopt, std::nullopt, "h.cn", 80, "GET", "/", 0x80004010},
      {"method -1 is GET", "http://h.cn/", -1, nullptr, nullptr, false, "", kDefaultAgent, 1,
       std::nullopt, std::nullopt, "h.cn", 80, "GET", "/", 0x80004010},
      {"POST", "http://h.cn:8080/p", 1, nullptr, nullptr, false, "", kDefaultAgent, 1,
       std::nullopt, std::nullopt, "h.cn", 8080, "POST", "/p", 0x80004010},
      {"HEAD", "http://h.cn/p", 2, nullptr, nullptr, false, "", kDefaultAgent, 1, std::nullopt,
       std::nullopt, "h.cn", 80, "HEAD", "/p", 0x80004010},
      {"https, cookies, no redirect", "https://h.cn/x", 0, nullptr, "", true, "", kDefaultAgent,
       1, std::nullopt, std::nullopt, "h.cn", 443, "GET", "/x", 0x80A80010},
      {"HTTPS in capitals", "HTTPS://H.CN/X", 0, nullptr, nullptr, false, "", kDefaultAgent, 1,
       std::nullopt, std::nullopt, "h.cn", 443, "GET", "/X", 0x80800010},
      {"cookies alone", "http://h.cn/", 0, nullptr, "a=1", false, "", kDefaultAgent, 1,
       std::nullopt, std::nullopt, "h.cn", 80, "GET", "/", 0x80084010},
      {"no redirect alone", "http://h.cn/", 0, nullptr, nullptr, true, "", kDefaultAgent, 1,
       std::nullopt, std::nullopt, "h.cn", 80, "GET", "/", 0x80204010},
      {"http proxy gets the prefix", "http://h.cn/", 0, nullptr, nullptr, false,
       "10.0.0.1:3128", kDefaultAgent, 3, "http=10.0.0.1:3128", "", "h.cn", 80, "GET", "/",
       0x80004010},
      {"https proxy unchanged", "HTTPS://h.cn/", 0, nullptr, nullptr, false, "10.0.0.1:3128",
       kDefaultAgent, 3, "10.0.0.1:3128", "", "h.cn", 443, "GET", "/", 0x80800010},
      {"agent from the caller's line", "http://h.cn/", 0,
       "User-Agent: Foo/1.0\r\nAccept: text/html", nullptr, false, "", "Foo/1.0", 1, std::nullopt, std::nullopt, "h.cn", 80, "GET", "/",
       0x80004010},
      {"agent line in lower case, alone", "http://h.cn/", 0, "user-agent: Foo/1.0", nullptr,
       false, "", "Foo/1.0", 1, std::nullopt, std::nullopt, "h.cn", 80, "GET", "/", 0x80004010},
      {"lower-case agent line: value after the block's first colon", "http://h.cn/", 0,
       "Accept: text/html\r\nuser-agent: Foo", nullptr, false, "", "text/html\r\nuser-agent: Foo",
       1, std::nullopt, std::nullopt, "h.cn", 80, "GET", "/", 0x80004010},
      {"empty agent value goes as null", "http://h.cn/", 0, "User-Agent:", nullptr, false, "",
       std::nullopt, 1, std::nullopt, std::nullopt, "h.cn", 80, "GET", "/", 0x80004010},
  };
  // clang-format on
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWinInet fake;
    Text headers = c.headers ? Text(c.headers) : Text();
    Text cookies = c.cookies ? Text(c.cookies) : Text();
    WebRequest(c.url, c.method, Text(), c.cookies ? &cookies : nullptr, nullptr,
               c.headers ? &headers : nullptr, nullptr, c.noRedirect, nullptr, c.proxy);

    const auto open = fake.CallsOf("InternetOpenA");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].texts,
              (std::vector<std::optional<std::string>>{c.agent, c.proxyText, c.bypass}));
    EXPECT_EQ(open[0].numbers, (std::vector<int64_t>{c.access, 0}));
    const auto connect = fake.CallsOf("InternetConnectA");
    ASSERT_EQ(connect.size(), 1u);
    EXPECT_EQ(connect[0].texts, (std::vector<std::optional<std::string>>{
                                    std::string(c.host), std::nullopt, std::nullopt}));
    EXPECT_EQ(connect[0].numbers, (std::vector<int64_t>{kInternet, c.port, 3, 0, 0}));
    const auto request = fake.CallsOf("HttpOpenRequestA");
    ASSERT_EQ(request.size(), 1u);
    EXPECT_EQ(request[0].texts,
              (std::vector<std::optional<std::string>>{std::string(c.verb), std::string(c.path),
                                                       std::string("HTTP/1.1"), std::nullopt}));
    EXPECT_EQ(request[0].numbers, (std::vector<int64_t>{kConnection, 0, c.flags, 0}));
  }
}

struct HeaderCase {
  const char* name;
  const char* url;
  const char* headers;  // nullptr: left out
  const char* cookies;  // nullptr: left out
  const char* block;    // sent, and left in the caller's headers
};

TEST(WebRequestTest, BuildsTheHeaderBlockInTheCallersHeaders) {
  // clang-format off
  const HeaderCase cases[] = {
      {"defaults only", "http://h.cn/a", nullptr, nullptr,
       "Accept: */*\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"empty headers supplied", "http://h.cn/a", "", nullptr,
       "Accept: */*\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"own Accept kept", "http://h.cn/a", "Accept: text/html", nullptr,
       "Accept: text/html\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"lower-case referer gets a second one", "http://h.cn/a", "referer: x", nullptr,
       "referer: x\r\nAccept: */*\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"cookie line", "http://h.cn/a", nullptr, "a=1; b=2",
       "Accept: */*\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1; b=2"},
      {"supplied empty cookies add no line", "http://h.cn/a", nullptr, "",
       "Accept: */*\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"a returned block: no defaults again, one more cookie line", "http://other.cn/b",
       "Accept: */*\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1",
       "a=1",
       "Accept: */*\r\nReferer: http://h.cn/a\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1\r\nCookie: a=1"},
      {"GBK bytes pass unchanged", "http://h.cn/下载", "X-Name: 图纸", nullptr,
       "X-Name: 图纸\r\nAccept: */*\r\nReferer: http://h.cn/下载\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
  };
  // clang-format on
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWinInet fake;
    Text headers = c.headers ? Text(c.headers) : Text();
    Text cookies = c.cookies ? Text(c.cookies) : Text();
    WebRequest(c.url, kGet, Text(), c.cookies ? &cookies : nullptr, nullptr,
               c.headers ? &headers : nullptr);

    const auto send = fake.CallsOf("HttpSendRequestA");
    ASSERT_EQ(send.size(), 1u);
    EXPECT_EQ(send[0].texts[0], std::string(c.block));
    EXPECT_EQ(send[0].numbers[1], static_cast<int64_t>(std::string(c.block).size()));
    if (c.headers) {
      EXPECT_EQ(headers.bytes(), c.block);
    }
  }
}

struct BodyCase {
  const char* name;
  int32_t method;
  const char* postText;
  std::optional<std::string> postBytes;  // nullopt: left out
  std::optional<std::string> sent;       // nullopt: a null pointer
  std::optional<std::string> postBytesAfter;
};

TEST(WebRequestTest, SendsTheBodyOnlyForPostAndHead) {
  // clang-format off
  const BodyCase cases[] = {
      {"GET ignores both", kGet, "q=1", std::string("zz"), std::nullopt, std::string("zz")},
      {"HEAD takes the text into postBytes", kHead, "q=1", std::string(), std::string("q=1"),
       std::string("q=1")},
      {"POST prefers postBytes, zero bytes kept", kPost, "x", std::string("a\0b", 3),
       std::string("a\0b", 3), std::string("a\0b", 3)},
      {"POST with postBytes left out", kPost, "x=2", std::nullopt, std::string("x=2"),
       std::nullopt},
      {"POST with nothing sends an empty body", kPost, "", std::string(), std::nullopt,
       std::string()},
  };
  // clang-format on
  for (const BodyCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWinInet fake;
    Bytes postBytes = c.postBytes ? B(*c.postBytes) : Bytes();
    WebRequest("http://h.cn/", c.method, c.postText, nullptr, nullptr, nullptr, nullptr, false,
               c.postBytes ? &postBytes : nullptr);

    const auto send = fake.CallsOf("HttpSendRequestA");
    ASSERT_EQ(send.size(), 1u);
    EXPECT_EQ(send[0].texts[1], c.sent);
    EXPECT_EQ(send[0].numbers[2], static_cast<int64_t>(c.sent ? c.sent->size() : 0));
    if (c.postBytesAfter) {
      EXPECT_EQ(S(postBytes), *c.postBytesAfter);
    }
  }
}

struct ReadCase {
  const char* name;
  std::string served;
  std::vector<uint32_t> readSizes;
  std::optional<int> failingRead;
  std::string body;
  size_t reads;
};

TEST(WebRequestTest, ReadsTheWholeBodyIn1024ByteReads) {
  std::string big;
  for (int i = 0; i < 3000; ++i) big += static_cast<char>(i * 7);  // zero bytes included
  // clang-format off
  const ReadCase cases[] = {
      {"full reads", big, {}, std::nullopt, big, 4},
      {"short reads", big, {1, 1023, 500}, std::nullopt, big, 7},
      {"a failing read ends the body", big, {}, 2, big.substr(0, 2048), 3},
      {"an empty body", "", {}, std::nullopt, "", 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeScript script;
    script.body = c.served;
    script.readSizes = c.readSizes;
    script.failingRead = c.failingRead;
    FakeWinInet fake(script);

    EXPECT_EQ(S(WebRequest("http://h.cn/")), c.body);
    const auto reads = fake.CallsOf("InternetReadFile");
    EXPECT_EQ(reads.size(), c.reads);
    for (const FakeCall& read : reads) {
      EXPECT_EQ(read.numbers, (std::vector<int64_t>{kRequest, 1024}));
    }
  }
}

struct CookieCase {
  const char* name;
  std::string rawHeaders;
  const char* cookies;  // nullptr: left out
  std::string responseHeaders;
  const char* responseCookies;
  const char* cookiesAfter;
};

TEST(WebRequestTest, RewritesSetCookieAndCollectsCookies) {
  const std::string lines =
      "HTTP/1.1 200 OK\r\nset-cookie: sid=9; path=/\r\nSET-COOKIE: lang=cn\r\n\r\n";
  const std::string rewritten =
      "HTTP/1.1 200 OK\r\nSet-Cookie: sid=9; path=/\r\nSet-Cookie: lang=cn\r\n\r\n";
  // Blocks of an exact size, the zero byte that ends them not counted.
  auto sized = [](const std::string& head, size_t size) {
    return head + std::string(size - head.size() - 4, 'a') + "\r\n\r\n";
  };
  const std::string tooLong = sized("HTTP/1.1 200 OK\r\nSet-Cookie: k=v\r\nX: ", 5000);
  const std::string justFits = sized("HTTP/1.1 200 OK\r\nSet-Cookie: k=v\r\nX: ", 4999);
  // clang-format off
  const CookieCase cases[] = {
      {"cookies left out", lines, nullptr, rewritten, "sid=9; lang=cn", nullptr},
      {"cookies supplied empty: merged, spaces gone", lines, "", rewritten, "sid=9;lang=cn",
       "sid=9; lang=cn"},
      {"supplied cookies merged", lines, "a=1; sid=1", rewritten, "sid=9;lang=cn",
       "sid=9; lang=cn; a=1"},
      {"no Set-Cookie line", "HTTP/1.1 200 OK\r\nX: 1\r\n\r\n", "a=1",
       "HTTP/1.1 200 OK\r\nX: 1\r\n\r\n", "", "a=1"},
      {"cookie without attributes and attributes dropped",
       "HTTP/1.1 200 OK\r\nSet-Cookie:  flag \r\nSet-Cookie: t=1; HttpOnly\r\n\r\n", nullptr,
       "HTTP/1.1 200 OK\r\nSet-Cookie:  flag \r\nSet-Cookie: t=1; HttpOnly\r\n\r\n", "flag; t=1",
       nullptr},
      {"a block over 5000 bytes leaves 5000 spaces", tooLong, "a=1", std::string(5000, ' '), "",
       "a=1"},
      {"4999 bytes and the zero fit", justFits, nullptr, justFits, "k=v", nullptr},
  };
  // clang-format on
  ASSERT_EQ(justFits.size(), 4999u);
  ASSERT_EQ(tooLong.size(), 5000u);
  for (const CookieCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeScript script;
    script.rawHeaders = c.rawHeaders;
    FakeWinInet fake(script);
    Text cookies = c.cookies ? Text(c.cookies) : Text();
    Text responseCookies = "stale";
    Text responseHeaders = "stale";
    WebRequest("http://h.cn/", kGet, Text(), c.cookies ? &cookies : nullptr, &responseCookies,
               nullptr, &responseHeaders);

    EXPECT_EQ(responseHeaders.bytes(), c.responseHeaders);
    EXPECT_EQ(responseCookies.bytes(), c.responseCookies);
    if (c.cookiesAfter) {
      EXPECT_EQ(cookies.bytes(), c.cookiesAfter);
    }
    const auto query = fake.CallsOf("HttpQueryInfoA");
    ASSERT_EQ(query.size(), 1u);
    EXPECT_EQ(query[0].numbers, (std::vector<int64_t>{kRequest, 22, 5000, -1}));
  }
}

struct CloseCase {
  const char* name;
  uintptr_t internet, connection, request;
  Strings calls;
  std::vector<int64_t> closed;
};

TEST(WebRequestTest, ClosesInnermostFirstAndChangesNothingOnAFailedOpen) {
  // clang-format off
  const CloseCase cases[] = {
      {"no Internet handle", 0, kConnection, kRequest, {"InternetOpenA"}, {}},
      {"no connection", kInternet, 0, kRequest,
       {"InternetOpenA", "InternetConnectA", "InternetCloseHandle"}, {kInternet}},
      {"no request", kInternet, kConnection, 0,
       {"InternetOpenA", "InternetConnectA", "HttpOpenRequestA", "InternetCloseHandle",
        "InternetCloseHandle"},
       {kConnection, kInternet}},
  };
  // clang-format on
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeScript script;
    script.internetHandle = c.internet;
    script.connectionHandle = c.connection;
    script.requestHandle = c.request;
    script.body = "body";
    script.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: n=1\r\n\r\n";
    FakeWinInet fake(script);
    Text cookies = "c=1", responseCookies = "rc", headers = "Accept: a", responseHeaders = "rh";
    Bytes postBytes = B("pb");

    const Bytes body = WebRequest("http://h.cn/", kPost, "text", &cookies, &responseCookies,
                                  &headers, &responseHeaders, false, &postBytes);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(fake.CallNames(), c.calls);
    EXPECT_EQ(fake.ClosedHandles(), c.closed);
    EXPECT_TRUE(fake.OpenHandles().empty());
    EXPECT_EQ(cookies.bytes(), "c=1");
    EXPECT_EQ(responseCookies.bytes(), "rc");
    EXPECT_EQ(headers.bytes(), "Accept: a");
    EXPECT_EQ(responseHeaders.bytes(), "rh");
    EXPECT_EQ(S(postBytes), "pb");
  }
}

TEST(WebRequestTest, ClosesAfterTheHeaderQueryInReverseOrder) {
  FakeScript script;
  script.body = std::string(1500, 'x');
  FakeWinInet fake(script);
  EXPECT_EQ(WebRequest("http://h.cn/").size(), 1500u);
  EXPECT_EQ(fake.CallNames(),
            (Strings{"InternetOpenA", "InternetConnectA", "HttpOpenRequestA", "HttpSendRequestA",
                     "InternetReadFile", "InternetReadFile", "InternetReadFile", "HttpQueryInfoA",
                     "InternetCloseHandle", "InternetCloseHandle", "InternetCloseHandle"}));
  EXPECT_EQ(fake.ClosedHandles(), (std::vector<int64_t>{kRequest, kConnection, kInternet}));
}

}  // namespace
}  // namespace tsm
