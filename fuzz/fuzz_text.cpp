// Arbitrary bytes through the text operations, marker extraction, URL
// splitting and cookie merging, with positions, counts and switches taken
// from the input. Beyond what the sanitizers catch, it checks the rules that
// every result keeps whatever the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "http/cookies.h"
#include "http/url.h"
#include "text/markers.h"
#include "text/number.h"
#include "text/text.h"
#include "text/text_walk.h"

namespace tsm {
namespace {

void Require(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "rule broken: %s\n", rule);
  std::abort();
}

// Like every Text, cut at the first zero byte.
Text TakeText(FuzzedDataProvider& in) { return Text(in.ConsumeRandomLengthString(512)); }

// Mostly near the ends of the text, where the edge rules are; sometimes any
// 32-bit value.
int32_t TakePosition(FuzzedDataProvider& in, int32_t length) {
  if (in.ConsumeBool()) return in.ConsumeIntegral<int32_t>();
  return in.ConsumeIntegralInRange<int32_t>(-2, length + 2);
}

std::optional<int32_t> TakeOptional(FuzzedDataProvider& in, int32_t length) {
  if (in.ConsumeBool()) return std::nullopt;
  return TakePosition(in, length);
}

int32_t Clamp(int64_t value, int64_t low, int64_t high) {
  return static_cast<int32_t>(value < low ? low : value > high ? high : value);
}

int Sign(int32_t value) { return (value > 0) - (value < 0); }

bool MatchesAt(const Text& text, int32_t position, const Text& sought, bool ignoreCase) {
  if (position < 1 || int64_t{position} - 1 + sought.size() > text.size()) return false;
  return WindowEquals(text.view().substr(position - 1, sought.size()), sought.view(), ignoreCase);
}

void CutAndSearch(FuzzedDataProvider& in, const Text& t, const Text& s) {
  const int32_t length = TextLength(t);
  Require(length == t.size(), "TextLength counts bytes");

  const int32_t n = TakePosition(in, length);
  const int32_t kept = Clamp(n, 0, length);
  Require(LeftText(t, n).view() == t.view().substr(0, kept), "LeftText is a prefix");
  Require(RightText(t, n).view() == t.view().substr(length - kept), "RightText is a suffix");
  const int32_t midStart = TakePosition(in, length);
  const Text mid = MidText(t, midStart, n);
  Require(mid.empty() || t.view().substr(midStart - 1, mid.size()) == mid.view(),
          "MidText is the bytes at its start");

  const bool flag = in.ConsumeBool();
  const int32_t start = TakePosition(in, length);
  const int32_t found = FindText(t, s, start, flag);
  Require(found == -1 || MatchesAt(t, found, s, flag), "FindText finds a match");
  // An empty sought text is found at 1 whatever the start.
  Require(found == -1 || s.empty() || found >= start, "FindText finds nothing before its start");
  const std::optional<int32_t> limit = TakeOptional(in, length);
  const int32_t last = FindTextReverse(t, s, limit, flag);
  Require(last == -1 || MatchesAt(t, last, s, flag), "FindTextReverse finds a match");
  Require(last == -1 || !limit || int64_t{last} + s.size() <= *limit || s.empty(),
          "FindTextReverse ends before its limit");
}

void Rewrite(FuzzedDataProvider& in, const Text& t, const Text& s, const Text& r) {
  const int32_t length = TextLength(t);
  const int32_t start = TakePosition(in, length);
  const std::optional<int32_t> count = TakeOptional(in, length);
  const Text replaced = ReplaceSubtext(t, s, r, start, count, in.ConsumeBool());
  if (s.empty() || (count && *count == 0)) Require(replaced == t, "nothing to replace");

  const std::optional<int32_t> maxCount = TakeOptional(in, length);
  const TextList pieces = SplitText(t, s, maxCount);
  if (maxCount)
    Require(pieces.size() <= size_t(Clamp(*maxCount, 0, INT32_MAX)), "SplitText keeps its maximum");
  if (!maxCount && !s.empty()) {
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
      if (i > 0) joined += s.bytes();
      joined += pieces[i].bytes();
    }
    Require(joined == t.bytes() || joined + s.bytes() == t.bytes(), "pieces make the text");
  }
  const int32_t index = FindInList(pieces, r);
  Require(index == -1 || (index >= 1 && pieces[index - 1] == r), "FindInList finds the item");

  Require(TrimText(t).size() <= length, "TrimText only removes");
  Require(RemoveAllSpaces(t).size() <= length, "RemoveAllSpaces only removes");
  Require(ToLowerCase(t).size() == length, "ToLowerCase keeps the length");
  Require(Sign(CompareText(t, s)) == -Sign(CompareText(s, t)), "CompareText is antisymmetric");
  Require(CompareText(t, Text(t.view())) == 0, "a text equals its copy");
  Require(ConcatText(t, s, r).size() == length + s.size() + r.size(), "ConcatText adds lengths");
  Require(CharFromCode(in.ConsumeIntegral<int32_t>()).size() <= 1, "CharFromCode is one byte");
  const int32_t blanks = in.ConsumeIntegralInRange<int32_t>(-4, 4096);
  Require(BlankText(blanks).size() == Clamp(blanks, 0, 4096), "BlankText has its length");
  TextToInt(t);
}

void Markers(FuzzedDataProvider& in, const Text& t, const Text& a, const Text& b) {
  const Text between = TextBetween(t, a, b, TakePosition(in, TextLength(t)), in.ConsumeBool());
  Require(t.view().find(between.view()) != std::string_view::npos, "TextBetween is a piece");
  Require(HeaderValue(t).size() < t.size() || t.empty(), "HeaderValue is shorter than its line");
}

void Address(FuzzedDataProvider& in, const Text& url) {
  const bool rootOnly = in.ConsumeBool();
  const bool keepPort = in.ConsumeBool();
  UrlHost(url, rootOnly, keepPort, TakeOptional(in, TextLength(url)));
  UrlHost(url, rootOnly, keepPort);
  UrlPort(url);
  const Text path = UrlPath(url);
  Require(!path.empty() && path.bytes()[0] == '/', "UrlPath begins with /");
}

void Cookies(const Text& oldText, const Text& newText, const Text& separator) {
  Text oldCookies = oldText;
  Text newCookies = newText;
  const Text merged = MergeCookies(oldCookies, newCookies);
  Require(merged == oldCookies, "MergeCookies returns the merged string");
  Require(newCookies == RemoveAllSpaces(newText), "MergeCookies removes the new spaces");
  Require(JoinDistinct(oldText, separator).size() <= oldText.size(), "JoinDistinct only removes");
  const TextList entries = SplitText(newText, ";");
  for (const Text& entry : entries) {
    Require(ListHasCookieName(entries, CookieName(entry)), "an entry's name is in its list");
  }
}

}  // namespace
}  // namespace tsm

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const tsm::Text a = tsm::TakeText(in);
  const tsm::Text b = tsm::TakeText(in);
  const tsm::Text c = tsm::TakeText(in);
  tsm::CutAndSearch(in, a, b);
  tsm::Rewrite(in, a, b, c);
  tsm::Markers(in, a, b, c);
  tsm::Address(in, a);
  tsm::Cookies(a, b, c);
  return 0;
}
