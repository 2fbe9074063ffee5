// MainWindow on Windows: what StartProgram and the window tests share.
#pragma once

#include <windows.h>

namespace tsm {

// Control identifiers, so tests can find the controls with GetDlgItem. They
// stay clear of IDOK and IDCANCEL, which the dialog keys send.
enum MainWindowControl : int {
  kTitleLabelId = 101,      // 透明标签2
  kPercentLabelId = 102,    // 透明标签1
  kProgressBarId = 103,     // 进度条1
  kStatusBarId = 104,       // 状态条1
  kCaptionLabelId = 105,    // 标签1
  kAddressEditId = 106,     // 编辑框1
  kDownloadButtonId = 107,  // 按钮1
};

// Creates MainWindow with all its controls, centred on the screen, not yet
// shown. It becomes the window the control operations act on. Null on failure.
HWND CreateMainWindow();
// Runs the message loop until the main window is closed; Esc closes it,
// Enter does nothing, Tab moves between the edit box and the button.
void RunMessageLoop(HWND window);

}  // namespace tsm
