// What the 下载 button does: fetch the item page, show its title, download
// the attachment into a file named after it.
#pragma once

#include "text/text.h"

namespace tsm {

// The program-wide texts of the latest click.
extern Text gPageText;
extern Text gPageTitle;

// The archive on the drawing site; the page address only decides the name
// it is saved under.
Text AttachmentAddress();
// The click handler of 按钮1.
void OnDownloadClicked();
// The page's body as text, up to its first zero byte; empty on failure.
Text FetchPageText(const Text& address);
// The bytes between the first `startMarker` and the next `endMarker`, exact
// bytes; empty when either is missing.
Text ExtractBetween(const Text& text, const Text& startMarker, const Text& endMarker);

}  // namespace tsm
