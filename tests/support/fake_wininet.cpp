#include "support/fake_wininet.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tsm {

namespace {

using namespace wininet;

FakeWinInet* gCurrent = nullptr;

std::optional<std::string> Str(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

std::optional<std::string> Str(const void* bytes, DWORD length) {
  if (bytes == nullptr) return std::nullopt;
  return std::string(static_cast<const char*>(bytes), length);
}

int64_t Num(const void* handle) {
  return static_cast<int64_t>(reinterpret_cast<uintptr_t>(handle));
}

HINTERNET Handle(uintptr_t value) {
  if (value != 0) FakeWinInet::Current().Opened(value);
  return reinterpret_cast<HINTERNET>(value);
}

HINTERNET TSM_WINAPI FakeInternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                                       const char* proxyBypass, DWORD flags) {
  FakeWinInet& fake = FakeWinInet::Current();
  fake.Record("InternetOpenA", {Str(agent), Str(proxy), Str(proxyBypass)}, {accessType, flags});
  return Handle(fake.script().internetHandle);
}

HINTERNET TSM_WINAPI FakeInternetConnectA(HINTERNET internet, const char* serverName,
                                          INTERNET_PORT serverPort, const char* userName,
                                          const char* password, DWORD service, DWORD flags,
                                          DWORD_PTR context) {
  FakeWinInet& fake = FakeWinInet::Current();
  fake.Record("InternetConnectA", {Str(serverName), Str(userName), Str(password)},
              {Num(internet), serverPort, service, flags, static_cast<int64_t>(context)});
  return Handle(fake.script().connectionHandle);
}

HINTERNET TSM_WINAPI FakeHttpOpenRequestA(HINTERNET connect, const char* verb,
                                          const char* objectName, const char* version,
                                          const char* referrer, const char** acceptTypes,
                                          DWORD flags, DWORD_PTR context) {
  FakeWinInet& fake = FakeWinInet::Current();
  fake.Record("HttpOpenRequestA", {Str(verb), Str(objectName), Str(version), Str(referrer)},
              {Num(connect), Num(acceptTypes), flags, static_cast<int64_t>(context)});
  return Handle(fake.script().requestHandle);
}

BOOL TSM_WINAPI FakeHttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength,
                                     void* optional, DWORD optionalLength) {
  std::optional<std::string> block =
      headersLength == 0xFFFFFFFF ? Str(headers) : Str(headers, headersLength);
  FakeWinInet::Current().Record("HttpSendRequestA", {block, Str(optional, optionalLength)},
                                {Num(request), headersLength, optionalLength});
  return 1;
}

BOOL TSM_WINAPI FakeInternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead,
                                     DWORD* bytesRead) {
  FakeWinInet& fake = FakeWinInet::Current();
  fake.Record("InternetReadFile", {}, {Num(file), bytesToRead});
  return fake.Read(static_cast<uint8_t*>(buffer), bytesToRead, bytesRead) ? 1 : 0;
}

BOOL CopyOut(const std::string& text, void* buffer, DWORD* bufferLength) {
  if (text.size() + 1 > *bufferLength) {
    *bufferLength = static_cast<DWORD>(text.size() + 1);
    return 0;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  *bufferLength = static_cast<DWORD>(text.size());
  return 1;
}

BOOL NumberOut(std::optional<uint32_t> value, void* buffer, DWORD* bufferLength) {
  if (!value || *bufferLength < sizeof(DWORD)) return 0;
  std::memcpy(buffer, &*value, sizeof(DWORD));
  *bufferLength = sizeof(DWORD);
  return 1;
}

BOOL TSM_WINAPI FakeHttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer,
                                   DWORD* bufferLength, DWORD* index) {
  FakeWinInet& fake = FakeWinInet::Current();
  fake.Record("HttpQueryInfoA", {},
              {Num(request), infoLevel, *bufferLength, index ? int64_t{*index} : -1});
  const FakeScript& script = fake.script();
  switch (infoLevel) {
    case HTTP_QUERY_RAW_HEADERS_CRLF:
      return CopyOut(script.rawHeaders, buffer, bufferLength);
    case HTTP_QUERY_CONTENT_ENCODING:
      return script.contentEncoding ? CopyOut(*script.contentEncoding, buffer, bufferLength) : 0;
    case HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER:
      return NumberOut(script.contentLength, buffer, bufferLength);
    case HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER:
      return NumberOut(script.statusCode, buffer, bufferLength);
    default:
      return 0;
  }
}

