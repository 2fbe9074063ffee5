// Text operations: byte positions, the character step over double-byte
// characters, the case flags and the edge rules of each operation.
#include "text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace tsm {
namespace {

constexpr std::nullopt_t kNone = std::nullopt;

std::vector<std::string> Elements(const TextList& list) {
  std::vector<std::string> elements;
  for (const Text& element : list) elements.push_back(element.bytes());
  return elements;
}

TEST(TextLengthTest, CountsBytes) {
  struct {
    Text text;
    int32_t length;
  } cases[] = {
      {Text(), 0},
      {"", 0},
      {"abc", 3},
      {"\xB0\xA1", 2},                           // one double-byte character
      {Text(std::string_view("ab\0cd", 5)), 2},  // a text ends at a zero byte
  };
  for (const auto& c : cases) EXPECT_EQ(TextLength(c.text), c.length) << c.text.bytes();
}

TEST(LeftRightTextTest, CountRawBytes) {
  struct {
    const char* text;
    int32_t count;
    const char* left;
    const char* right;
  } cases[] = {
      {"abcdef", 2, "ab", "ef"},
      {"abc", 3, "abc", "abc"},
      {"abc", 5, "abc", "abc"},
      {"abc", INT32_MAX, "abc", "abc"},
      {"abc", 0, "", ""},
      {"abc", -1, "", ""},
      {"abc", INT32_MIN, "", ""},
      {"", 2, "", ""},
      {"\xB0\xA1x", 1, "\xB0", "x"},  // may cut a double-byte character
      {"x\xB0\xA1", 1, "x", "\xA1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeftText(c.text, c.count).bytes(), c.left) << c.text << " " << c.count;
    EXPECT_EQ(RightText(c.text, c.count).bytes(), c.right) << c.text << " " << c.count;
  }
}

TEST(MidTextTest, StartAndCountInBytes) {
  struct {
    const char* text;
    int32_t start;
    int32_t count;
    const char* expected;
  } cases[] = {
      {"abcdef", 3, 2, "cd"},
      {"abcdef", 5, 10, "ef"},
      {"abcdef", 1, 6, "abcdef"},
      {"abcdef", 6, 1, "f"},
      {"abc", 3, INT32_MAX, "c"},
      {"abc", 4, 1, ""},
      {"abc", 0, 2, ""},
      {"abc", -1, 2, ""},
      {"abc", INT32_MIN, 2, ""},
      {"abc", 1, 0, ""},
      {"abc", 1, -3, ""},
      {"", 1, 1, ""},
      {"\xB0\xA1\xB2\xA3", 2, 2, "\xA1\xB2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MidText(c.text, c.start, c.count).bytes(), c.expected)
        << c.text << " " << c.start << " " << c.count;
  }
}

TEST(FindTextTest, PositionsStartsAndFlag) {
  struct {
    const char* text;
    const char* sought;
    int32_t start;
    bool ignoreCase;
    int32_t expected;
  } cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 6, false, 6},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "c", INT32_MIN, false, 3},
      {"abcabc", "c", INT32_MAX, false, -1},
      {"abcabc", "bc", 1, false, 2},
      {"abc", "abcd", 1, false, -1},
      {"", "a", 1, false, -1},
      {"ABC", "b", 1, true, 2},
      {"ABC", "b", 1, false, -1},
      {"abc", "B", 1, true, 2},
      {"xUser-Agent:", "user-agent:", 1, true, 2},
      {"\xC1\xC1", "\xE1\xE1", 1, true, -1},  // only ASCII letters fold
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
        << c.text << " / " << c.sought << " start " << c.start << " ignoreCase " << c.ignoreCase;
  }
}

TEST(FindTextTest, StartLeftOutIsOne) {
  EXPECT_EQ(FindText("abcabc", "c"), 3);
  EXPECT_EQ(FindText("ABC", "b"), -1);  // and the flag false
}

TEST(FindTextTest, EmptySoughtIsOneWhenTheRegionHasBytes) {
  struct {
    const char* text;
    int32_t start;
    int32_t expected;
  } cases[] = {
      {"abc", 1, 1}, {"abc", 2, 1}, {"abc", 3, 1}, {"abc", 4, -1},
      {"abc", 0, 1}, {"", 1, -1},   {"", 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, "", c.start), c.expected) << c.text << " start " << c.start;
  }
}

