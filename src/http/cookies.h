// Merging a response's cookies into a caller's cookie string
// ("name=value; name=value").
#pragma once

#include <cstdint>

#include "text/text.h"

namespace tsm {

// Both arguments are updated: `oldCookies` becomes the merged string and
// `newCookies` loses every space. Returns a copy of the merged string.
Text MergeCookies(Text& oldCookies, Text& newCookies);
Text CookieName(const Text& entry);
bool ListHasCookieName(const TextList& list, const Text& name);
Text JoinDistinct(const Text& text, const Text& separator);
// 1-based index of the first element equal to `item`, or -1.
int32_t FindInList(const TextList& list, const Text& item);

}  // namespace tsm