BOOL TSM_WINAPI FakeInternetCloseHandle(HINTERNET handle) {
  FakeWinInet& fake = FakeWinInet::Current();
  fake.Record("InternetCloseHandle", {}, {Num(handle)});
  fake.Closed(reinterpret_cast<uintptr_t>(handle));
  return 1;
}

BOOL TSM_WINAPI FakeInternetGetConnectedState(DWORD* flags, DWORD reserved) {
  FakeWinInet& fake = FakeWinInet::Current();
  fake.Record("InternetGetConnectedState", {}, {*flags, reserved});
  *flags = fake.script().connectedFlags;
  return 1;
}

HINTERNET TSM_WINAPI FakeInternetOpenUrlA(HINTERNET internet, const char* url, const char* headers,
                                          DWORD headersLength, DWORD flags, DWORD_PTR context) {
  FakeWinInet& fake = FakeWinInet::Current();
  std::optional<std::string> block =
      headersLength == 0xFFFFFFFF ? Str(headers) : Str(headers, headersLength);
  fake.Record("InternetOpenUrlA", {Str(url), block},
              {Num(internet), headersLength, flags, static_cast<int64_t>(context)});
  return Handle(fake.script().urlHandle);
}

BOOL TSM_WINAPI FakeInternetSetOptionA(HINTERNET internet, DWORD option, void* buffer,
                                       DWORD bufferLength) {
  uint32_t value = 0;
  if (buffer) std::memcpy(&value, buffer, std::min<DWORD>(bufferLength, sizeof value));
  FakeWinInet::Current().Record("InternetSetOptionA", {},
                                {Num(internet), option, bufferLength, value});
  return 1;
}

const WinInetApi kFakeTable = {FakeInternetOpenA,       FakeInternetConnectA,
                               FakeHttpOpenRequestA,    FakeHttpSendRequestA,
                               FakeInternetReadFile,    FakeHttpQueryInfoA,
                               FakeInternetCloseHandle, FakeInternetGetConnectedState,
                               FakeInternetOpenUrlA,    FakeInternetSetOptionA};

}  // namespace

FakeWinInet::FakeWinInet(FakeScript script) : script_(std::move(script)) {
  gCurrent = this;
  InstallWinInet(&kFakeTable);
}

FakeWinInet::~FakeWinInet() {
  InstallWinInet(nullptr);
  gCurrent = nullptr;
}

FakeWinInet& FakeWinInet::Current() { return *gCurrent; }

void FakeWinInet::Record(const char* function,
                         std::initializer_list<std::optional<std::string>> texts,
                         std::initializer_list<int64_t> numbers) {
  if (script_.record) calls_.push_back({function, texts, numbers});
}

bool FakeWinInet::Read(uint8_t* buffer, uint32_t size, uint32_t* delivered) {
  const int number = reads_++;
  *delivered = 0;
  if (script_.failingRead && *script_.failingRead == number) return false;
  const uint64_t length =
      script_.body.empty() ? 0 : script_.bodyLength.value_or(script_.body.size());
  uint64_t piece = std::min<uint64_t>(size, length - position_);
  if (!script_.readSizes.empty()) {
    piece = std::min<uint64_t>(piece, script_.readSizes[number % script_.readSizes.size()]);
  }
  for (uint64_t copied = 0; copied < piece;) {
    const size_t offset = static_cast<size_t>((position_ + copied) % script_.body.size());
    const size_t run =
        static_cast<size_t>(std::min<uint64_t>(piece - copied, script_.body.size() - offset));
    std::memcpy(buffer + copied, script_.body.data() + offset, run);
    copied += run;
  }
  position_ += piece;
  *delivered = static_cast<uint32_t>(piece);
  return true;
}

void FakeWinInet::Opened(uintptr_t handle) { open_.push_back(static_cast<int64_t>(handle)); }

void FakeWinInet::Closed(uintptr_t handle) {
  auto found = std::find(open_.begin(), open_.end(), static_cast<int64_t>(handle));
  if (found != open_.end()) open_.erase(found);
}

std::vector<std::string> FakeWinInet::CallNames() const {
  std::vector<std::string> names;
  for (const FakeCall& call : calls_) names.push_back(call.function);
  return names;
}

std::vector<FakeCall> FakeWinInet::CallsOf(const std::string& function) const {
  std::vector<FakeCall> found;
  for (const FakeCall& call : calls_) {
    if (call.function == function) found.push_back(call);
  }
  return found;
}

std::vector<int64_t> FakeWinInet::ClosedHandles() const {
  std::vector<int64_t> handles;
  for (const FakeCall& call : CallsOf("InternetCloseHandle")) handles.push_back(call.numbers[0]);
  return handles;
}

std::vector<int64_t> FakeWinInet::OpenHandles() const { return open_; }

}  // namespace tsm
