// The page title becomes the local file name, and the title is remote input:
// it must not choose a folder, a drive, a stream or a device.
#pragma once

#include "text/text.h"

namespace tsm {

// False for a name holding "\" or "/" at a character boundary (in GBK the
// byte 0x5C can be the second byte of a character, which is no separator) or
// ":", and for a reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9,
// any letter case, with or without an extension). Everything else, the empty
// name included, is left for the file system to judge.
bool IsPlainFileName(const Text& name);

}  // namespace tsm
