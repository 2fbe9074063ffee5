#include "http/wininet_api.h"

namespace tsm {

namespace {

const WinInetApi* gInstalled = nullptr;

}  // namespace

const WinInetApi& WinInet() { return gInstalled ? *gInstalled : PlatformWinInet(); }

void InstallWinInet(const WinInetApi* api) { gInstalled = api; }

void InternetHandle::Close() {
  if (handle_ == nullptr) return;
  WinInet().InternetCloseHandle(handle_);
  handle_ = nullptr;
}

#if !defined(_WIN32)
// Without WinInet every open fails; the native build runs against a table
// that a test installs.
namespace {

using namespace wininet;

HINTERNET TSM_WINAPI NoInternetOpen(const char*, DWORD, const char*, const char*, DWORD) {
  return nullptr;
}
HINTERNET TSM_WINAPI NoInternetConnect(HINTERNET, const char*, INTERNET_PORT, const char*,
                                       const char*, DWORD, DWORD, DWORD_PTR) {
  return nullptr;
}
HINTERNET TSM_WINAPI NoHttpOpenRequest(HINTERNET, const char*, const char*, const char*,
                                       const char*, const char**, DWORD, DWORD_PTR) {
  return nullptr;
}
BOOL TSM_WINAPI NoHttpSendRequest(HINTERNET, const char*, DWORD, void*, DWORD) { return 0; }
BOOL TSM_WINAPI NoInternetReadFile(HINTERNET, void*, DWORD, DWORD* bytesRead) {
  if (bytesRead) *bytesRead = 0;
  return 0;
}
BOOL TSM_WINAPI NoHttpQueryInfo(HINTERNET, DWORD, void*, DWORD*, DWORD*) { return 0; }
BOOL TSM_WINAPI NoInternetCloseHandle(HINTERNET) { return 0; }
BOOL TSM_WINAPI NoConnectedState(DWORD* flags, DWORD) {
  if (flags) *flags = 0;
  return 0;
}
HINTERNET TSM_WINAPI NoInternetOpenUrl(HINTERNET, const char*, const char*, DWORD, DWORD,
                                       DWORD_PTR) {
  return nullptr;
}
BOOL TSM_WINAPI NoInternetSetOption(HINTERNET, DWORD, void*, DWORD) { return 0; }

}  // namespace

const WinInetApi& PlatformWinInet() {
  static const WinInetApi offline = {NoInternetOpen,        NoInternetConnect,  NoHttpOpenRequest,
                                     NoHttpSendRequest,     NoInternetReadFile, NoHttpQueryInfo,
                                     NoInternetCloseHandle, NoConnectedState,   NoInternetOpenUrl,
                                     NoInternetSetOption};
  return offline;
}
#endif

}  // namespace tsm
