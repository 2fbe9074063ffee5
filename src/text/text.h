// Text: the byte string in the ANSI code page on which all logic runs, and
// the operations on it. Positions are 1-based byte positions; -1 is "not
// found". Walking operations step over double-byte characters (see
// text_walk.h); LeftText/RightText/MidText count raw bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsm {

// A text never holds a zero byte; absent and empty are the same value.
// `stored` only matters when a text is handed to the platform: a literal or a
// ConcatText result is stored text and goes as a pointer even when empty,
// while the empty result of any other operation goes as a null pointer.
class Text {
 public:
  Text() = default;
  Text(const char* literal);  // NOLINT: literals convert implicitly, stored
  // An operation's result. Bytes from the first zero byte on are dropped.
  explicit Text(std::string_view bytes, bool stored = false);

  const std::string& bytes() const { return bytes_; }
  std::string_view view() const { return bytes_; }
  int32_t size() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }
  bool stored() const { return stored_; }

  // The pointer handed to a platform function: null for an unstored empty
  // text, otherwise the zero-terminated bytes.
  const char* ForPlatform() const;

  friend bool operator==(const Text& a, const Text& b) { return a.bytes_ == b.bytes_; }

 private:
  std::string bytes_;
  bool stored_ = false;
};

// Elements are numbered from 1 by the operations that speak of positions;
// as a C++ container it is 0-based.
using TextList = std::vector<Text>;

int32_t TextLength(const Text& text);
Text LeftText(const Text& text, int32_t count);
Text RightText(const Text& text, int32_t count);
Text MidText(const Text& text, int32_t start, int32_t count);

// First occurrence at or after `start`; ignoreCase folds ASCII letters only.
int32_t FindText(const Text& text, const Text& sought, int32_t start = 1, bool ignoreCase = false);
// Last occurrence lying wholly before `limit` (whole text when left out).
int32_t FindTextReverse(const Text& text, const Text& sought,
                        std::optional<int32_t> limit = std::nullopt, bool ignoreCase = false);
// Note the flag's sense: matchCase true compares exactly (the opposite of
// FindText's ignoreCase). A left-out or negative count means unlimited.
Text ReplaceSubtext(const Text& text, const Text& sought, const Text& replacement = Text(),
                    int32_t start = 1, std::optional<int32_t> count = std::nullopt,
                    bool matchCase = false);
TextList SplitText(const Text& text, const Text& separator = ",",
                   std::optional<int32_t> maxCount = std::nullopt);
Text TrimText(const Text& text);
Text RemoveAllSpaces(const Text& text);
Text ToLowerCase(const Text& text);
int32_t CompareText(const Text& a, const Text& b);
Text CharFromCode(int32_t code);
Text BlankText(int32_t count);

namespace detail {
Text Concat(std::initializer_list<std::string_view> parts);
}

// Joins two or more texts; the result is always stored text.
template <typename... Texts>
Text ConcatText(const Text& first, const Texts&... rest) {
  return detail::Concat({first.view(), Text(rest).view()...});
}

}  // namespace tsm
