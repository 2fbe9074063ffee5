// The two rules every walking text operation shares: the character step and
// the ASCII-only case-insensitive comparison of two byte windows.
#pragma once

#include <cstddef>
#include <string_view>

namespace tsm {

// Index of the next character boundary after `i` (0-based). A byte of 0x80
// or more leads a two-byte character when a byte follows it; a lone lead
// byte at the end, like any other byte, is one step.
inline size_t NextCharIndex(std::string_view text, size_t i) {
  return static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size() ? i + 2 : i + 1;
}

// True when the byte at `i` is a lead byte with nothing after it.
inline bool IsLoneLeadByte(std::string_view text, size_t i) {
  return static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 == text.size();
}

inline unsigned char FoldAsciiCase(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 0x20) : c;
}

// Byte-for-byte comparison of equal-length windows; only ASCII letters fold,
// also when they are the second byte of a double-byte character.
inline bool WindowEquals(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  if (!ignoreCase) return a == b;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(static_cast<unsigned char>(a[i])) !=
        FoldAsciiCase(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace tsm
