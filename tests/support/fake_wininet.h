// A scripted stand-in for WinInet, installed as the
// HTTP client's table while a FakeWinInet object lives. It records every call
// with its arguments and answers from a script.
//   CMake: link tsm_fake_wininet.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "http/wininet_api.h"

namespace tsm {

// One call as the fake saw it. `texts` holds the string arguments in the
// order of the parameter list, nullopt for a null pointer; `numbers` the
// handles, sizes, flags and values, in order. Per function:
//   InternetOpenA             texts {agent, proxy, bypass}  numbers {access, flags}
//   InternetConnectA          texts {host, user, password}  numbers {internet, port, service,
//                                                                    flags, context}
//   HttpOpenRequestA          texts {verb, object, version, referrer}
//                                                            numbers {connection, acceptTypes
//                                                                    (0 when null), flags, context}
//   HttpSendRequestA          texts {headers (bytes up to headersLength, the whole zero-terminated
//                                    string for length -1), body (bodyLength bytes)}
//                                                            numbers {request, headersLength,
//                                                                    bodyLength}
//   InternetReadFile          numbers {handle, bytesToRead}
//   HttpQueryInfoA            numbers {handle, level, bufferLength, index (-1 when null)}
//   InternetCloseHandle       numbers {handle}
//   InternetGetConnectedState numbers {flags as passed in, reserved}
//   InternetOpenUrlA          texts {url, headers}           numbers {internet, headersLength,
//                                                                    flags, context}
//   InternetSetOptionA        numbers {handle, option, bufferLength, value (first 4 bytes)}
struct FakeCall {
  std::string function;
  std::vector<std::optional<std::string>> texts;
  std::vector<int64_t> numbers;
};

// What the fake answers. Handles are small numbers; 0 makes that open fail.
struct FakeScript {
  uintptr_t internetHandle = 0x11;
  uintptr_t connectionHandle = 0x22;
  uintptr_t requestHandle = 0x33;
  uintptr_t urlHandle = 0x44;

  // The body: `body` repeated up to `bodyLength` bytes (its own size when
  // left out), delivered by InternetReadFile in pieces of `readSizes`
  // (cycled; empty: as much as asked), never more than asked.
  std::string body;
  std::optional<uint64_t> bodyLength;
  std::vector<uint32_t> readSizes;
  // The read with this 0-based number fails: 0 bytes and FALSE.
  std::optional<int> failingRead;

  // HTTP_QUERY_RAW_HEADERS_CRLF: copied with its zero byte when it fits,
  // else the call fails and the buffer is left as it was.
  std::string rawHeaders = "HTTP/1.1 200 OK\r\n\r\n";
  // Numeric queries; nullopt makes them fail.
  std::optional<uint32_t> statusCode = 200;
  std::optional<uint32_t> contentLength;
  // HTTP_QUERY_CONTENT_ENCODING as text; nullopt makes it fail.
  std::optional<std::string> contentEncoding;

  uint32_t connectedFlags = 0x12;
  // Off for benchmarks: nothing is recorded.
  bool record = true;
};

class FakeWinInet {
 public:
  // Installs the fake with `script`; only one may live at a time.
  explicit FakeWinInet(FakeScript script = FakeScript());
  ~FakeWinInet();
  FakeWinInet(const FakeWinInet&) = delete;
  FakeWinInet& operator=(const FakeWinInet&) = delete;

  FakeScript& script() { return script_; }
  const std::vector<FakeCall>& calls() const { return calls_; }
  // The names of the calls in order, e.g. "InternetOpenA".
  std::vector<std::string> CallNames() const;
  // The calls of one function, in order.
  std::vector<FakeCall> CallsOf(const std::string& function) const;
  // The handles passed to InternetCloseHandle, in order.
  std::vector<int64_t> ClosedHandles() const;
  // The handles opened so far and not closed.
  std::vector<int64_t> OpenHandles() const;

  // Used by the fake functions.
  static FakeWinInet& Current();
  void Record(const char* function, std::initializer_list<std::optional<std::string>> texts,
              std::initializer_list<int64_t> numbers);
  // Copies the next piece of the body into `buffer`; false for a failing read.
  bool Read(uint8_t* buffer, uint32_t size, uint32_t* delivered);
  void Opened(uintptr_t handle);
  void Closed(uintptr_t handle);

 private:
  FakeScript script_;
  std::vector<FakeCall> calls_;
  std::vector<int64_t> open_;
  uint64_t position_ = 0;
  int reads_ = 0;
};

}  // namespace tsm
