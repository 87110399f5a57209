#include "platform/text_to_float.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <system_error>

namespace quorvin {
namespace {

// A double's rounding is decided by its first 767 significant digits; beyond those only
// "is anything nonzero left" matters. Keeping a few more plus one sticky digit lets a text
// of any length go through a fixed buffer in one pass.
constexpr std::size_t kKeptDigits = 800;

// Far past the point where every nonzero mantissa overflows or underflows; exponent digits
// beyond it cannot change the result and must not overflow the count.
constexpr std::int64_t kExponentLimit = 1'000'000'000;

// With the value written as 0.d1d2... x 10^e (d1 nonzero): above this e it is beyond
// DBL_MAX, below the other it is under half the smallest denormal (about 2.5e-324).
constexpr std::int64_t kOverflowExponent = 310;
constexpr std::int64_t kUnderflowExponent = -330;

// Halfway between FLT_MAX and 2^128: from here on a double rounds to infinity as a float.
constexpr double kFloatInfinityThreshold = 0x1.ffffffp+127;

// The edit and combo box text may come from an IME in full-width mode.
constexpr char16_t FoldFullWidth(char16_t c) {
  if (c >= u'\uFF01' && c <= u'\uFF5E') return static_cast<char16_t>(c - (0xFF01 - 0x21));
  if (c == u'\u3000') return u' ';
  return c;
}

constexpr bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

class FoldedReader {
 public:
  explicit FoldedReader(std::u16string_view text) : text_(text) {}

  // U+0000 past the end: never a digit, sign, point or letter of a number.
  char16_t Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? FoldFullWidth(text_[pos_ + ahead]) : u'\0';
  }
  void Skip(std::size_t count = 1) { pos_ += count; }

 private:
  std::u16string_view text_;
  std::size_t pos_ = 0;
};

// The significant digits of the prefix, condensed: value = 0.digits x 10^exponent.
struct Decimal {
  bool negative = false;
  bool sawDigit = false;
  bool dropped = false;  // a nonzero digit beyond the kept ones
  std::size_t count = 0;
  std::int64_t exponent = 0;
  char digits[kKeptDigits + 1] = {};  // + the sticky digit
};

void AddDigit(Decimal& decimal, char16_t c, bool beforePoint) {
  decimal.sawDigit = true;
  if (decimal.count == 0 && c == u'0') {
    // Leading zeros carry no digits; after the point they move the point.
    if (!beforePoint) --decimal.exponent;
    return;
  }
  if (beforePoint) ++decimal.exponent;
  if (decimal.count < kKeptDigits) {
    decimal.digits[decimal.count++] = static_cast<char>(c);
  } else if (c != u'0') {
    decimal.dropped = true;
  }
}

// The exponent's digits after 'e'/'E' and its sign, saturated at kExponentLimit.
std::int64_t ReadExponent(FoldedReader& reader) {
  bool negative = false;
  if (reader.Peek() == u'+' || reader.Peek() == u'-') {
    negative = reader.Peek() == u'-';
    reader.Skip();
  }
  std::int64_t value = 0;
  while (IsDigit(reader.Peek())) {
    if (value < kExponentLimit) value = value * 10 + (reader.Peek() - u'0');
    reader.Skip();
  }
  return negative ? -value : value;
}

bool StartsExponent(const FoldedReader& reader) {
  if (reader.Peek() != u'e' && reader.Peek() != u'E') return false;
  const char16_t next = reader.Peek(1);
  return IsDigit(next) || ((next == u'+' || next == u'-') && IsDigit(reader.Peek(2)));
}

Decimal ReadDecimalPrefix(std::u16string_view text) {
  FoldedReader reader(text);
  Decimal decimal;
  while (IsBlank(reader.Peek())) reader.Skip();
  if (reader.Peek() == u'+' || reader.Peek() == u'-') {
    decimal.negative = reader.Peek() == u'-';
    reader.Skip();
  }
  while (IsDigit(reader.Peek())) {
    AddDigit(decimal, reader.Peek(), true);
    reader.Skip();
  }
  if (reader.Peek() == u'.') {
    reader.Skip();
    while (IsDigit(reader.Peek())) {
      AddDigit(decimal, reader.Peek(), false);
      reader.Skip();
    }
  }
  if (decimal.sawDigit && StartsExponent(reader)) {
    reader.Skip();
    decimal.exponent += ReadExponent(reader);
  }
  return decimal;
}

// The magnitude of a decimal with at least one nonzero digit, correctly rounded.
double ToDouble(Decimal& decimal) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (decimal.exponent > kOverflowExponent) return kInfinity;
  if (decimal.exponent < kUnderflowExponent) return 0.0;
  if (decimal.dropped) decimal.digits[decimal.count++] = '1';

  // digits x 10^(exponent - count); the digit count is bounded, so this fits an int.
  char text[kKeptDigits + 16];
  std::size_t length = 0;
  for (std::size_t i = 0; i < decimal.count; ++i) text[length++] = decimal.digits[i];
  text[length++] = 'e';
  const int exponent =
      static_cast<int>(decimal.exponent - static_cast<std::int64_t>(decimal.count));
  const std::to_chars_result written = std::to_chars(text + length, text + sizeof(text), exponent);
  length = static_cast<std::size_t>(written.ptr - text);

  double value = 0.0;
  const std::from_chars_result read = std::from_chars(text, text + length, value);
  if (read.ec == std::errc::result_out_of_range) {
    // The value is unspecified then; the exponent's sign tells which way it went.
    return decimal.exponent > 0 ? kInfinity : 0.0;
  }
  if (read.ec != std::errc()) return 0.0;  // cannot happen: the text is well formed
  return value;
}

float ToNearestFloat(double value) {
  // Spelled out rather than left to the cast, for which C++ leaves values beyond the
  // float range implementation-defined at best.
  if (value >= kFloatInfinityThreshold) return std::numeric_limits<float>::infinity();
  if (value <= -kFloatInfinityThreshold) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

}  // namespace

float TextToFloat(std::u16string_view text) {
  Decimal decimal = ReadDecimalPrefix(text);
  if (!decimal.sawDigit) return 0.0f;
  const double magnitude = decimal.count == 0 ? 0.0 : ToDouble(decimal);
  return ToNearestFloat(decimal.negative ? -magnitude : magnitude);
}

std::int32_t TruncateToInt(double value) {
  // The program only passes periods from TextToFloat, but a huge or infinite interval must
  // not be undefined behaviour: saturate, and give NaN 0.
  constexpr double kAboveMax = 2147483648.0;   // 2^31
  constexpr double kBelowMin = -2147483649.0;  // -2^31 - 1
  if (std::isnan(value)) return 0;
  if (value >= kAboveMax) return std::numeric_limits<std::int32_t>::max();
  if (value <= kBelowMin) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace quorvin
