// The number model: 32-bit integers, double arithmetic, and the conversions
// and formatting the rest of the program relies on.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "text/text.h"

namespace tsm {

// A double used as an integer: truncated toward zero to 64 bits; NaN or out
// of range gives -2^63.
int64_t DoubleToInt64(double value);
// A 32-bit integer takes the low 32 bits of DoubleToInt64.
int32_t DoubleToInt32(double value);

int32_t BitOr(std::initializer_list<int32_t> values);
int32_t BitAnd(std::initializer_list<int32_t> values);

Text NumberToText(int32_t value);
Text NumberToText(int64_t value);
// "%.13g" with an exponent of at least three digits: 1e+013, 1e-005.
Text NumberToText(double value);

// Full-width forms folded to ASCII, then C-style leading blanks, sign and
// digits, wrapping around in 32 bits.
int32_t TextToInt(const Text& text);

// Half away from zero after nudging the scaled magnitude by 1e-12.
double RoundNumber(double x, int32_t decimals = 0);

}  // namespace tsm
