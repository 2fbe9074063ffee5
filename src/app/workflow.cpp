#include "app/workflow.h"

namespace tsm {

Text gPageText;
Text gPageTitle;

// Placeholder until the workflow lands; the window links against it.
void OnDownloadClicked() {}

}  // namespace tsm
