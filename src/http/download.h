// Resumable download of one address into a local file.
#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace tsm {

// Told after every chunk written, directly and synchronously. A call through
// CallWindowProcA, the other way of making it, costs about as much as a
// chunk's transfer under Wine.
using ProgressCallback = void (*)(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun);

// 0 when the transfer ran to its end, -1 after a failure that was shown to
// the user. A supplied `startOffset` (0 included) resumes: a Range header is
// sent and an existing file is extended.
int32_t DownloadToFile(const Text& url, const Text& fileName, ProgressCallback onProgress,
                       std::optional<int32_t> startOffset = std::nullopt);

}  // namespace tsm
