#include "http/site.h"

#ifndef TSM_SITE_HOST
#error "TSM_SITE_HOST must name the drawing site's host"
#endif
#ifndef TSM_PLAYER_HOST
#error "TSM_PLAYER_HOST must name the Referer host of the download"
#endif

namespace tsm {

Text SiteHost() { return TSM_SITE_HOST; }
Text PlayerHost() { return TSM_PLAYER_HOST; }

}  // namespace tsm
