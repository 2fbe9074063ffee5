#include "app/file_name_guard.h"

#include <string_view>

#include "text/text_walk.h"

namespace tsm {
namespace {

bool IsReservedDeviceName(std::string_view name) {
  // Windows reads a device name up to the first dot and ignores trailing
  // spaces before it: "nul", "NUL.txt" and "Com1 .rar" all open devices.
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  std::string folded;
  for (char c : base) folded += static_cast<char>(FoldAsciiCase(static_cast<unsigned char>(c)));
  if (folded == "con" || folded == "prn" || folded == "aux" || folded == "nul") return true;
  return folded.size() == 4 &&
         (folded.compare(0, 3, "com") == 0 || folded.compare(0, 3, "lpt") == 0) &&
         folded[3] >= '1' && folded[3] <= '9';
}

}  // namespace

bool IsPlainFileName(const Text& name) {
  const std::string_view bytes = name.view();
  for (size_t i = 0; i < bytes.size(); i = NextCharIndex(bytes, i)) {
    const char c = bytes[i];
    if (c == '\\' || c == '/' || c == ':') return false;
  }
  return !IsReservedDeviceName(bytes);
}

}  // namespace tsm
