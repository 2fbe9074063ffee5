// Linked into test programs in place of the product's notice box: each
// ShowNotice call is recorded and answered at once as if OK closed it.
//   CMake: add $<TARGET_OBJECTS:tsm_notice_recorder> to the test's SOURCES.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "text/text.h"

namespace tsm {

struct RecordedNotice {
  Text text;
  int32_t style = 0;
  std::optional<Text> title;  // as passed: nullopt when the caller left it out
  void* owner = nullptr;
};

// Every notice shown since the start or the last ClearNotices, oldest first.
const std::vector<RecordedNotice>& RecordedNotices();
void ClearNotices();

}  // namespace tsm
