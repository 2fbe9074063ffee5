// The WinInet functions the HTTP client calls, as a table of function pointers bound by name on
// first use. Tests and the native build install a table of their own.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define TSM_WINAPI __stdcall
#else
#define TSM_WINAPI
#endif

// The platform's types, functions and constants under their platform names,
// declared here so that no Windows header is needed. They live in a namespace
// of their own so that they never meet <windows.h>'s types of the same name.
// Fixed-width types keep the sizes of the 32-bit platform types natively too.
namespace tsm::wininet {

using HINTERNET = void*;
using BOOL = int32_t;
using DWORD = uint32_t;
using INTERNET_PORT = uint16_t;
using DWORD_PTR = uintptr_t;

inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;
inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY = 4;
inline constexpr DWORD INTERNET_SERVICE_HTTP = 3;
inline constexpr DWORD INTERNET_CONNECTION_PROXY = 4;

inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
inline constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
inline constexpr DWORD INTERNET_FLAG_NO_COOKIES = 0x00080000;
inline constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;
inline constexpr DWORD INTERNET_FLAG_PRAGMA_NOCACHE = 0x00000100;
inline constexpr DWORD INTERNET_FLAG_NEED_FILE = 0x00000010;

inline constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
inline constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
inline constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;
inline constexpr DWORD HTTP_QUERY_CONTENT_ENCODING = 29;
inline constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

inline constexpr DWORD INTERNET_OPTION_HTTP_DECODING = 65;

using InternetOpenAFn = HINTERNET(TSM_WINAPI*)(const char* agent, DWORD accessType,
                                               const char* proxy, const char* proxyBypass,
                                               DWORD flags);
using InternetConnectAFn = HINTERNET(TSM_WINAPI*)(HINTERNET internet, const char* serverName,
                                                  INTERNET_PORT serverPort, const char* userName,
                                                  const char* password, DWORD service, DWORD flags,
                                                  DWORD_PTR context);
using HttpOpenRequestAFn = HINTERNET(TSM_WINAPI*)(HINTERNET connect, const char* verb,
                                                  const char* objectName, const char* version,
                                                  const char* referrer, const char** acceptTypes,
                                                  DWORD flags, DWORD_PTR context);
using HttpSendRequestAFn = BOOL(TSM_WINAPI*)(HINTERNET request, const char* headers,
                                             DWORD headersLength, void* optional,
                                             DWORD optionalLength);
using InternetReadFileFn = BOOL(TSM_WINAPI*)(HINTERNET file, void* buffer, DWORD bytesToRead,
                                             DWORD* bytesRead);
using HttpQueryInfoAFn = BOOL(TSM_WINAPI*)(HINTERNET request, DWORD infoLevel, void* buffer,
                                           DWORD* bufferLength, DWORD* index);
using InternetCloseHandleFn = BOOL(TSM_WINAPI*)(HINTERNET handle);
using InternetGetConnectedStateFn = BOOL(TSM_WINAPI*)(DWORD* flags, DWORD reserved);
using InternetOpenUrlAFn = HINTERNET(TSM_WINAPI*)(HINTERNET internet, const char* url,
                                                  const char* headers, DWORD headersLength,
                                                  DWORD flags, DWORD_PTR context);
using InternetSetOptionAFn = BOOL(TSM_WINAPI*)(HINTERNET internet, DWORD option, void* buffer,
                                               DWORD bufferLength);

}  // namespace tsm::wininet

namespace tsm {

// Members carry the platform functions' names.
struct WinInetApi {
  wininet::InternetOpenAFn InternetOpenA;
  wininet::InternetConnectAFn InternetConnectA;
  wininet::HttpOpenRequestAFn HttpOpenRequestA;
  wininet::HttpSendRequestAFn HttpSendRequestA;
  wininet::InternetReadFileFn InternetReadFile;
  wininet::HttpQueryInfoAFn HttpQueryInfoA;
  wininet::InternetCloseHandleFn InternetCloseHandle;
  wininet::InternetGetConnectedStateFn InternetGetConnectedState;
  wininet::InternetOpenUrlAFn InternetOpenUrlA;
  wininet::InternetSetOptionAFn InternetSetOptionA;
};

// The table the HTTP client calls through: the installed one, else the
// platform's (on Windows each function is bound by name on its first call;
// elsewhere every open fails, as on a machine without WinInet).
const WinInetApi& WinInet();
// Makes `api` the table for all later calls; nullptr restores the
// platform's. The table must outlive its installation.
void InstallWinInet(const WinInetApi* api);
// The platform's table.
const WinInetApi& PlatformWinInet();

// An Internet, connection, request or URL handle, closed through the table
// when it goes out of scope (or earlier with Close).
class InternetHandle {
 public:
  explicit InternetHandle(wininet::HINTERNET handle) : handle_(handle) {}
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() { Close(); }

  wininet::HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Close();

 private:
  wininet::HINTERNET handle_;
};

}  // namespace tsm
