// The remote sites the program talks to. Fixed when the program is built
// (CMake cache variables SITE_HOST and PLAYER_HOST), never read at run time.
#pragma once

#include "text/text.h"

namespace tsm {

// Host of the drawing site, optionally with ":port".
Text SiteHost();
// Host named in the download's Referer line.
Text PlayerHost();

}  // namespace tsm
