// Resumable download of one address into a local file.
#pragma once

#include <cstdint>
#include <optional>

#include "http/wininet_api.h"
#include "text/text.h"

namespace tsm {

// Told after every chunk written. It is reached through CallWindowProcA, so
// it has a window procedure's calling convention.
using ProgressCallback = void(TSM_WINAPI*)(int32_t total, int32_t done, int32_t elapsedMs,
                                           int32_t thisRun);

// 0 when the transfer ran to its end, -1 after a failure that was shown to
// the user. A supplied `startOffset` (0 included) resumes: a Range header is
// sent and an existing file is extended.
int32_t DownloadToFile(const Text& url, const Text& fileName, ProgressCallback onProgress,
                       std::optional<int32_t> startOffset = std::nullopt);

}  // namespace tsm
