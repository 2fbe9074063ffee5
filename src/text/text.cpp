#include "text/text.h"

#include "text/text_walk.h"

namespace tsm {

namespace {

// Index where a walk from a 1-based start position begins: P - 1, or 0 when
// P is below 1. Widened so that any 32-bit position is safe.
size_t WalkBegin(int32_t start) {
  int64_t b = static_cast<int64_t>(start) - 1;
  return b < 0 ? 0 : static_cast<size_t>(b);
}

bool IsSpaceAt(std::string_view text, size_t i) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  if (c == 0x20) return true;
  return c == 0xA1 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA1;
}

}  // namespace

Text::Text(const char* literal) : bytes_(literal ? literal : ""), stored_(true) {}

Text::Text(std::string_view bytes, bool stored)
    : bytes_(bytes.substr(0, bytes.find('\0'))), stored_(stored) {}

const char* Text::ForPlatform() const {
  return bytes_.empty() && !stored_ ? nullptr : bytes_.c_str();
}

int32_t TextLength(const Text& text) { return text.size(); }

Text LeftText(const Text& text, int32_t count) {
  if (count <= 0) return Text();
  return Text(text.view().substr(0, static_cast<size_t>(count)));
}

Text RightText(const Text& text, int32_t count) {
  if (count <= 0) return Text();
  if (count >= text.size()) return Text(text.view());
  return Text(text.view().substr(static_cast<size_t>(text.size() - count)));
}

Text MidText(const Text& text, int32_t start, int32_t count) {
  if (start < 1 || start > text.size() || count <= 0) return Text();
  return Text(text.view().substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count)));
}

int32_t FindText(const Text& text, const Text& sought, int32_t start, bool ignoreCase) {
  std::string_view t = text.view();
  std::string_view s = sought.view();
  size_t b = WalkBegin(start);
  if (b >= t.size()) return -1;
  if (s.empty()) return 1;
  // A lone lead byte is compared at its position; its step then ends the walk.
  for (size_t i = b; i + s.size() <= t.size(); i = NextCharIndex(t, i)) {
    if (WindowEquals(t.substr(i, s.size()), s, ignoreCase)) return static_cast<int32_t>(i + 1);
  }
  return -1;
}

int32_t FindTextReverse(const Text& text, const Text& sought, std::optional<int32_t> limit,
                        bool ignoreCase) {
  std::string_view t = text.view();
  std::string_view s = sought.view();
  size_t region = t.size();
  if (limit) {
    if (*limit <= 1) {
      region = 0;
    } else if (static_cast<size_t>(*limit - 1) <= t.size()) {
      region = static_cast<size_t>(*limit - 1);
    }
  }
  if (s.empty()) return region > 0 ? 1 : -1;
  int32_t found = -1;
  for (size_t i = 0; i + s.size() <= region; i = NextCharIndex(t, i)) {
    if (WindowEquals(t.substr(i, s.size()), s, ignoreCase)) found = static_cast<int32_t>(i + 1);
  }
  return found;
}

Text ReplaceSubtext(const Text& text, const Text& sought, const Text& replacement, int32_t start,
                    std::optional<int32_t> count, bool matchCase) {
  std::string_view t = text.view();
  std::string_view s = sought.view();
  size_t b = WalkBegin(start);
  bool limited = count && *count >= 0;
  if (t.empty() || s.empty() || b >= t.size() || (limited && *count == 0)) return Text(t);

  std::string result(t.substr(0, b));
  size_t i = b;
  int32_t made = 0;
  while (t.size() - i >= s.size()) {
    if (WindowEquals(t.substr(i, s.size()), s, !matchCase)) {
      result.append(replacement.view());
      i += s.size();
      if (limited && ++made == *count) break;
    } else if (IsLoneLeadByte(t, i)) {
      i = t.size();  // dropped, not copied
    } else {
      size_t next = NextCharIndex(t, i);
      result.append(t.substr(i, next - i));
      i = next;
    }
  }
  result.append(t.substr(i));
  return Text(result);
}

TextList SplitText(const Text& text, const Text& separator, std::optional<int32_t> maxCount) {
  std::string_view t = text.view();
  std::string_view d = separator.view();
  size_t most = SIZE_MAX;
  if (maxCount) most = *maxCount < 0 ? 0 : static_cast<size_t>(*maxCount);
  TextList pieces;
  if (t.empty() || most == 0) return pieces;
  if (d.empty()) return {Text(t)};

  size_t pieceStart = 0;
  // A lone lead byte is compared at its position; its step then ends the walk.
  for (size_t i = 0; i + d.size() <= t.size();) {
    if (t.compare(i, d.size(), d) == 0) {
      pieces.push_back(Text(t.substr(pieceStart, i - pieceStart)));
      i += d.size();
      pieceStart = i;
      if (pieces.size() == most) return pieces;
    } else {
      i = NextCharIndex(t, i);
    }
  }
  if (pieceStart < t.size()) pieces.push_back(Text(t.substr(pieceStart)));
  return pieces;
}

Text TrimText(const Text& text) {
  std::string_view t = text.view();
  size_t i = 0;
  while (i < t.size() && IsSpaceAt(t, i)) i = NextCharIndex(t, i);
  size_t begin = i;
  size_t end = t.size();
  bool inRun = false;
  while (i < t.size()) {
    if (IsLoneLeadByte(t, i)) {
      // The lone lead byte goes; spaces before it stay.
      return Text(t.substr(begin, i - begin));
    }
    if (IsSpaceAt(t, i)) {
      if (!inRun) end = i;
      inRun = true;
    } else {
      inRun = false;
    }
    i = NextCharIndex(t, i);
  }
  if (!inRun) end = t.size();
  return Text(t.substr(begin, end - begin));
}

Text RemoveAllSpaces(const Text& text) {
  std::string_view t = text.view();
  std::string kept;
  kept.reserve(t.size());
  for (size_t i = 0; i < t.size();) {
    size_t next = NextCharIndex(t, i);
    if (!IsSpaceAt(t, i) && !IsLoneLeadByte(t, i)) kept.append(t.substr(i, next - i));
    i = next;
  }
  return Text(kept);
}

Text ToLowerCase(const Text& text) {
  std::string_view t = text.view();
  std::string lowered;
  lowered.reserve(t.size());
  for (size_t i = 0; i < t.size();) {
    size_t next = NextCharIndex(t, i);
    if (next - i == 1) {
      lowered.push_back(static_cast<char>(FoldAsciiCase(static_cast<unsigned char>(t[i]))));
    } else {
      lowered.append(t.substr(i, next - i));  // double-byte characters stay as they are
    }
    i = next;
  }
  return Text(lowered);
}

int32_t CompareText(const Text& a, const Text& b) {
  // char_traits<char> compares as unsigned bytes.
  int order = a.view().compare(b.view());
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

Text CharFromCode(int32_t code) {
  char byte = static_cast<char>(static_cast<uint32_t>(code) & 0xFF);
  return Text(std::string_view(&byte, 1));  // a zero byte gives the empty text
}

Text BlankText(int32_t count) {
  if (count < 1) return Text();
  return Text(std::string(static_cast<size_t>(count), ' '));
}

namespace detail {

Text Concat(std::initializer_list<std::string_view> parts) {
  std::string joined;
  size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  joined.reserve(size);
  for (std::string_view part : parts) joined.append(part);
  return Text(joined, /*stored=*/true);
}

}  // namespace detail

}  // namespace tsm
