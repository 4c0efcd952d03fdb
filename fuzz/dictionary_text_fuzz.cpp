// Fuzz target for the dictionary text and its hexadecimal decoder: any UTF-16 text must either be
// refused with a library error or give a dictionary whose own text reads back as the same
// dictionary (keys, order, values and mode), without crashing, hanging, leaking or reading outside
// the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "quorvel/platform/error.h"
#include "quorvel/platform/object.h"
#include "quorvel/text/dictionary_text.h"
#include "quorvel/text/string_dictionary.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size == 0) return 0;
  // The first byte chooses how the rest is read: as UTF-16 units, or byte by byte (each byte one
  // unit), which lets the mutations work on texts like "qvsd 0 6100:" directly.
  const bool wide = data[0] % 2 == 0;
  ++data;
  --size;
  // The text gets its own exact-size heap block so that a read past its end is reported.
  const std::size_t n = wide ? size / 2 : size;
  const std::unique_ptr<char16_t[]> text(new char16_t[n == 0 ? 1 : n]);
  if (wide) {
    std::memcpy(text.get(), data, n * 2);
  } else {
    for (std::size_t i = 0; i < n; ++i) text[i] = data[i];
  }
  const std::u16string_view view(text.get(), n);

  Ref<StringDictionary> first = make<StringDictionary>();
  try {
    first->init_from_text(String(view));
  } catch (const Error&) {
    return 0;  // refused: nothing else to check
  }
  const String written = first->ToString();
  Ref<StringDictionary> second = make<StringDictionary>();
  second->init_from_text(written);  // a library error here escapes and is reported as a crash
  check(second->ToString() == written);
  check(second->get_Count() == first->get_Count());
  const KeyedStore reread = parse_dictionary_text(written.view(), nullptr);
  const KeyedStore original = parse_dictionary_text(view, nullptr);
  check(reread.compare_mode() == original.compare_mode());
  check(reread.entries().size() == original.entries().size());
  for (std::size_t i = 0; i < original.entries().size(); ++i) {
    check(reread.entries()[i].key == original.entries()[i].key);
    check(reread.entries()[i].value == original.entries()[i].value);
  }
  return 0;
}
