// The number model: double-to-integer conversion, bit operations, number
// formatting, parsing and rounding.
#include "text/number.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace tsm {
namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

TEST(DoubleToIntTest, TruncatesTowardZero) {
  struct {
    double value;
    int64_t as64;
    int32_t as32;
  } cases[] = {
      {7.9, 7, 7},
      {-7.9, -7, -7},
      {-0.5, 0, 0},
      {0.0, 0, 0},
      {2147483647.0, 2147483647, INT32_MAX},
      {2147483648.0, 2147483648LL, INT32_MIN},  // low 32 bits
      {4294967301.5, 4294967301LL, 5},
      {-4294967297.0, -4294967297LL, -1},
      {9223372036854774784.0, 9223372036854774784LL, -1024},  // largest double below 2^63
      {-kTwoTo63, INT64_MIN, 0},
      {kTwoTo63, INT64_MIN, 0},  // out of range
      {1e19, INT64_MIN, 0},
      {-1e19, INT64_MIN, 0},
      {kInfinity, INT64_MIN, 0},
      {-kInfinity, INT64_MIN, 0},
      {kNaN, INT64_MIN, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DoubleToInt64(c.value), c.as64) << c.value;
    EXPECT_EQ(DoubleToInt32(c.value), c.as32) << c.value;
  }
}

TEST(BitOperationsTest, FoldAllArguments) {
  EXPECT_EQ(BitOr({INT32_MIN, 0x10}), static_cast<int32_t>(0x80000010u));
  EXPECT_EQ(BitOr({1, 2, 4, 0x100}), 0x107);
  EXPECT_EQ(BitOr({-1, 0}), -1);
  EXPECT_EQ(BitOr({0x20}), 0x20);
  EXPECT_EQ(BitAnd({6, 4}), 4);
  EXPECT_EQ(BitAnd({3, 4}), 0);
  EXPECT_EQ(BitAnd({-1, 0x7F, 0x0F}), 0x0F);
  EXPECT_EQ(BitAnd({0x20}), 0x20);
  EXPECT_EQ(BitAnd({INT32_MIN, -1}), INT32_MIN);
}

TEST(NumberToTextTest, Integers) {
  EXPECT_EQ(NumberToText(int32_t{45}).bytes(), "45");
  EXPECT_EQ(NumberToText(int32_t{0}).bytes(), "0");
  EXPECT_EQ(NumberToText(int32_t{-5}).bytes(), "-5");
  EXPECT_EQ(NumberToText(int32_t{1048576}).bytes(), "1048576");
  EXPECT_EQ(NumberToText(INT32_MIN).bytes(), "-2147483648");
  EXPECT_EQ(NumberToText(INT32_MAX).bytes(), "2147483647");
  EXPECT_EQ(NumberToText(int64_t{4294967296}).bytes(), "4294967296");
  EXPECT_EQ(NumberToText(INT64_MIN).bytes(), "-9223372036854775808");
}

TEST(NumberToTextTest, DoublesAsPercentPoint13g) {
  struct {
    double value;
    const char* expected;
  } cases[] = {
      {1.5, "1.5"},
      {2.0, "2"},
      {0.1 + 0.2, "0.3"},
      {0.30000000000000004, "0.3"},
      {1234567.891, "1234567.891"},
      {0.0, "0"},
      {0.0001, "0.0001"},
      {123456789012.5, "123456789012.5"},
      {-2.5, "-2.5"},
      {12.0, "12"},
      {12.3, "12.3"},
      {10.0, "10"},
      {1.0 / 3, "0.3333333333333"},  // 13 significant digits
      {2.0 / 3, "0.6666666666667"},  // the last one rounded
      {1234567890123.4, "1234567890123"},
      {9999999999999.0, "9999999999999"},  // exponent 12: still plain
      {0.000123456, "0.000123456"},        // exponent -4: still plain
      {2560.0, "2560"},
      {325.52, "325.52"},
      {-0.0, "-0"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.value).bytes(), c.expected) << c.value;
}

TEST(NumberToTextTest, ExponentFormHasThreeDigits) {
  struct {
    double value;
    const char* expected;
  } cases[] = {
      {1e13, "1e+013"},
      {1e-5, "1e-005"},
      {-1e-5, "-1e-005"},
      {1.234567890123e13, "1.234567890123e+013"},
      {2.5e100, "2.5e+100"},
      {1.5e-7, "1.5e-007"},
      {0.00001234, "1.234e-005"},
      {9999999999999.5, "1e+013"},  // rounding to 13 digits moves the exponent
      {99999999999999.0, "1e+014"},
      {1e-300, "1e-300"},
      {1.7976931348623157e308, "1.797693134862e+308"},
      {5e-324, "4.940656458412e-324"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.value).bytes(), c.expected) << c.value;
}

TEST(NumberToTextTest, NonFiniteValues) {
  EXPECT_EQ(NumberToText(kInfinity).bytes(), "inf");
  EXPECT_EQ(NumberToText(-kInfinity).bytes(), "-inf");
  EXPECT_EQ(NumberToText(kNaN).bytes(), "nan");
}

