// Feeds arbitrary UTF-16 text (the input bytes as little-endian code units) to TextToFloat and
// checks what must hold for every text. Built for the Linux host only; strtod serves as an
// independent reader for texts that only hold characters both grammars agree on.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text_to_float.h"

namespace {

using quorvin::TextToFloat;

[[noreturn]] void Fail(const char* what, float got, float want) {
  std::fprintf(stderr, "%s: got %a, want %a\n", what, static_cast<double>(got),
               static_cast<double>(want));
  std::abort();
}

void ExpectSameBits(const char* what, float got, float want) {
  if (std::bit_cast<std::uint32_t>(got) != std::bit_cast<std::uint32_t>(want)) {
    Fail(what, got, want);
  }
}

std::u16string FoldedFullWidth(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) {
    if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFEE0);
    if (c == 0x3000) c = u' ';
  }
  return folded;
}

// Only characters that decimal numbers and blanks are made of, where strtod's grammar (in the
// C locale, which a fresh process has) is the same as ours.
bool HasOnlyPlainNumberCharacters(std::u16string_view text) {
  constexpr std::u16string_view kAllowed = u"0123456789.+-eE \t\n\v\f\r";
  for (char16_t c : text) {
    if (kAllowed.find(c) == std::u16string_view::npos) return false;
  }
  return true;
}

float ReadWithStrtod(std::u16string_view text) {
  const std::string narrow(text.begin(), text.end());
  return static_cast<float>(std::strtod(narrow.c_str(), nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }

  const float value = TextToFloat(text);
  if (std::isnan(value)) Fail("NaN", value, 0.0f);

  ExpectSameBits("with leading blanks", TextToFloat(u" \t\r\n\v\f\u3000" + text), value);
  ExpectSameBits("full-width forms folded", TextToFloat(FoldedFullWidth(text)), value);
  // A letter that can never continue a number.
  ExpectSameBits("with trailing junk", TextToFloat(text + u"x"), value);

  if (!text.empty() && ((text[0] >= u'0' && text[0] <= u'9') || text[0] == u'.')) {
    // By value: "." is +0 and so is "-.".
    const float negated = TextToFloat(u"-" + text);
    if (!(negated == -value)) Fail("with a minus sign", negated, -value);
  }

  if (HasOnlyPlainNumberCharacters(text)) {
    ExpectSameBits("as strtod reads it", value, ReadWithStrtod(text));
  }
  return 0;
}
