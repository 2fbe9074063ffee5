// Marker extraction: the text between two markers and header values.
#include "text/markers.h"

#include <gtest/gtest.h>

#include <string>

namespace tsm {
namespace {

TEST(TextBetweenTest, BetweenTheMarkers) {
  struct {
    const char* text;
    const char* startMarker;
    const char* endMarker;
    const char* expected;
  } cases[] = {
      {"<title>标题</title>", "<title>", "</title>", "标题"},
      {"ab", "a", "b", ""},    // the markers touch
      {"xbya", "a", "b", ""},  // the end marker only before the start marker
      {"xyb", "a", "b", ""},   // no start marker
      {"axy", "a", "b", ""},   // no end marker
      {"", "a", "b", ""},
      {"a1b2b", "a", "b", "1"},         // the first end marker after the start
      {"aXa1b", "a", "b", "Xa1"},       // the first start marker
      {"<T>x</T>", "<t>", "</t>", ""},  // case-sensitive when left out
      // 0xB0 0x3C is one character: the start marker is not there.
      {"\xB0<t>x</t>", "<t>", "</t>", ""},
      {"\xB0\xB0<t>x</t>", "<t>", "</t>", "x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.startMarker, c.endMarker).bytes(), c.expected)
        << testing::PrintToString(std::string(c.text)) << " " << c.startMarker << " "
        << c.endMarker;
  }
}

TEST(TextBetweenTest, QuoteMarker) {
  struct {
    const char* text;
    const char* startMarker;
    const char* endMarker;
    const char* expected;
  } cases[] = {
      {"name=\"v1\" id=\"v2\"", "=#引号", "#引号", "v1"},
      {"a = \"x\" b=\"y\"", "=#引号", "#引号", "y"},  // "=" directly before a quote
      {"href=\"/f.zip\">", "href=#引号", "#引号>", "/f.zip"},
      // Only the markers are rewritten, not the searched text.
      {"a#引号b\"", "a", "#引号", "#引号b"},
      {"k=#引号v#引号", "=#引号", "#引号", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.startMarker, c.endMarker).bytes(), c.expected)
        << c.text << " " << c.startMarker << " " << c.endMarker;
  }
}

TEST(TextBetweenTest, StartAndIgnoreCase) {
  struct {
    const char* text;
    const char* startMarker;
    const char* endMarker;
    int32_t start;
    bool ignoreCase;
    const char* expected;
  } cases[] = {
      {"user-agent: x\r\n", "User-Agent:", "\r\n", 0, true, " x"},
      {"user-agent: x\r\n", "User-Agent:", "\r\n", 0, false, ""},
      {"<T>x</T>", "<t>", "</t>", 0, true, "x"},  // both searches fold
      {"<t>1</t><t>2</t>", "<t>", "</t>", 0, false, "1"},
      {"<t>1</t><t>2</t>", "<t>", "</t>", 1, false, "1"},
      {"<t>1</t><t>2</t>", "<t>", "</t>", 2, false, "2"},
      {"<t>1</t><t>2</t>", "<t>", "</t>", 9, false, "2"},
      {"<t>1</t><t>2</t>", "<t>", "</t>", 10, false, ""},
      {"<t>1</t><t>2</t>", "<t>", "</t>", -7, false, "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.startMarker, c.endMarker, c.start, c.ignoreCase).bytes(),
              c.expected)
        << testing::PrintToString(std::string(c.text)) << " start " << c.start << " ignoreCase "
        << c.ignoreCase;
  }
}

TEST(HeaderValueTest, TrimmedValueAfterTheFirstColon) {
  struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"Accept:   */*  ", "*/*"},
      {"a: b: c", "b: c"},
      {"no colon", ""},
      {"", ""},
      {"Name:", ""},
      {":v", "v"},
      {"Cookie: \xA1\xA1v=1\xA1\xA1", "v=1"},
      {"k:\tv ", "\tv"},   // a tab is no space
      {"\xB0:a: b", "b"},  // 0xB0 0x3A is one character, not a colon
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HeaderValue(c.line).bytes(), c.expected)
        << testing::PrintToString(std::string(c.line));
  }
}

}  // namespace
}  // namespace tsm
