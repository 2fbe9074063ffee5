// Byte buffers and their conversions to and from text.
#include "text/bytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace tsm {
namespace {

Bytes Numbered(int32_t count) {
  Bytes bytes(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
  return bytes;
}

TEST(BlankBytesTest, ZeroBytes) {
  struct {
    int32_t count;
    size_t length;
  } cases[] = {{10240, 10240}, {1024, 1024}, {1, 1}, {0, 0}, {-1, 0}, {INT32_MIN, 0}};
  for (const auto& c : cases) {
    Bytes blank = BlankBytes(c.count);
    EXPECT_EQ(blank, Bytes(c.length, 0)) << c.count;
    EXPECT_EQ(BytesLength(blank), static_cast<int32_t>(c.length)) << c.count;
  }
}

TEST(LeftBytesTest, FirstBytesOfTheBuffer) {
  Bytes read = Numbered(1024);
  struct {
    int32_t count;
    size_t kept;
  } cases[] = {{0, 0}, {300, 300}, {1024, 1024}, {2000, 1024}, {INT32_MAX, 1024}, {-1, 0}, {1, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(LeftBytes(read, c.count), Bytes(read.begin(), read.begin() + c.kept)) << c.count;
  }
  EXPECT_EQ(LeftBytes(Bytes(), 5), Bytes());
}

TEST(ConcatBytesTest, JoinsInOrder) {
  Bytes empty;
  Bytes abc = {1, 2, 3};
  Bytes zeros = {0, 0};
  struct {
    std::initializer_list<ByteView> parts;
    Bytes expected;
  } cases[] = {
      {{empty, empty}, {}},
      {{empty, abc}, {1, 2, 3}},
      {{abc, empty}, {1, 2, 3}},
      {{abc, zeros, abc}, {1, 2, 3, 0, 0, 1, 2, 3}},
  };
  for (const auto& c : cases) EXPECT_EQ(ConcatBytes(c.parts), c.expected);
  EXPECT_EQ(BytesLength(ConcatBytes({empty, empty})), 0);
}

TEST(TextToBytesTest, ExactlyTheTextBytes) {
  struct {
    Text text;
    Bytes expected;
  } cases[] = {
      {"abc", {'a', 'b', 'c'}},  // no terminating zero
      {"", {}},
      {Text(), {}},
      {"完成", {0xCD, 0xEA, 0xB3, 0xC9}},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToBytes(c.text), c.expected) << c.text.bytes();
}

TEST(BytesToTextTest, UpToTheFirstZeroByte) {
  struct {
    Bytes bytes;
    std::string expected;
  } cases[] = {
      {{'a', 'b', 0, 'c'}, "ab"},
      {{0, 'a'}, ""},
      {{'a', 'b', 'c'}, "abc"},
      {{0xB1, 0xEA, 0xCC, 0xE2}, "\xB1\xEA\xCC\xE2"},
      {{}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(BytesToText(c.bytes).bytes(), c.expected);
}

TEST(BytesToTextTest, EmptyResultGoesAsNullPointer) {
  EXPECT_EQ(BytesToText(Bytes{0, 'a'}).ForPlatform(), nullptr);
  EXPECT_EQ(BytesToText(Bytes()).ForPlatform(), nullptr);
}

TEST(BytesHandOverTest, NullPointerForEmpty) {
  Bytes some = {1, 2};
  EXPECT_EQ(ForPlatform(Bytes()), nullptr);
  EXPECT_EQ(ForPlatform(LeftBytes(some, 0)), nullptr);
  EXPECT_EQ(ForPlatform(some), some.data());
}

}  // namespace
}  // namespace tsm
