#include "support/notice_recorder.h"

#include "text/notice.h"

namespace tsm {
namespace {

std::vector<RecordedNotice>& Notices() {
  static std::vector<RecordedNotice> notices;
  return notices;
}

}  // namespace

int32_t ShowNotice(const Text& text, int32_t style, std::optional<Text> title, void* owner) {
  Notices().push_back({text, style, std::move(title), owner});
  return 0;
}

const std::vector<RecordedNotice>& RecordedNotices() { return Notices(); }

void ClearNotices() { Notices().clear(); }

}  // namespace tsm
