// The notice on a build without a window system: written to standard error.
#include <cstdio>

#include "text/notice.h"

namespace tsm {

int32_t ShowNotice(const Text& text, int32_t /*style*/, std::optional<Text> title,
                   void* /*owner*/) {
  const Text shown = title ? *title : Text("信息：");
  std::fprintf(stderr, "%s %s\n", shown.bytes().c_str(), text.bytes().c_str());
  return 0;  // as if OK closed it
}

}  // namespace tsm
