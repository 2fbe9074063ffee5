#include "http/download.h"

#include <cstdint>

#include "http/site.h"
#include "http/wininet_api.h"
#include "text/bytes.h"
#include "text/clock.h"
#include "text/files.h"
#include "text/notice.h"
#include "text/number.h"

namespace tsm {

namespace {

using namespace wininet;

constexpr DWORD kChunkSize = 10240;
constexpr DWORD kOpenUrlFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
constexpr DWORD kHttpOk = 200;

const char kNoInternet[] = "Internet连接错误!";
const char kBadAddress[] = "下载地址错误，请联系开发者！";
const char kNoLocalFile[] = "不能打开本地的文件!";
const char kIncomplete[] = "下载中断，文件不完整!";
const char kWriteFailed[] = "写入本地文件失败!";

// A local file, closed when it goes out of scope.
class ScopedFile {
 public:
  explicit ScopedFile(int32_t number) : number_(number) {}
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  ~ScopedFile() { CloseFile(number_); }
  int32_t get() const { return number_; }

 private:
  int32_t number_;
};

Text RequestHeaders(std::optional<int32_t> startOffset) {
  const Text block = ConcatText(
      "Accept: */*\r\nAccept-Language: zh-cn\r\nReferer:http://", PlayerHost(),
      "/player/wxplayer3.5.3.swf\r\nAccept-Encoding: gzip, deflate\r\n"
      "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)");
  if (!startOffset) return block;
  return ConcatText(block, "\r\nRange:bytes=", NumberToText(*startOffset), "-");
}

// A numeric header query; nullopt when the response does not state it.
std::optional<DWORD> QueryNumber(HINTERNET url, DWORD query) {
  DWORD value = 0;
  DWORD length = sizeof value;
  DWORD index = 0;
  if (!WinInet().HttpQueryInfoA(url, query | HTTP_QUERY_FLAG_NUMBER, &value, &length, &index)) {
    return std::nullopt;
  }
  return value;
}

// A stated Content-Encoding: the platform may then deliver a body whose
// length differs from Content-Length.
bool IsContentEncoded(HINTERNET url) {
  char value[64] = {};
  DWORD length = sizeof value;
  DWORD index = 0;
  return WinInet().HttpQueryInfoA(url, HTTP_QUERY_CONTENT_ENCODING, value, &length, &index) &&
         value[0] != '\0';
}

int32_t Fail(const char* notice) {
  ShowNotice(notice);
  return -1;
}

}  // namespace

int32_t DownloadToFile(const Text& url, const Text& fileName, ProgressCallback onProgress,
                       std::optional<int32_t> startOffset) {
  const WinInetApi& api = WinInet();
  DWORD connectionState = 0;
  api.InternetGetConnectedState(&connectionState, 0);
  const Text agent = ConcatText("Agent", NumberToText(UptimeMs()));
  const DWORD accessType = (connectionState & INTERNET_CONNECTION_PROXY)
                               ? INTERNET_OPEN_TYPE_PRECONFIG
                               : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
  InternetHandle internet(api.InternetOpenA(agent.ForPlatform(), accessType, nullptr, nullptr, 0));
  if (!internet) return Fail(kNoInternet);
  // The request announces gzip and deflate; the platform's decoding makes the
  // file hold the real bytes. Without it the body is written as it comes.
  BOOL decode = 1;
  api.InternetSetOptionA(internet.get(), INTERNET_OPTION_HTTP_DECODING, &decode, sizeof decode);

  const Text headers = RequestHeaders(startOffset);
  InternetHandle source(api.InternetOpenUrlA(internet.get(), url.ForPlatform(),
                                             headers.ForPlatform(), TextLength(headers),
                                             kOpenUrlFlags, 0));
  if (!source) return Fail(kBadAddress);
  // Only a success status carries the file; an error page must not replace
  // or extend it.
  const std::optional<DWORD> status = QueryNumber(source.get(), HTTP_QUERY_STATUS_CODE);
  if (!status || *status < 200 || *status > 299) return Fail(kBadAddress);

  // A server that ignores the Range header sends the whole body: start afresh.
  const bool resume = startOffset && *status != kHttpOk;
  const int64_t base = resume ? *startOffset : 0;
  ScopedFile file(OpenFile(fileName, resume && FileExists(fileName) ? kFileKeep : kFileTruncate));
  if (file.get() == 0) return Fail(kNoLocalFile);
  // Writing at the start of a file that cannot be positioned at its end
  // would overwrite it.
  if (resume && !SeekToEnd(file.get())) return Fail(kWriteFailed);

  const DWORD total = QueryNumber(source.get(), HTTP_QUERY_CONTENT_LENGTH).value_or(0);
  uint8_t buffer[kChunkSize];
  int64_t done = base;
  const uint32_t start = static_cast<uint32_t>(UptimeMs());
  for (;;) {
    DWORD count = 0;
    if (!api.InternetReadFile(source.get(), buffer, kChunkSize, &count)) return Fail(kIncomplete);
    if (count == 0) break;
    if (count > kChunkSize) count = kChunkSize;
    if (!WriteBytes(file.get(), {ByteView(buffer, count)})) return Fail(kWriteFailed);
    done += count;
    uint32_t elapsed = static_cast<uint32_t>(UptimeMs()) - start;
    if (elapsed == 0) elapsed = 10;
    const int64_t thisRun = done - base;
    // The counts go as their low 32 bits: beyond 2 GiB `done` turns negative.
    if (onProgress) {
      onProgress(static_cast<int32_t>(total), static_cast<int32_t>(static_cast<uint32_t>(done)),
                 static_cast<int32_t>(elapsed),
                 static_cast<int32_t>(static_cast<uint32_t>(thisRun)));
    }
  }
  if (total != 0 && static_cast<uint64_t>(done - base) < total && !IsContentEncoded(source.get())) {
    return Fail(kIncomplete);
  }
  return 0;
}

}  // namespace tsm
