// Pieces taken out of texts by markers.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace tsm {

// The bytes strictly between the first `startMarker` at or after `start` and
// the next `endMarker`; empty when either is missing. "#引号" in a marker
// stands for a double quote.
Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                 int32_t start = 0, bool ignoreCase = false);

// The trimmed bytes after the first ":" of `line`; empty without a colon.
Text HeaderValue(const Text& line);

}  // namespace tsm
