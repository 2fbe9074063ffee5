// The notice box over MessageBoxA.
#include <windows.h>

#include "text/notice.h"

namespace tsm {

// The result numbers the buttons from 0 for OK in the platform's order
// (IDOK - 1, IDCANCEL - 1, ...); -1 when no box could be shown.
int32_t ShowNotice(const Text& text, int32_t style, std::optional<Text> title, void* owner) {
  const Text shown = title ? *title : Text("信息：");
  if (!(style & kNoticeSystemModal)) style |= kNoticeTaskModal;
  int pressed = MessageBoxA(static_cast<HWND>(owner), text.ForPlatform(), shown.ForPlatform(),
                            static_cast<UINT>(style));
  return pressed - 1;
}

}  // namespace tsm
