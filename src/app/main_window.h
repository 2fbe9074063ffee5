// The program's single window: start-up, the window and its controls.
#pragma once

#include <cstdint>

namespace tsm {

// Entry routine: runs the window until it is closed, returns 0.
int32_t StartProgram();
// Releases the program-wide texts; registered to run at program end.
void ReleaseGlobals();

}  // namespace tsm
