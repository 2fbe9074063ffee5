#include "text/number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "text/text_walk.h"

namespace tsm {

namespace {

// Rounds to a double even where the compiler keeps wider intermediates (x87).
double Stored(double value) {
  volatile double stored = value;
  return stored;
}

double PowerOfTen(int64_t exponent) {
  // Exact up to 1e22; beyond that no rounding rule can matter.
  if (exponent <= 22) {
    double power = 1;
    for (int64_t i = 0; i < exponent; ++i) power *= 10;
    return power;
  }
  return std::pow(10.0, exponent);
}

// Full-width forms folded to their ASCII bytes; a lone lead byte at the end
// is dropped.
std::string FoldFullWidth(std::string_view text) {
  std::string folded;
  for (size_t i = 0; i < text.size();) {
    size_t next = NextCharIndex(text, i);
    if (next - i == 1) {
      if (!IsLoneLeadByte(text, i)) folded.push_back(text[i]);
    } else {
      unsigned char lead = static_cast<unsigned char>(text[i]);
      unsigned char trail = static_cast<unsigned char>(text[i + 1]);
      if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
        folded.push_back(static_cast<char>(trail - 0x80));
      } else if (lead == 0xA1 && trail == 0xA1) {
        folded.push_back(' ');
      } else if (lead == 0xA1 && trail == 0xAB) {
        folded.push_back('~');
      } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
        folded.push_back('*');
      } else {
        folded.append(text.substr(i, 2));
      }
    }
    i = next;
  }
  return folded;
}

std::string WithoutTrailingZeros(std::string fraction) {
  fraction.erase(fraction.find_last_not_of('0') + 1);
  return fraction;
}

}  // namespace

int64_t DoubleToInt64(double value) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(value >= -kTwoTo63 && value < kTwoTo63)) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

int32_t DoubleToInt32(double value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(DoubleToInt64(value))));
}

int32_t BitOr(std::initializer_list<int32_t> values) {
  uint32_t bits = 0;
  for (int32_t value : values) bits |= static_cast<uint32_t>(value);
  return static_cast<int32_t>(bits);
}

int32_t BitAnd(std::initializer_list<int32_t> values) {
  if (values.size() == 0) return 0;
  uint32_t bits = ~0u;
  for (int32_t value : values) bits &= static_cast<uint32_t>(value);
  return static_cast<int32_t>(bits);
}

Text NumberToText(int32_t value) { return Text(std::to_string(value)); }

Text NumberToText(int64_t value) { return Text(std::to_string(value)); }

Text NumberToText(double value) {
  char buffer[40];
  if (!std::isfinite(value)) {
    auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return Text(std::string_view(buffer, written.ptr - buffer));
  }
  // The 13 significant digits and the decimal exponent of "%.13g" come from
  // the correctly rounded "%.12e" form, made without the C runtime so that
  // every build writes the same digits.
  auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 12);
  std::string_view form(buffer, written.ptr - buffer);  // [-]d.dddddddddddde±xx
  bool negative = form[0] == '-';
  if (negative) form.remove_prefix(1);
  std::string digits = std::string(1, form[0]) + std::string(form.substr(2, 12));
  int exponent = 0;
  std::string_view exponentText = form.substr(form.find('e') + 1);
  if (exponentText[0] == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

  std::string result = negative ? "-" : "";
  if (exponent < -4 || exponent >= 13) {
    std::string fraction = WithoutTrailingZeros(digits.substr(1));
    result += digits[0];
    if (!fraction.empty()) result += "." + fraction;
    std::string power = std::to_string(std::abs(exponent));
    result += exponent < 0 ? "e-" : "e+";
    result += std::string(power.size() < 3 ? 3 - power.size() : 0, '0') + power;
  } else if (exponent >= 0) {
    std::string fraction = WithoutTrailingZeros(digits.substr(exponent + 1));
    result += digits.substr(0, exponent + 1);
    if (!fraction.empty()) result += "." + fraction;
  } else {
    std::string fraction = WithoutTrailingZeros(std::string(-exponent - 1, '0') + digits);
    result += "0." + fraction;  // never empty: the first digit is not zero
  }
  return Text(result);
}

int32_t TextToInt(const Text& text) {
  std::string folded = FoldFullWidth(text.view());
  size_t i = 0;
  while (i < folded.size() && (folded[i] == ' ' || (folded[i] >= '\t' && folded[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) negative = folded[i++] == '-';
  uint32_t value = 0;  // wraps around on overflow
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    value = value * 10 + static_cast<uint32_t>(folded[i] - '0');
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

double RoundNumber(double x, int32_t decimals) {
  if (x == 0) return x;
  double magnitude = std::fabs(x);
  double scaled = magnitude;
  if (decimals > 0) scaled = Stored(magnitude * PowerOfTen(decimals));
  if (decimals < 0) scaled = Stored(magnitude / PowerOfTen(-static_cast<int64_t>(decimals)));
  double whole = 0;
  double fraction = std::modf(Stored(scaled + 1e-12), &whole);
  double rounded = fraction >= 0.5 ? whole + 1 : whole;
  double result = rounded;
  if (decimals > 0) result = Stored(rounded / PowerOfTen(decimals));
  if (decimals < 0) result = Stored(rounded * PowerOfTen(-static_cast<int64_t>(decimals)));
  return std::copysign(result, x);
}

}  // namespace tsm
