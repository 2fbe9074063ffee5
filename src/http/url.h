// Tolerant splitting of an address into host, port and path. These are text
// operations, not a URL parser: every input gives a result.
#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace tsm {

// The host in lower case. Supplying `labelLevels` at all (0 included)
// selects the label mode; left out, the address mode runs.
Text UrlHost(const Text& url, bool rootOnly = false, bool keepPort = false,
             std::optional<int32_t> labelLevels = std::nullopt);
int32_t UrlPort(const Text& url);
// Path and query in the caller's letter case, or "/".
Text UrlPath(const Text& url);

}  // namespace tsm
