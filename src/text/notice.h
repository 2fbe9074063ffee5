// The modal notice box.
#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace tsm {

inline constexpr int32_t kNoticeSystemModal = 0x1000;
inline constexpr int32_t kNoticeTaskModal = 0x2000;

// Shows `text` and returns when the user closed the box. The title defaults
// to "信息：". Without the system-modal bit the box is task-modal.
int32_t ShowNotice(const Text& text, int32_t style = 0, std::optional<Text> title = std::nullopt,
                   void* owner = nullptr);

}  // namespace tsm
