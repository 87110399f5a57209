#include "platform/text_to_float.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace quorvin {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// The text as it would be typed, non-ASCII units as \uXXXX; long texts shortened.
std::string Describe(std::u16string_view text) {
  constexpr std::size_t kShown = 60;
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
    const char16_t c = text[i];
    if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04X", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  if (text.size() > kShown) out += "...(" + std::to_string(text.size()) + " units)";
  return out + "\"";
}

std::string Describe(float value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.9g (%a)", static_cast<double>(value),
                static_cast<double>(value));
  return text;
}

// Bit for bit, so that -0 and +0 differ and infinities compare.
void ExpectParses(std::u16string_view text, float want) {
  const float got = TextToFloat(text);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(want))
      << "TextToFloat(" << Describe(text) << ") = " << Describe(got) << ", want "
      << Describe(want);
}

struct ParseCase {
  std::u16string_view text;
  float want;
};

// The interval combo box's items and the click periods (ms) the program derives from them.
// Float first, then a product in double, then truncation: the small items lose a millisecond.
TEST(TextToFloat, IntervalItemsGiveTheirPeriods) {
  struct PeriodCase {
    std::u16string_view item;
    std::int32_t periodMs;
  };
  constexpr PeriodCase kCases[] = {
      {u"0.01", 9},    {u"0.02", 19},   {u"0.03", 29},   {u"0.04", 39},   {u"0.05", 50},
      {u"0.1", 100},   {u"0.2", 200},   {u"0.5", 500},   {u"1", 1000},    {u"2", 2000},
      {u"3", 3000},    {u"4", 4000},    {u"5", 5000},    {u"6", 6000},    {u"7", 7000},
      {u"8", 8000},    {u"9", 9000},    {u"10", 10000},  {u"", 0},
  };
  for (const PeriodCase& c : kCases) {
    const std::int32_t got = TruncateToInt(static_cast<double>(TextToFloat(c.item)) * 1000.0);
    EXPECT_EQ(got, c.periodMs) << "item " << Describe(c.item) << ": period " << got << " ms, want "
                               << c.periodMs;
  }
}

TEST(TextToFloat, ReadsTheLongestNumberPrefix) {
  constexpr ParseCase kCases[] = {
      {u"", 0.0f},
      {u"0", 0.0f},
      {u"7", 7.0f},
      {u"1.5", 1.5f},
      {u"   1.5", 1.5f},
      {u"\t\r\n\v\f7", 7.0f},
      {u"+2", 2.0f},
      {u"-2", -2.0f},
      {u"-0", -0.0f},
      {u"-0.000", -0.0f},
      {u"000123.2500", 123.25f},
      {u".5", 0.5f},
      {u"5.", 5.0f},
      {u"+.5", 0.5f},
      {u"-.25", -0.25f},
      {u"1.2.3", 1.2f},
      {u"1.5abc", 1.5f},
      {u"1 000", 1.0f},
      {u"1e3", 1000.0f},
      {u"1E3", 1000.0f},
      {u"1e+2", 100.0f},
      {u"2.5e-1", 0.25f},
      {u"1.e2", 100.0f},
      {u".5e1", 5.0f},
      {u"1e", 1.0f},
      {u"1e+", 1.0f},
      {u"1e-", 1.0f},
      {u"1ex", 1.0f},
      {u"1e+x", 1.0f},
      {u"1e3.5", 1000.0f},
      {u"1e0000000000000000000000000003", 1000.0f},
      // No digit in the mantissa: no number.
      {u"..5", 0.0f},
      {u"-", 0.0f},
      {u".", 0.0f},
      {u"-.", 0.0f},
      {u"e5", 0.0f},
      {u".e5", 0.0f},
      {u"+-1", 0.0f},
      {u"- 1", 0.0f},
      {u" ", 0.0f},
      {u"abc", 0.0f},
      // Only decimal numbers.
      {u"0x10", 0.0f},
      {u"inf", 0.0f},
      {u"-inf", 0.0f},
      {u"infinity", 0.0f},
      {u"nan", 0.0f},
      {u"NAN(1)", 0.0f},
      // Full-width forms are their ASCII twins; other blanks and digits are not.
      {u"\uFF10\uFF0E\uFF15", 0.5f},
      {u"\uFF11\uFF12", 12.0f},
      {u"\u30002", 2.0f},
      {u"\u3000\u3000\uFF0D\uFF13", -3.0f},
      {u"\uFF0B\uFF0E\uFF15", 0.5f},
      {u"\uFF11\uFF45\uFF13", 1000.0f},
      {u"\uFF13e\uFF12", 300.0f},
      {u"\uFF19\uFF25\uFF0B\uFF11", 90.0f},
      {u"\u00A01", 0.0f},
      {u"\u0661", 0.0f},
      {u"1\uFF0E5", 1.5f},
      // Beyond the double range.
      {u"1e400", kInfinity},
      {u"-1e400", -kInfinity},
      {u"1e-400", 0.0f},
      {u"-1e-400", -0.0f},
      {u"1e99999999999999999999", kInfinity},
      {u"1e-99999999999999999999", 0.0f},
      {u"0e99999999999999999999", 0.0f},
      {u"1.7976931348623159e308", kInfinity},
      {u"2e-324", 0.0f},
      // Within the double range, beyond the float range.
      {u"1e39", kInfinity},
      {u"-1e39", -kInfinity},
      {u"1e-46", 0.0f},
  };
  for (const ParseCase& c : kCases) ExpectParses(c.text, c.want);
}

