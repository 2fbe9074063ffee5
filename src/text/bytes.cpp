#include "text/bytes.h"

#include <algorithm>
#include <string_view>

namespace tsm {

Bytes BlankBytes(int32_t count) {
  if (count <= 0) return Bytes();
  return Bytes(static_cast<size_t>(count), 0);
}

Bytes LeftBytes(ByteView bytes, int32_t count) {
  if (count <= 0) return Bytes();
  size_t kept = std::min(bytes.size(), static_cast<size_t>(count));
  return Bytes(bytes.begin(), bytes.begin() + kept);
}

int32_t BytesLength(ByteView bytes) { return static_cast<int32_t>(bytes.size()); }

Bytes ConcatBytes(std::initializer_list<ByteView> parts) {
  size_t size = 0;
  for (ByteView part : parts) size += part.size();
  Bytes joined;
  joined.reserve(size);
  for (ByteView part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

Bytes TextToBytes(const Text& text) {
  std::string_view bytes = text.view();
  return Bytes(bytes.begin(), bytes.end());
}

Text BytesToText(ByteView bytes) {
  if (bytes.empty()) return Text();
  // Text keeps the bytes before the first zero byte.
  return Text(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace tsm
