// One complete HTTP exchange through WinInet.
#pragma once

#include <cstdint>

#include "text/bytes.h"
#include "text/text.h"

namespace tsm {

enum RequestMethod : int32_t { kGet = 0, kPost = 1, kHead = 2 };

// Returns the response body, empty on failure. Pointer parameters are
// optional in/out or out values; null leaves them out. A supplied `cookies`
// (even empty) switches off the platform's cookies and is replaced by its
// merge with the response's cookies.
Bytes WebRequest(const Text& url, int32_t method = kGet, const Text& postText = Text(),
                 Text* cookies = nullptr, Text* responseCookies = nullptr, Text* headers = nullptr,
                 Text* responseHeaders = nullptr, bool noRedirect = false,
                 Bytes* postBytes = nullptr, const Text& proxy = Text());

}  // namespace tsm
