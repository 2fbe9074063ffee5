#include "http/cookies.h"

#include <gtest/gtest.h>

#include <string>

namespace tsm {
namespace {

// Both cookie strings before the merge, and both after it.
struct MergeCase {
  const char* oldCookies;
  const char* newCookies;
  const char* merged;
  const char* newAfter;
};

const MergeCase kMerges[] = {
    {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
    {"", "sid=9; lang=cn", "sid=9; lang=cn", "sid=9;lang=cn"},
    {"a=1; b=2", "", "a=1; b=2", ""},
    {"", "", "", ""},
    // The response's deleted entry hides the old one and is dropped itself.
    {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
    {"a=1; b=deleted", "c=3", "c=3; a=1", "c=3"},
    {"a=1; a=2", "", "a=1", ""},
    {"", "x=1; x=1", "x=1", "x=1;x=1"},
    {"", "x=1; x=2", "x=1; x=2", "x=1;x=2"},
    {"a=1", "A=5", "A=5; a=1", "A=5"},
    {"msg=hello world", "", "msg=helloworld", ""},
    {"a=1;;b=2", "", "a=1; ; b=2", ""},
    {"a=1;", "", "a=1", ""},
    {"x=Deleted", "", "x=Deleted", ""},
    {"=deleted", "", "", ""},
    // Full-width spaces go too; tabs are not spaces.
    {"a=1;\xA1\xA1"
     "b=2",
     "c=\t3", "c=\t3; a=1; b=2", "c=\t3"},
    {"  sid = 9 ; lang=cn", "lang = en", "lang=en; sid=9", "lang=en"},
    // A deleted entry of the response takes the old entry of its name with it.
    {"a=1; b=2; c=3", "b=deleted; d=4", "d=4; a=1; c=3", "b=deleted;d=4"},
    // An entry without "=" is a name alone.
    {"flag; a=1", "flag", "flag; a=1", "flag"},
};

TEST(MergeCookies, Table) {
  for (const MergeCase& c : kMerges) {
    SCOPED_TRACE(std::string("old=\"") + c.oldCookies + "\" new=\"" + c.newCookies + "\"");
    Text oldCookies = c.oldCookies;
    Text newCookies = c.newCookies;
    const Text result = MergeCookies(oldCookies, newCookies);
    EXPECT_EQ(oldCookies.bytes(), c.merged);
    EXPECT_EQ(newCookies.bytes(), c.newAfter);
    EXPECT_EQ(result.bytes(), c.merged);
  }
}

TEST(MergeCookies, MergedStringWorksAsAJar) {
  Text jar = "sid=1; lang=cn";
  Text response = "sid=2";
  MergeCookies(jar, response);
  response = "lang=deleted; theme=dark";
  MergeCookies(jar, response);
  EXPECT_EQ(jar.bytes(), "theme=dark; sid=2");
}

TEST(CookieName, Table) {
  const struct {
    const char* entry;
    const char* name;
  } cases[] = {
      {"a=1", "a"},     {" a =1", "a"},     {"a=b=c", "a"},
      {"flag", "flag"}, {" flag ", "flag"}, {"=x", ""},
      {"", ""},         {"A=1", "A"},       {"\xA1\xA1k\xA1\xA1=v", "k"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(CookieName(c.entry).bytes(), c.name);
  }
}

TEST(ListHasCookieName, Table) {
  const TextList list = {"a=1", " b = 2", "flag", ""};
  const struct {
    const char* name;
    bool found;
  } cases[] = {
      {"a", true},  {"b", true},    {"flag", true}, {"", true},
      {"A", false}, {"a=1", false}, {"fla", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ListHasCookieName(list, c.name), c.found);
  }
  EXPECT_FALSE(ListHasCookieName(TextList(), ""));
  EXPECT_FALSE(ListHasCookieName(TextList(), "a"));
}

TEST(JoinDistinct, Table) {
  const struct {
    const char* text;
    const char* separator;
    const char* joined;
  } cases[] = {
      {"p; q; p", "; ", "p; q"},
      {"a,b,a,c,b", ",", "a,b,c"},
      {"a;;a;", ";", "a;"},
      {"x", "; ", "x"},
      {"", "; ", ""},
      {"ab", "", "ab"},
      {"P; p", "; ", "P; p"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.separator);
    EXPECT_EQ(JoinDistinct(c.text, c.separator).bytes(), c.joined);
  }
}

TEST(FindInList, Table) {
  const TextList list = {"a", "b", "a", "", "B"};
  const struct {
    const char* item;
    int32_t index;
  } cases[] = {{"a", 1}, {"b", 2}, {"", 4}, {"B", 5}, {"c", -1}, {"a ", -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(FindInList(list, c.item), c.index);
  }
  EXPECT_EQ(FindInList(TextList(), ""), -1);
  EXPECT_EQ(FindInList(TextList(), "a"), -1);
}

}  // namespace
}  // namespace tsm
