// Fuzz target for reading numbers from text: any UTF-16 text, under three locales' separators, must
// read without crashing, hanging or touching memory outside the text; whatever reads as a number
// must write as text that reads again.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

#include "quorvel/platform/number_text.h"

namespace {

using quorvel::ConvStatus;
using quorvel::NumberSeparators;

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const NumberSeparators kLocales[] = {
      {}, {u',', u'.', u"\u20AC"}, {u',', u'\u00A0', u"\u20AC"}, {u'.', u',', u""}};
  const NumberSeparators& seps = kLocales[data[0] % std::size(kLocales)];
  // The text gets its own exact-size heap block so that a read past its end is reported.
  const std::size_t n = (size - 1) / 2;
  const std::unique_ptr<char16_t[]> text(new char16_t[n == 0 ? 1 : n]);
  std::memcpy(text.get(), data + 1, n * 2);
  const std::u16string_view view(text.get(), n);

  char16_t buf[quorvel::kNumberTextCapacity];
  double d = 0;
  if (quorvel::parse_double(view, seps, d) == ConvStatus::Ok) {
    check(std::isfinite(d));
    const std::size_t len = quorvel::format_double(d, seps, buf);
    check(len < quorvel::kNumberTextCapacity);
    double back = 0;
    check(quorvel::parse_double({buf, len}, seps, back) != ConvStatus::TypeMismatch);
  }
  float f = 0;
  if (quorvel::parse_single(view, seps, f) == ConvStatus::Ok) {
    check(std::isfinite(f));
    const std::size_t len = quorvel::format_single(f, seps, buf);
    float back = 0;
    check(quorvel::parse_single({buf, len}, seps, back) != ConvStatus::TypeMismatch);
  }
  std::int32_t l = 0;
  std::int16_t i = 0;
  std::uint8_t b = 0;
  bool t = false;
  if (quorvel::parse_long(view, seps, l) == ConvStatus::Ok) {
    const std::size_t len = quorvel::format_long(l, buf);
    std::int32_t back = 0;
    check(quorvel::parse_long({buf, len}, seps, back) == ConvStatus::Ok && back == l);
  }
  (void)quorvel::parse_integer(view, seps, i);
  (void)quorvel::parse_byte(view, seps, b);
  (void)quorvel::parse_boolean(view, seps, t);
  return 0;
}
