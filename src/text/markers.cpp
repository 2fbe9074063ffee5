#include "text/markers.h"

namespace tsm {

namespace {

// Callers name a double quote in a marker as "#引号".
Text WithQuotes(const Text& marker) {
  return ReplaceSubtext(marker, "#引号", "\"", 1, std::nullopt, /*matchCase=*/true);
}

}  // namespace

Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker, int32_t start,
                 bool ignoreCase) {
  Text opening = WithQuotes(startMarker);
  Text closing = WithQuotes(endMarker);
  int32_t p = FindText(text, opening, start, ignoreCase);
  if (p != -1) p += TextLength(opening);
  int32_t q = FindText(text, closing, p, ignoreCase);
  if (p == -1 || q == -1) return Text();
  return MidText(text, p, q - p);
}

Text HeaderValue(const Text& line) {
  int32_t colon = FindText(line, ":");
  if (colon == -1) return Text();
  return TrimText(RightText(line, TextLength(line) - colon));
}

}  // namespace tsm