TEST(TextToIntTest, LeadingNumber) {
  struct {
    Text text;
    int32_t expected;
  } cases[] = {
      {"8080", 8080},
      {"8080/x", 8080},
      {" 42", 42},
      {"\t42", 42},
      {"\n\v\f\r 9", 9},
      {" +7", 7},
      {"-12", -12},
      {"1 2", 1},
      {"", 0},
      {Text(), 0},
      {"abc", 0},
      {"-", 0},
      {"+-3", 0},
      {"x1", 0},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToInt(c.text), c.expected) << c.text.bytes();
}

TEST(TextToIntTest, WrapsAroundIn32Bits) {
  struct {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"4294967297", 1},
      {"2147483648", INT32_MIN},
      {"-2147483649", INT32_MAX},
      {"4294967296", 0},
      {"99999999999", static_cast<int32_t>(99999999999LL % 4294967296LL)},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToInt(c.text), c.expected) << c.text;
}

TEST(TextToIntTest, FullWidthFormsFold) {
  struct {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"\xA3\xB1\xA3\xB2", 12},  // full-width 1 2
      {"\xA3\xB1"
       "2",
       12},
      {"1\xA3\xB2", 12},
      {"\xA1\xA1"
       "5",
       5},                       // full-width space is skipped
      {"\xA3\xAD\xA3\xB5", -5},  // full-width minus
      {"\xA3\xAB"
       "5",
       5},  // full-width plus
      {"\xA3\xA0"
       "5",
       0},  // 0xA3 0xA0 is not folded
      {"\xB0\xB1"
       "1",
       0},  // other double-byte characters stay
      {"\xB0"
       "1",
       0},  // 0xB0 0x31 is one character
      {"7\xA3", 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToInt(c.text), c.expected) << testing::PrintToString(std::string(c.text));
  }
}

TEST(RoundNumberTest, HalfAwayFromZeroAfterTheNudge) {
  struct {
    double x;
    int32_t decimals;
    double expected;
  } cases[] = {
      {2.675, 2, 2.68},  // plain rounding of the binary value gives 2.67
      {1.005, 2, 1.01},  // and 1.0 here
      {0.125, 2, 0.13},
      {-2.675, 2, -2.68},
      {1234.5678, 2, 1234.57},
      {0.0049, 2, 0.0},
      {2.5, 0, 3.0},
      {-2.5, 0, -3.0},
      {7.49, 0, 7.0},
      {0.4999999999995, 0, 1.0},  // 1e-12 carries it over the half
      {0.49999999999, 0, 0.0},
      {1250.0, -2, 1300.0},
      {1249.0, -2, 1200.0},
      {-1250.0, -2, -1300.0},
      {1.23456, 4, 1.2346},
      // Too large for the nudge to count: an exact half still goes up.
      {16384.5, 0, 16385.0},
      {-16384.5, 0, -16385.0},
      {163840.125, 2, 163840.13},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundNumber(c.x, c.decimals), c.expected) << c.x << " to " << c.decimals;
  }
}

TEST(RoundNumberTest, DecimalsLeftOutIsZero) { EXPECT_EQ(RoundNumber(2.5), 3.0); }

TEST(RoundNumberTest, ZeroKeepsItsSign) {
  EXPECT_FALSE(std::signbit(RoundNumber(0.0, 2)));
  EXPECT_TRUE(std::signbit(RoundNumber(-0.0, 2)));
}

// What the status bar shows: sizes in megabytes and speeds in KB/s.
TEST(RoundNumberTest, ShownWithTwoDecimals) {
  struct {
    double value;
    const char* shown;
  } cases[] = {
      {10485760 / 1048576.0, "10"},
      {5242880 / 1048576.0, "5"},
      {1000000 / 1048576.0, "0.95"},
      {333333 / 1048576.0, "0.32"},
      {333333 * 1000.0 / 1024 / 1000, "325.52"},
      {1048575 / 1048576.0, "1"},
      {1048575 * 1000.0 / 1024 / 500, "2048"},
      {512000 / 1048576.0, "0.49"},
      {10240 / 1048576.0, "0.01"},
      {0.0049, "0"},
      {1.005, "1.01"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberToText(RoundNumber(c.value, 2)).bytes(), c.shown) << c.value;
  }
}

TEST(RoundNumberTest, NeverShowsMoreThanTwoDecimalsBelow1e11) {
  // Sizes in megabytes and speeds over a wide spread of magnitudes.
  for (double base : {1.0, 1048576.0, 1024.0, 3.0, 7.0, 1000.0}) {
    for (double value = 0.000123; value < 1e11; value = value * 1.37 + 0.0071) {
      std::string shown = NumberToText(RoundNumber(value / base, 2)).bytes();
      size_t point = shown.find('.');
      ASSERT_EQ(shown.find('e'), std::string::npos) << value / base << " -> " << shown;
      if (point != std::string::npos) {
        EXPECT_LE(shown.size() - point - 1, 2u) << value / base << " -> " << shown;
      }
    }
  }
}

}  // namespace
}  // namespace tsm
