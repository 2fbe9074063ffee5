#include "http/cookies.h"

namespace tsm {

Text MergeCookies(Text& oldCookies, Text& newCookies) {
  oldCookies = RemoveAllSpaces(oldCookies);
  newCookies = RemoveAllSpaces(newCookies);
  const TextList oldList = SplitText(oldCookies, ";");
  TextList newList = SplitText(newCookies, ";");

  // The list grows while it is searched: of several old entries with one
  // name only the first survives, and a name the response set keeps its
  // new value.
  for (const Text& entry : oldList) {
    if (!ListHasCookieName(newList, CookieName(entry))) newList.push_back(entry);
  }

  Text merged;
  for (const Text& entry : newList) {
    if (CompareText(RightText(entry, 8), "=deleted") != 0) merged = ConcatText(merged, entry, "; ");
  }
  merged = LeftText(merged, TextLength(merged) - 2);
  oldCookies = JoinDistinct(merged, "; ");
  return oldCookies;
}

Text CookieName(const Text& entry) {
  const int32_t equals = FindText(entry, "=");
  return equals == -1 ? TrimText(entry) : TrimText(LeftText(entry, equals - 1));
}

bool ListHasCookieName(const TextList& list, const Text& name) {
  for (const Text& entry : list) {
    if (CompareText(CookieName(entry), name) == 0) return true;
  }
  return false;
}

Text JoinDistinct(const Text& text, const Text& separator) {
  TextList seen;
  Text joined;
  for (const Text& piece : SplitText(text, separator)) {
    if (FindInList(seen, piece) != -1) continue;
    seen.push_back(piece);
    joined = ConcatText(joined, piece, separator);
  }
  return LeftText(joined, TextLength(joined) - TextLength(separator));
}

int32_t FindInList(const TextList& list, const Text& item) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (CompareText(list[i], item) == 0) return static_cast<int32_t>(i) + 1;
  }
  return -1;
}

}  // namespace tsm
