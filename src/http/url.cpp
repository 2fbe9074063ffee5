#include "http/url.h"

#include "text/markers.h"
#include "text/number.h"

namespace tsm {

namespace {

// The host between the scheme and the first "/" after it. Only "/" ends the
// host, so a query without a path stays inside it.
Text HostOfAddress(Text t, bool rootOnly) {
  if (CompareText(RightText(t, 1), "/") != 0) t = ConcatText(t, "/");
  if (CompareText(LeftText(t, 8), "https://") == 0) {
    t = TextBetween(t, "https://", "/");
  } else {
    // A "http://" anywhere counts, also one inside the query.
    if (FindText(t, "http://") == -1) t = ConcatText("http://", t);
    t = TextBetween(t, "http://", "/");
  }
  if (rootOnly) {
    const TextList labels = SplitText(t, ".");
    const size_t n = labels.size();
    if (n > 1) t = ConcatText(labels[n - 2], ".", labels[n - 1]);
  }
  return t;
}

// The last labels of the host, counted back from its end by `levels` dots.
Text HostLabels(Text t, bool rootOnly, int32_t levels) {
  t = ReplaceSubtext(t, "http://", Text(), 1, std::nullopt, /*matchCase=*/true);
  t = ReplaceSubtext(t, "https://", Text(), 1, std::nullopt, /*matchCase=*/true);
  const int32_t slash = FindText(t, "/");
  if (slash != -1) t = LeftText(t, slash - 1);

  const int32_t length = TextLength(t);
  int32_t h = length;
  // Once no dot is left h stays -1, so the rest of the count changes nothing.
  for (int32_t i = 0; i < levels && h != -1; ++i) h = FindTextReverse(t, ".", h);
  const int32_t d = FindTextReverse(t, ".", h);

  if (rootOnly) return RightText(t, length - d);  // d == -1 keeps the whole host
  if (d != -1) {
    const int32_t d2 = FindTextReverse(t, ".", d);
    if (d2 != -1) t = RightText(t, length - d2);
  }
  return t;
}

}  // namespace

Text UrlHost(const Text& url, bool rootOnly, bool keepPort, std::optional<int32_t> labelLevels) {
  const Text lower = ToLowerCase(url);
  Text t = labelLevels ? HostLabels(lower, rootOnly, *labelLevels) : HostOfAddress(lower, rootOnly);
  if (keepPort) return t;
  const int32_t colon = FindText(t, ":");
  return colon == -1 ? t : LeftText(t, colon - 1);
}

int32_t UrlPort(const Text& url) {
  const Text hostPort = UrlHost(url, /*rootOnly=*/false, /*keepPort=*/true);
  const int32_t colon = FindTextReverse(hostPort, ":");
  // Whatever follows the colon is the port, an empty text included (port 0).
  if (colon != -1) return TextToInt(RightText(hostPort, TextLength(hostPort) - colon));
  return CompareText(LeftText(ToLowerCase(url), 5), "https") == 0 ? 443 : 80;
}

Text UrlPath(const Text& url) {
  const Text host = UrlHost(url);
  // The host is in lower case while the address keeps the caller's case.
  const int32_t hostAt = FindText(url, host, 1, /*ignoreCase=*/true);
  const int32_t slash = FindText(url, "/", hostAt, /*ignoreCase=*/true);
  if (slash <= 0) return "/";
  return RightText(url, TextLength(url) - slash + 1);
}

}  // namespace tsm
