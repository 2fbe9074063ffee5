// The control operations of the main window that the download workflow and
// the progress display use. They act on the one main window of the process.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace tsm {

enum class Label { kTitle /* 透明标签2 */, kPercent /* 透明标签1 */ };

// What 编辑框1 shows now.
Text ReadAddress();
// The area under the label is repainted first, so no trace of the old text stays.
void SetLabelText(Label label, const Text& text);
// Parts 0..5 of 状态条1; any other number changes nothing.
void SetStatusPart(int32_t part, const Text& text);
// 进度条1 stores the value limited to 0..32767 and shows it limited to 0..100.
void SetProgressPosition(int32_t position);
int32_t ProgressPosition();
// Lets the window repaint while work runs inside a handler: paints and other
// window messages are handled, user input is dropped (no re-entry).
void PumpPaintMessages();

}  // namespace tsm
