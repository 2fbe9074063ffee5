// Bytes: a counted byte buffer that may hold zero bytes; absent and empty are
// the same value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "text/text.h"

namespace tsm {

using Bytes = std::vector<uint8_t>;

// A read-only view of bytes owned elsewhere (a Bytes value or a buffer).
class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  ByteView(const Bytes& bytes) : data_(bytes.data()), size_(bytes.size()) {}  // NOLINT

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const uint8_t* begin() const { return data_; }
  const uint8_t* end() const { return data_ + size_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

Bytes BlankBytes(int32_t count);
Bytes LeftBytes(ByteView bytes, int32_t count);
int32_t BytesLength(ByteView bytes);
Bytes ConcatBytes(std::initializer_list<ByteView> parts);
Bytes TextToBytes(const Text& text);
// The bytes up to, not including, the first zero byte.
Text BytesToText(ByteView bytes);

// Pointer handed to the platform: null for an empty value.
inline const uint8_t* ForPlatform(ByteView bytes) { return bytes.empty() ? nullptr : bytes.data(); }

}  // namespace tsm
