#include "app/file_name_guard.h"

#include <gtest/gtest.h>

namespace tsm {
namespace {

TEST(IsPlainFileName, RefusesSeparatorsDrivesStreamsAndDevices) {
  const struct {
    const char* name;
    bool plain;
  } cases[] = {
      {"Villa 17564", true},
      {"别墅CAD图纸 17564", true},
      {"", true},  // left to the file system: opening it fails with its own notice
      {"  spaced  ", true},
      {"a.rar", true},
      // GBK characters whose second byte is 0x5C are not separators.
      {"\x81\x5C", true},
      {"乗俓.txt", true},
      {"x\x81\x5C\x82\x5Cy", true},
      {"..\\evil", false},
      {"sub/evil", false},
      {"/etc/passwd", false},
      {"C:evil", false},
      {"file:stream", false},
      {"\x81\x5C\\x", false},  // a real backslash after a two-byte character
      {"\x81"
       "a\\",
       false},  // the lead byte takes 'a'; the backslash stands alone
      {"CON", false},
      {"con", false},
      {"Nul.txt", false},
      {"aux.tar.gz", false},
      {"PRN ", false},
      {"COM1", false},
      {"lpt9.rar", false},
      {"COM0", true},
      {"COM10", true},
      {"CONSOLE", true},
      {"xcon", true},
      {"LPT", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPlainFileName(Text(c.name)), c.plain) << c.name;
  }
}

}  // namespace
}  // namespace tsm
