#include "http/web_request.h"

#include <algorithm>
#include <string>

#include "http/cookies.h"
#include "http/url.h"
#include "http/wininet_api.h"
#include "text/markers.h"

namespace tsm {

namespace {

using namespace wininet;

constexpr DWORD kReadChunk = 1024;
constexpr int32_t kHeaderBufferSize = 5000;

const char* Verb(int32_t method) {
  switch (method) {
    case kPost:
      return "POST";
    case kHead:
      return "HEAD";
    default:
      return "GET";
  }
}

Text AgentFor(const Text& headers) {
  if (FindText(headers, "User-Agent:", 1, true) == -1) {
    return "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
  }
  Text agent = TrimText(TextBetween(headers, "User-Agent:", "\r\n"));
  return agent.empty() ? HeaderValue(headers) : agent;
}

DWORD RequestFlags(bool cookiesSupplied, bool noRedirect, bool https) {
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
  if (cookiesSupplied) flags |= INTERNET_FLAG_NO_COOKIES;
  if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  flags |= https ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  return flags;
}

// Each default is added only when the block lacks its header name (an
// exact-case search); a supplied cookie text always adds a Cookie line.
Text CompleteHeaderBlock(const Text& headers, const Text& url, const Text& cookies) {
  Text block = headers;
  if (block.empty()) {
    block = "Accept: */*";
  } else if (FindText(block, "Accept:") == -1) {
    block = ConcatText(block, "\r\nAccept: */*");
  }
  if (FindText(block, "Referer:") == -1) block = ConcatText(block, "\r\nReferer: ", url);
  if (FindText(block, "Accept-Language:") == -1) {
    block = ConcatText(block, "\r\nAccept-Language: zh-cn");
  }
  if (FindText(block, "Content-Type:") == -1) {
    block = ConcatText(block, "\r\nContent-Type: application/x-www-form-urlencoded");
  }
  if (!cookies.empty()) block = ConcatText(block, "\r\nCookie: ", cookies);
  return block;
}

// Appends every read into one growing buffer: linear in the body's size.
Bytes ReadBody(HINTERNET request) {
  Bytes body;
  uint8_t chunk[kReadChunk];
  for (;;) {
    DWORD count = 0;
    WinInet().InternetReadFile(request, chunk, kReadChunk, &count);
    if (count == 0) break;
    body.insert(body.end(), chunk, chunk + std::min(count, kReadChunk));
  }
  return body;
}

// The raw header block, or 5000 spaces when it does not fit.
Text QueryRawHeaders(HINTERNET request) {
  std::string buffer(kHeaderBufferSize, ' ');
  DWORD length = kHeaderBufferSize;
  WinInet().HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr);
  return Text(buffer);
}

Text CookiesOf(const Text& responseHeaders) {
  std::string cookies;
  for (const Text& line : SplitText(responseHeaders, "\r\n")) {
    if (FindText(line, "Set-Cookie") == -1) continue;
    const Text value =
        FindText(line, ";") != -1
            ? TrimText(TextBetween(line, "Set-Cookie:", ";"))
            : TrimText(ReplaceSubtext(line, "Set-Cookie:", Text(), 1, std::nullopt, false));
    cookies.append(value.view()).append("; ");
  }
  return LeftText(Text(cookies), static_cast<int32_t>(cookies.size()) - 2);
}

}  // namespace

Bytes WebRequest(const Text& url, int32_t method, const Text& postText, Text* cookies,
                 Text* responseCookies, Text* headers, Text* responseHeaders, bool noRedirect,
                 Bytes* postBytes, const Text& proxy) {
  if (method < kGet || method > kHead) method = kGet;
  const bool https = CompareText(ToLowerCase(LeftText(url, 5)), "https") == 0;
  const Text callerHeaders = headers ? *headers : Text();
  const Text agent = AgentFor(callerHeaders);

  const WinInetApi& api = WinInet();
  const Text proxyText = https ? proxy : ConcatText("http=", proxy);
  InternetHandle internet(
      proxy.empty()
          ? api.InternetOpenA(agent.ForPlatform(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
          : api.InternetOpenA(agent.ForPlatform(), INTERNET_OPEN_TYPE_PROXY,
                              proxyText.ForPlatform(), "", 0));
  if (!internet) return Bytes();
  InternetHandle connection(api.InternetConnectA(internet.get(), UrlHost(url).ForPlatform(),
                                                 static_cast<INTERNET_PORT>(UrlPort(url)), nullptr,
                                                 nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return Bytes();
  const DWORD flags = RequestFlags(cookies != nullptr, noRedirect, https);
  InternetHandle request(api.HttpOpenRequestA(connection.get(), Verb(method),
                                              UrlPath(url).ForPlatform(), "HTTP/1.1", nullptr,
                                              nullptr, flags, 0));
  if (!request) return Bytes();

  // From here on the caller's variables change.
  const Text block = CompleteHeaderBlock(callerHeaders, url, cookies ? *cookies : Text());
  if (headers) *headers = block;
  if (method == kGet) {
    api.HttpSendRequestA(request.get(), block.ForPlatform(), TextLength(block), nullptr, 0);
  } else {
    Bytes ownBody;
    Bytes& body = postBytes ? *postBytes : ownBody;
    if (body.empty()) body = TextToBytes(postText);
    api.HttpSendRequestA(request.get(), block.ForPlatform(), TextLength(block),
                         const_cast<uint8_t*>(ForPlatform(body)), static_cast<DWORD>(body.size()));
  }
  Bytes body = ReadBody(request.get());
  const Text rawHeaders = ReplaceSubtext(QueryRawHeaders(request.get()), "Set-Cookie", "Set-Cookie",
                                         1, std::nullopt, false);
  request.Close();
  connection.Close();
  internet.Close();

  if (responseHeaders) *responseHeaders = rawHeaders;
  Text newCookies = CookiesOf(rawHeaders);
  if (cookies) MergeCookies(*cookies, newCookies);
  if (responseCookies) *responseCookies = newCookies;
  return body;
}

}  // namespace tsm
