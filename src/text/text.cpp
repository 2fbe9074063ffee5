#include "text/text.h"

#include "text/text_walk.h"

namespace tsm {

Text::Text(const char* literal) : bytes_(literal ? literal : ""), stored_(true) {}

Text::Text(std::string_view bytes, bool stored)
    : bytes_(bytes.substr(0, bytes.find('\0'))), stored_(stored) {}

const char* Text::ForPlatform() const {
  return bytes_.empty() && !stored_ ? nullptr : bytes_.c_str();
}

namespace detail {

Text Concat(std::initializer_list<std::string_view> parts) {
  std::string joined;
  size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  joined.reserve(size);
  for (std::string_view part : parts) joined.append(part);
  return Text(joined, /*stored=*/true);
}

}  // namespace detail

}  // namespace tsm