TEST(FindTextTest, MatchesOnlyAtCharacterBoundaries) {
  struct {
    const char* text;
    const char* sought;
    int32_t start;
    bool ignoreCase;
    int32_t expected;
  } cases[] = {
      // The first 0x42 is the second byte of 0xB0 0x42.
      {"\xB0"
       "BB",
       "B", 1, false, 3},
      {"\xB0"
       "B",
       "B", 1, false, -1},
      // Second bytes that are ASCII letters still fold inside the window.
      {"\xB0"
       "A",
       "\xB0"
       "a",
       1, true, 1},
      {"\xB0"
       "A",
       "\xB0"
       "a",
       1, false, -1},
      // Boundaries are counted from the start position.
      {"\xB0\xB0"
       "A",
       "A", 1, false, 3},
      {"\xB0\xA1"
       "A",
       "A", 2, false, -1},
      {"\xB0\xA1"
       "A",
       "A", 3, false, 3},
      {"\xB0\xA1"
       "A",
       "\xA1"
       "A",
       2, false, 2},
      // A lone lead byte is compared at its position, then the walk ends.
      {"a\xB0", "\xB0", 1, false, 2},
      {"\xB0", "\xB0", 1, false, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
        << testing::PrintToString(std::string(c.text)) << " / "
        << testing::PrintToString(std::string(c.sought)) << " start " << c.start;
  }
}

TEST(FindTextReverseTest, LastOccurrenceWhollyBeforeTheLimit) {
  struct {
    const char* text;
    const char* sought;
    std::optional<int32_t> limit;
    bool ignoreCase;
    int32_t expected;
  } cases[] = {
      {"a.b.c", ".", kNone, false, 4},
      {"a.b.c", ".", 4, false, 2},
      {"a.b.c", ".", 2, false, -1},
      {"a.b.c", ".", 5, false, 4},
      {"a.b.c", ".", 6, false, 4},
      {"a.b.c", ".", 100, false, 4},
      {"a.b.c", ".", INT32_MAX, false, 4},
      {"a.b.c", ".", 1, false, -1},
      {"a.b.c", ".", 0, false, -1},
      {"a.b.c", ".", INT32_MIN, false, -1},
      {"ab.", ".", 3, false, -1},  // the region is "ab"
      {"ab.", ".", kNone, false, 3},
      {"ab.", ".", 4, false, 3},
      {"abab", "ab", 4, false, 1},  // "ab" at 3 would end on byte 4
      {"abab", "ab", 5, false, 3},
      {"xAxa", "A", kNone, false, 2},
      {"xAxa", "A", kNone, true, 4},
      {"xAxa", "a", 4, true, 2},
      {"", ".", kNone, false, -1},
      {"abc", "abcd", kNone, false, -1},
      // 0xB0 0x2E is one character: its 0x2E is no dot.
      {"a.\xB0.", ".", kNone, false, 2},
      // A lone lead byte is compared at its position, then the walk ends.
      {"a\xB0", "\xB0", kNone, false, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindTextReverse(c.text, c.sought, c.limit, c.ignoreCase), c.expected)
        << c.text << " / " << c.sought << " limit " << testing::PrintToString(c.limit)
        << " ignoreCase " << c.ignoreCase;
  }
}

TEST(FindTextReverseTest, EmptySoughtIsOneWhenTheRegionHasBytes) {
  struct {
    const char* text;
    std::optional<int32_t> limit;
    int32_t expected;
  } cases[] = {
      {"abc", kNone, 1}, {"abc", 2, 1}, {"abc", 1, -1}, {"abc", 0, -1}, {"", kNone, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindTextReverse(c.text, "", c.limit), c.expected)
        << c.text << " limit " << testing::PrintToString(c.limit);
  }
}

TEST(FindTextReverseTest, WalkingBackOverDots) {
  // Calling again with the position just found gives the occurrence before.
  Text host = "www.a.example.com";
  std::vector<int32_t> dots;
  for (int32_t p = FindTextReverse(host, "."); p != -1; p = FindTextReverse(host, ".", p)) {
    dots.push_back(p);
  }
  EXPECT_EQ(dots, (std::vector<int32_t>{14, 6, 4}));
}

TEST(ReplaceSubtextTest, MatchCaseFlagHasTheOppositeSense) {
  struct {
    const char* text;
    const char* sought;
    const char* replacement;
    bool matchCase;
    const char* expected;
  } cases[] = {
      {"aXbxc", "x", "-", false, "a-b-c"},
      {"aXbxc", "x", "-", true, "aXb-c"},
      {"set-cookie: a\r\nSET-COOKIE: b", "Set-Cookie", "Set-Cookie", false,
       "Set-Cookie: a\r\nSet-Cookie: b"},
      {"set-cookie: a\r\nSet-Cookie: b", "Set-Cookie:", "", false, " a\r\n b"},
      {"http://HTTP://x", "http://", "", true, "HTTP://x"},
      {"a=#引号v#引号", "#引号", "\"", true, "a=\"v\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceSubtext(c.text, c.sought, c.replacement, 1, kNone, c.matchCase).bytes(),
              c.expected)
        << c.text << " / " << c.sought << " matchCase " << c.matchCase;
  }
}

TEST(ReplaceSubtextTest, StartAndCount) {
  struct {
    const char* text;
    const char* sought;
    const char* replacement;
    int32_t start;
    std::optional<int32_t> count;
    const char* expected;
  } cases[] = {
      {"a.b.c", ".", "", 3, kNone, "a.bc"},
      {"a.b.c", ".", "-", 1, 1, "a-b.c"},
      {"a.b.c", ".", "-", 1, 0, "a.b.c"},
      {"a.b.c.d", ".", "-", 1, 2, "a-b-c.d"},
      {"a.b.c", ".", "-", 1, 5, "a-b-c"},
      {"a.b.c", ".", "-", 1, -1, "a-b-c"},  // negative: unlimited
      {"a.b.c", ".", "-", 1, INT32_MIN, "a-b-c"},
      {"a.b.c", ".", "-", 0, kNone, "a-b-c"},
      {"a.b.c", ".", "-", -5, kNone, "a-b-c"},
      {"a.b.c", ".", "-", 2, kNone, "a-b-c"},
      {"a.b.c", ".", "-", 5, kNone, "a.b.c"},
      {"a.b.c", ".", "-", 6, kNone, "a.b.c"},
      {"a.b.c", ".", "-", INT32_MAX, kNone, "a.b.c"},
      {"a.b.c", ".", "-", 3, 1, "a.b-c"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceSubtext(c.text, c.sought, c.replacement, c.start, c.count, true).bytes(),
              c.expected)
        << c.text << " start " << c.start << " count " << testing::PrintToString(c.count);
  }
}

TEST(ReplaceSubtextTest, WalkRules) {
  struct {
    const char* text;
    const char* sought;
    const char* replacement;
    int32_t start;
    const char* expected;
  } cases[] = {
      {"aaa", "aa", "b", 1, "ba"},  // left to right, no overlap
      {"ab", "a", "aa", 1, "aab"},  // a replacement is not searched again
      {"abc", "", "-", 1, "abc"},   // empty sought text
      {"", "a", "-", 1, ""},
      {"abc", "abcd", "-", 1, "abc"},
      {"\xB0"
       "AA",
       "A", "-", 1,
       "\xB0"
       "A-"},  // no match inside a character
      {"\xB0\xB0"
       "A",
       "A", "-", 1, "\xB0\xB0-"},
      {"\xB0\xB0"
       "A",
       "A", "-", 2,
       "\xB0\xB0"
       "A"},  // boundaries counted from the start
      {"a\xB0", "\xB0", "-", 1, "a-"},
      // A lone lead byte that the walk meets is dropped; one the walk
      // never reaches (fewer than M bytes left) stays with the rest.
      {"ab\xB0", "x", "-", 1, "ab"},
      {"ab\xB0", "xy", "-", 1, "ab\xB0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceSubtext(c.text, c.sought, c.replacement, c.start, kNone, true).bytes(),
              c.expected)
        << testing::PrintToString(std::string(c.text)) << " / " << c.sought;
  }
}

TEST(ReplaceSubtextTest, LeftOutArguments) {
  EXPECT_EQ(ReplaceSubtext("aXbxc", "x").bytes(), "abc");  // deletes, case-insensitively
  EXPECT_EQ(ReplaceSubtext("aXbxc", "x", "-").bytes(), "a-b-c");
}

TEST(SplitTextTest, PiecesBetweenSeparators) {
  struct {
    const char* text;
    const char* separator;
    std::optional<int32_t> maxCount;
    std::vector<std::string> expected;
  } cases[] = {
      {"a;b;;c;", ";", kNone, {"a", "b", "", "c"}},
      {";a", ";", kNone, {"", "a"}},
      {"abc", ";", kNone, {"abc"}},
      {"", ";", kNone, {}},
      {";", ";", kNone, {""}},
      {"ab", "", kNone, {"ab"}},
      {"", "", kNone, {}},
      {"a;b;c", ";", 2, {"a", "b"}},
      {"a;b;c", ";", 1, {"a"}},
      {"a;b;c", ";", 3, {"a", "b", "c"}},
      {"a;b;c", ";", 9, {"a", "b", "c"}},
      {"a;b;", ";", 2, {"a", "b"}},
      {"a;b;c", ";", 0, {}},
      {"a;b;c", ";", -1, {}},  // negative counts as 0
      {"ab", "", 0, {}},
      {"l1\r\nl2\r\n\r\nl3", "\r\n", kNone, {"l1", "l2", "", "l3"}},
      {"a=1; b=2;c=3", "; ", kNone, {"a=1", "b=2;c=3"}},
      {"a", ";;", kNone, {"a"}},
      {"aXbxc", "x", kNone, {"aXb", "c"}},  // always case-sensitive
      // 0xB0 0x3B is one character: its 0x3B is no separator.
      {"\xB0;x;y", ";", kNone, {"\xB0;x", "y"}},
      {"a;\xB0", ";", kNone, {"a", "\xB0"}},  // a lone lead byte stays in the rest
      {"a\xB0", "\xB0", kNone, {"a"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Elements(SplitText(c.text, c.separator, c.maxCount)), c.expected)
        << testing::PrintToString(std::string(c.text)) << " at " << c.separator << " max "
        << testing::PrintToString(c.maxCount);
  }
}

TEST(SplitTextTest, SeparatorLeftOutIsComma) {
  EXPECT_EQ(Elements(SplitText("a,b")), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Elements(SplitText("a;b")), (std::vector<std::string>{"a;b"}));
}

TEST(TrimTextTest, SpacesAtBothEnds) {
  struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"  a b ", "a b"},
      {"a \r\n", "a \r\n"},  // the line break ends the text, not a space
      {"\xA1\xA1"
       "a"
       "\xA1\xA1",
       "a"},
      {" \xA1\xA1 a \xA1\xA1 ", "a"},
      {"   ", ""},
      {"\xA1\xA1", ""},
      {"", ""},
      {"abc", "abc"},
      {"\ta\t", "\ta\t"},
      {"a\xA1", "a"},    // a lone lead byte at the end is dropped...
      {"a \xB0", "a "},  // ...and the spaces before it stay
      {"a\xA1\xA1\xA1", "a\xA1\xA1"},
      {"\xB0\xA1\xA1", "\xB0\xA1"},  // 0xA1 0xA1 across a boundary is no space
      {"\xB0 ", "\xB0 "},            // 0xB0 0x20 is one character
      {"\xA1 ", "\xA1 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrimText(c.text).bytes(), c.expected) << testing::PrintToString(std::string(c.text));
  }
}

TEST(RemoveAllSpacesTest, EverySpaceGoes) {
  struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"a b\xA1\xA1"
       "c",
       "abc"},
      {" a\tb\r\n ", "a\tb\r\n"},
      {"\xB0 x", "\xB0 x"},  // 0xB0 0x20 is one character
      {"\xA1\xA1\xA1", ""},  // the lone lead byte at the end is dropped too
      {"ab\xB0", "ab"},
      {"", ""},
      {"a=1; b=2", "a=1;b=2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveAllSpaces(c.text).bytes(), c.expected)
        << testing::PrintToString(std::string(c.text));
  }
}

