#include "support/fake_controls.h"

#include <algorithm>

#include "app/controls.h"

namespace tsm {
namespace fake {

Controls& TheControls() {
  static Controls controls;
  return controls;
}

void ResetControls() { TheControls() = Controls{}; }

}  // namespace fake

Text ReadAddress() { return fake::TheControls().address; }

void SetLabelText(Label label, const Text& text) {
  auto& c = fake::TheControls();
  (label == Label::kTitle ? c.titleLabel : c.percentLabel) = text;
  c.writes.push_back(label == Label::kTitle ? "label:title" : "label:percent");
}

void SetStatusPart(int32_t part, const Text& text) {
  if (part < 0 || part > 5) return;
  auto& c = fake::TheControls();
  c.statusParts[part] = text;
  c.writes.push_back("part" + std::to_string(part));
}

void SetProgressPosition(int32_t position) {
  auto& c = fake::TheControls();
  c.storedPosition = std::clamp<int32_t>(position, 0, 32767);
  c.writes.push_back("bar");
}

int32_t ProgressPosition() { return fake::TheControls().storedPosition; }

void PumpPaintMessages() { fake::TheControls().writes.push_back("pump"); }

}  // namespace tsm