// To the nearest double first, then to the nearest float.
TEST(TextToFloat, RoundsToDoubleThenToFloat) {
  constexpr ParseCase kCases[] = {
      {u"0.1", 0x1.99999ap-4f},
      {u"16777216", 16777216.0f},
      {u"16777217", 16777216.0f},  // tie, to even
      {u"16777219", 16777220.0f},  // tie, to even
      {u"16777217.000001", 16777218.0f},
      {u"3.4028235e38", std::numeric_limits<float>::max()},
      {u"3.40282356e38", std::numeric_limits<float>::max()},
      {u"3.4028236e38", kInfinity},
      {u"1.4e-45", 0x1p-149f},
      {u"7.1e-46", 0x1p-149f},
      {u"7e-46", 0.0f},
      // 1 + 2^-24 exactly, halfway between two floats: to even.
      {u"1.000000059604644775390625", 1.0f},
      // Just above that halfway point. Rounded directly it would give the float above, but its
      // nearest double is the halfway point itself, which goes to even.
      {u"1.000000059604644776390625", 1.0f},
      // 1 + 2^-24 + 2^-53, halfway between two doubles; the lower is even, the upper one is
      // past the float halfway point.
      {u"1.00000005960464488641292746251565404236316680908203125", 1.0f},
      {u"1.00000005960464488641292746251565404236316680908203126", 0x1.000002p+0f},
      // 2^128 - 2^103 - 1: below the float overflow point, but its nearest double is that point.
      {u"340282356779733661637539395458142568447", kInfinity},
  };
  for (const ParseCase& c : kCases) ExpectParses(c.text, c.want);
}

// Long texts go through a bounded buffer; each digit still counts.
TEST(TextToFloat, LongDigitStrings) {
  const std::u16string zeros(40000, u'0');
  const std::u16string halfway = u"1.00000005960464488641292746251565404236316680908203125";
  const struct {
    std::u16string text;
    float want;
  } kCases[] = {
      {u"1" + zeros + u"e-40000", 1.0f},
      {zeros + u"2.5", 2.5f},
      {u"0." + zeros + u"15e40001", 1.5f},
      {u"0." + zeros + u"1", 0.0f},
      {u"-0." + zeros + u"1", -0.0f},
      {std::u16string(50000, u'9'), kInfinity},
      {u"-" + std::u16string(50000, u'9') + u"e-49950", -kInfinity},  // -1e50
      {u"1" + zeros + u"e-40039", 0x1.5c73p-130f},  // 1e-39, a float denormal
      {halfway + zeros, 1.0f},
      // A nonzero digit far beyond the halfway point still breaks the tie.
      {halfway + zeros + u"1", 0x1.000002p+0f},
      {halfway + zeros + u"1" + zeros, 0x1.000002p+0f},
      {std::u16string(30000, u'1') + u"e-29990", 0x1.08e8d8p+30f},  // 1111111111.1...
      {u"1" + std::u16string(30000, u'e'), 1.0f},
      {u"1e" + zeros + u"3", 1000.0f},
      {std::u16string(30000, u' ') + u"4", 4.0f},
  };
  for (const auto& c : kCases) ExpectParses(c.text, c.want);
}

TEST(TruncateToInt, TruncatesTowardZeroAndSaturates) {
  struct TruncateCase {
    double value;
    std::int32_t want;
  };
  constexpr double kDoubleInfinity = std::numeric_limits<double>::infinity();
  constexpr TruncateCase kCases[] = {
      {0.0, 0},
      {-0.0, 0},
      {2.9, 2},
      {-2.9, -2},
      {0.9999, 0},
      {-0.9999, 0},
      {9.999999776482582, 9},
      {1000.0, 1000},
      {2147483647.0, kIntMax},
      {2147483647.9, kIntMax},
      {2147483648.0, kIntMax},
      {1e300, kIntMax},
      {kDoubleInfinity, kIntMax},
      {-2147483648.0, kIntMin},
      {-2147483648.9, kIntMin},
      {-2147483649.0, kIntMin},
      {-1e300, kIntMin},
      {-kDoubleInfinity, kIntMin},
      {2147483646.5, 2147483646},
      {-2147483647.5, -2147483647},
  };
  for (const TruncateCase& c : kCases) {
    EXPECT_EQ(TruncateToInt(c.value), c.want) << "TruncateToInt(" << c.value << ")";
  }
  EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0) << "TruncateToInt(NaN)";
}

}  // namespace
}  // namespace quorvin