TEST(ToLowerCaseTest, AsciiLettersOnly) {
  struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"ABC-Def", "abc-def"},
      {"@AZ[`az{", "@az[`az{"},
      {"\xB0"
       "A",
       "\xB0"
       "A"},  // second bytes are not letters
      {"\xB0"
       "AB",
       "\xB0"
       "Ab"},
      {"A\xC1", "a\xC1"},  // a lone lead byte stays
      {"\xC0\xC1X", "\xC0\xC1x"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToLowerCase(c.text).bytes(), c.expected)
        << testing::PrintToString(std::string(c.text));
  }
}

TEST(CompareTextTest, UnsignedByteOrder) {
  struct {
    Text a;
    Text b;
    int sign;
  } cases[] = {
      {Text(), "", 0},  {"", Text(), 0},  {"abc", "abc", 0}, {"a", "b", -1},
      {"b", "a", 1},    {"\xE9", "a", 1}, {"a", "\xE9", -1}, {"ab", "abc", -1},
      {"abc", "ab", 1}, {"A", "a", -1},   {"", "a", -1},
  };
  for (const auto& c : cases) {
    int result = CompareText(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a.bytes() << " vs " << c.b.bytes();
  }
}

TEST(ConcatTextTest, JoinsInOrder) {
  EXPECT_EQ(ConcatText(Text("a"), Text(), Text("b")).bytes(), "ab");
  EXPECT_EQ(ConcatText(Text("完成："), LeftText("50%", 3)).bytes(), "完成：50%");
  EXPECT_EQ(ConcatText(Text(), Text()).bytes(), "");
}

TEST(CharFromCodeTest, LowEightBits) {
  struct {
    int32_t code;
    std::string expected;
  } cases[] = {
      {65, "A"}, {321, "A"}, {0, ""}, {256, ""}, {-1, "\xFF"}, {0xB0, "\xB0"}, {INT32_MIN, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CharFromCode(c.code).bytes(), c.expected) << c.code;
}

TEST(BlankTextTest, SpaceBytes) {
  struct {
    int32_t count;
    std::string expected;
  } cases[] = {
      {3, "   "}, {1, " "}, {0, ""}, {-2, ""}, {5000, std::string(5000, ' ')},
  };
  for (const auto& c : cases) EXPECT_EQ(BlankText(c.count).bytes(), c.expected) << c.count;
}

// The platform gets a null pointer for an absent text and for the empty
// result of an operation, but a pointer for a literal or a joined text.
TEST(HandOverTest, NullOnlyForEmptyOperationResults) {
  struct {
    const char* name;
    Text text;
    const char* expected;  // nullptr: handed over as a null pointer
  } cases[] = {
      {"absent", Text(), nullptr},
      {"empty literal", "", ""},
      {"literal", "abc", "abc"},
      {"CharFromCode(0)", CharFromCode(0), nullptr},
      {"LeftText empty", LeftText("abc", 0), nullptr},
      {"MidText empty", MidText("abc", 9, 1), nullptr},
      {"TrimText empty", TrimText("  "), nullptr},
      {"ReplaceSubtext empty", ReplaceSubtext(Text(), "a"), nullptr},
      {"BlankText(0)", BlankText(0), nullptr},
      {"ConcatText empty", ConcatText(Text(), Text()), ""},
      {"ConcatText", ConcatText(Text("a"), Text("b")), "ab"},
      {"LeftText", LeftText("abc", 2), "ab"},
  };
  for (const auto& c : cases) {
    const char* pointer = c.text.ForPlatform();
    if (c.expected == nullptr) {
      EXPECT_EQ(pointer, nullptr) << c.name;
    } else {
      ASSERT_NE(pointer, nullptr) << c.name;
      EXPECT_STREQ(pointer, c.expected) << c.name;
    }
  }
}

}  // namespace
}  // namespace tsm
