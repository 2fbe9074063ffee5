// The WinInet functions (and user32's CallWindowProcA) the HTTP client
// calls, as a table of function pointers bound by name on first use. Tests
// and the native build install a table of their own.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define TSM_WINAPI __stdcall
#else
#define TSM_WINAPI
#endif

namespace tsm {

// TODO(http): the function types, constants and the table itself.

}  // namespace tsm
