// The platform's table: each entry binds its function by name on its first
// call (LoadLibraryA + GetProcAddress), so the program imports no wininet.
// A function that cannot be bound answers like a failed call.
#include <windows.h>

#include "http/wininet_api.h"

namespace tsm {

namespace {

namespace w = wininet;

template <typename Fn>
Fn Bind(const char* library, const char* name) {
  // The library stays loaded for the rest of the process.
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

template <typename Fn>
Fn BindWinInet(const char* name) {
  return Bind<Fn>("wininet.dll", name);
}

w::HINTERNET TSM_WINAPI LazyInternetOpenA(const char* agent, w::DWORD accessType, const char* proxy,
                                          const char* proxyBypass, w::DWORD flags) {
  static const auto fn = BindWinInet<w::InternetOpenAFn>("InternetOpenA");
  return fn ? fn(agent, accessType, proxy, proxyBypass, flags) : nullptr;
}

w::HINTERNET TSM_WINAPI LazyInternetConnectA(w::HINTERNET internet, const char* serverName,
                                             w::INTERNET_PORT serverPort, const char* userName,
                                             const char* password, w::DWORD service, w::DWORD flags,
                                             w::DWORD_PTR context) {
  static const auto fn = BindWinInet<w::InternetConnectAFn>("InternetConnectA");
  return fn ? fn(internet, serverName, serverPort, userName, password, service, flags, context)
            : nullptr;
}

w::HINTERNET TSM_WINAPI LazyHttpOpenRequestA(w::HINTERNET connect, const char* verb,
                                             const char* objectName, const char* version,
                                             const char* referrer, const char** acceptTypes,
                                             w::DWORD flags, w::DWORD_PTR context) {
  static const auto fn = BindWinInet<w::HttpOpenRequestAFn>("HttpOpenRequestA");
  return fn ? fn(connect, verb, objectName, version, referrer, acceptTypes, flags, context)
            : nullptr;
}

w::BOOL TSM_WINAPI LazyHttpSendRequestA(w::HINTERNET request, const char* headers,
                                        w::DWORD headersLength, void* optional,
                                        w::DWORD optionalLength) {
  static const auto fn = BindWinInet<w::HttpSendRequestAFn>("HttpSendRequestA");
  return fn ? fn(request, headers, headersLength, optional, optionalLength) : FALSE;
}

w::BOOL TSM_WINAPI LazyInternetReadFile(w::HINTERNET file, void* buffer, w::DWORD bytesToRead,
                                        w::DWORD* bytesRead) {
  static const auto fn = BindWinInet<w::InternetReadFileFn>("InternetReadFile");
  if (fn) return fn(file, buffer, bytesToRead, bytesRead);
  if (bytesRead) *bytesRead = 0;
  return FALSE;
}

w::BOOL TSM_WINAPI LazyHttpQueryInfoA(w::HINTERNET request, w::DWORD infoLevel, void* buffer,
                                      w::DWORD* bufferLength, w::DWORD* index) {
  static const auto fn = BindWinInet<w::HttpQueryInfoAFn>("HttpQueryInfoA");
  return fn ? fn(request, infoLevel, buffer, bufferLength, index) : FALSE;
}

w::BOOL TSM_WINAPI LazyInternetCloseHandle(w::HINTERNET handle) {
  static const auto fn = BindWinInet<w::InternetCloseHandleFn>("InternetCloseHandle");
  return fn ? fn(handle) : FALSE;
}

w::BOOL TSM_WINAPI LazyInternetGetConnectedState(w::DWORD* flags, w::DWORD reserved) {
  static const auto fn = BindWinInet<w::InternetGetConnectedStateFn>("InternetGetConnectedState");
  return fn ? fn(flags, reserved) : FALSE;
}

w::HINTERNET TSM_WINAPI LazyInternetOpenUrlA(w::HINTERNET internet, const char* url,
                                             const char* headers, w::DWORD headersLength,
                                             w::DWORD flags, w::DWORD_PTR context) {
  static const auto fn = BindWinInet<w::InternetOpenUrlAFn>("InternetOpenUrlA");
  return fn ? fn(internet, url, headers, headersLength, flags, context) : nullptr;
}

w::BOOL TSM_WINAPI LazyInternetSetOptionA(w::HINTERNET internet, w::DWORD option, void* buffer,
                                          w::DWORD bufferLength) {
  static const auto fn = BindWinInet<w::InternetSetOptionAFn>("InternetSetOptionA");
  return fn ? fn(internet, option, buffer, bufferLength) : FALSE;
}

}  // namespace

const WinInetApi& PlatformWinInet() {
  static const WinInetApi bound = {LazyInternetOpenA,       LazyInternetConnectA,
                                   LazyHttpOpenRequestA,    LazyHttpSendRequestA,
                                   LazyInternetReadFile,    LazyHttpQueryInfoA,
                                   LazyInternetCloseHandle, LazyInternetGetConnectedState,
                                   LazyInternetOpenUrlA,    LazyInternetSetOptionA};
  return bound;
}

}  // namespace tsm
