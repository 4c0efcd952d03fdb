// Binary and text string order. The text order is an ICU collator per thread and locale, tailored
// towards the platform's word sort; all-ASCII strings take a table of weights derived from that
// very collator, because most strings a caller sorts are ASCII and ICU's general path is slower.
#include "quorvel/platform/collation.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/platform/locale.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {
namespace {

// Put in front of every locale's own rules (which may override them, as Danish does for æ):
// - hyphen and apostrophe weigh nothing among the letters and count only after them, so "coop"
//   sorts before "co-op" and "a-c" after "ab", as in the platform's word sort;
// - the letters that the platform expands, the ligatures æ and œ and the sharp s (ß, capital ẞ),
//   are their two letters, apart at the tertiary level only, which the text order ignores; ICU
//   sets them apart at the secondary level, as if accented.
constexpr std::u16string_view kWordSortRules =
    u"&[last primary ignorable]<<'-'<<'' "
    u"&ae<<<\u00E6<<<\u00C6 &oe<<<\u0153<<<\u0152 &ss<<<\u00DF<<<\u1E9E ";

struct CollatorCloser {
  void operator()(UCollator* collator) const noexcept { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

/// What each ASCII unit weighs at the two levels: a primary rank and a secondary weight, where 0
/// means none (the unit is skipped at that level).
struct AsciiWeights {
  std::array<std::uint16_t, 128> primary{};
  std::array<std::uint16_t, 128> secondary{};
  // The units that take part in no contraction or prefix context, not even with units beyond
  // ASCII: each weighs the same beside any neighbour.
  std::array<bool, 128> context_free{};
};

struct TextCollator {
  CollatorPtr collator;
  bool has_ascii_table = false;
  AsciiWeights ascii{};
};

/// The thread's collators, one per locale id met; the last one answers a repeated id at once.
struct CollatorCache {
  Lcid last_lcid = 0;
  const TextCollator* last = nullptr;
  std::vector<std::pair<Lcid, std::unique_ptr<TextCollator>>> built;
};

const UChar* units(std::u16string_view text) noexcept { return text.empty() ? u"" : text.data(); }

std::int32_t length32(std::u16string_view text) noexcept {
  return static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
}

int sign(UCollationResult result) noexcept {
  return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

CollatorPtr open_collator(const std::string& locale_id) {
  UErrorCode status = U_ZERO_ERROR;
  CollatorPtr base(ucol_open(locale_id.empty() ? "root" : locale_id.c_str(), &status));
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    base.reset(ucol_open("root", &status));
    if (U_FAILURE(status)) throw std::bad_alloc();
  }
  std::int32_t own_length = 0;
  const UChar* own_rules = ucol_getRules(base.get(), &own_length);
  std::u16string rules(kWordSortRules);
  rules.append(own_rules, static_cast<std::size_t>(own_length));

  CollatorPtr tailored(ucol_openRules(rules.data(), static_cast<std::int32_t>(rules.size()),
                                      UCOL_DEFAULT, UCOL_SECONDARY, nullptr, &status));
  // Should ICU refuse the combined rules, the locale's own order still serves.
  CollatorPtr collator = U_SUCCESS(status) ? std::move(tailored) : std::move(base);
  status = U_ZERO_ERROR;
  ucol_setStrength(collator.get(), UCOL_SECONDARY);
  ucol_setAttribute(collator.get(), UCOL_CASE_LEVEL, UCOL_OFF, &status);
  return collator;
}

/// True when some contraction or prefix context of `collator` is made of ASCII units only: then
/// in an ASCII string one unit's weight may depend on its neighbours and no per-unit table can
/// stand in for the collator. Contexts with any other unit (root's "l" + U+00B7) never match
/// within ASCII text; their ASCII units are marked in `in_context`.
bool has_ascii_context(const UCollator* collator, std::array<bool, 128>& in_context) {
  UErrorCode status = U_ZERO_ERROR;
  struct SetCloser {
    void operator()(USet* set) const noexcept { uset_close(set); }
  };
  const std::unique_ptr<USet, SetCloser> contexts(uset_openEmpty());
  ucol_getContractionsAndExpansions(collator, contexts.get(), nullptr, true, &status);
  if (U_FAILURE(status)) return true;
  const std::int32_t count = uset_getItemCount(contexts.get());
  for (std::int32_t i = 0; i < count; ++i) {
    UChar32 start = 0;
    UChar32 end = 0;
    UChar text[64];
    status = U_ZERO_ERROR;
    const std::int32_t length = uset_getItem(contexts.get(), i, &start, &end, text, 64, &status);
    if (U_FAILURE(status)) return true;
    if (length == 0 && start < 0x80) return true;
    if (length > 0 && std::all_of(text, text + length, [](UChar unit) { return unit < 0x80; })) {
      return true;
    }
    for (std::int32_t at = 0; at < length; ++at) {
      if (text[at] < 0x80) in_context[text[at]] = true;
    }
  }
  return false;
}

/// The one collation element of `unit` as primary and secondary weight; false when the unit has
/// more than one element (an expansion).
bool single_element(const UCollator* collator, UChar unit, std::uint32_t& primary,
                    std::uint32_t& secondary) {
  UErrorCode status = U_ZERO_ERROR;
  struct ElementsCloser {
    void operator()(UCollationElements* elements) const noexcept { ucol_closeElements(elements); }
  };
  const std::unique_ptr<UCollationElements, ElementsCloser> elements(
      ucol_openElements(collator, &unit, 1, &status));
  if (U_FAILURE(status)) return false;
  // ICU hands out each 64-bit element as a first half (upper primary bytes, upper secondary byte)
  // and, when the lower bytes are not zero, a continuation half marked by 0xC0 in its low byte.
  int count = 0;
  primary = 0;
  secondary = 0;
  for (;;) {
    const std::int32_t half = ucol_next(elements.get(), &status);
    if (U_FAILURE(status)) return false;
    if (half == UCOL_NULLORDER) break;
    const auto bits = static_cast<std::uint32_t>(half);
    if ((bits & 0xC0u) == 0xC0u) {
      if (count != 1) return false;
      primary |= bits >> 16;
      secondary |= (bits >> 8) & 0xFFu;
      continue;
    }
    if (++count > 1) return false;
    primary = bits & 0xFFFF0000u;
    secondary = bits & 0xFF00u;
  }
  return true;
}

/// Fills `table` when a per-unit table provably orders all-ASCII strings as `collator` does:
/// each unit stands alone (no all-ASCII contraction or prefix context, at most one collation
/// element) and the levels are compared plainly (no French secondary, no numeric order, no
/// shifted punctuation, no case level). Primary ranks come from the collator's own order of the
/// single units, so that script reordering is already applied.
bool fill_ascii_table(const UCollator* collator, AsciiWeights& table) {
  UErrorCode status = U_ZERO_ERROR;
  const bool plain =
      ucol_getStrength(collator) == UCOL_SECONDARY &&
      ucol_getAttribute(collator, UCOL_FRENCH_COLLATION, &status) == UCOL_OFF &&
      ucol_getAttribute(collator, UCOL_ALTERNATE_HANDLING, &status) == UCOL_NON_IGNORABLE &&
      ucol_getAttribute(collator, UCOL_CASE_LEVEL, &status) == UCOL_OFF &&
      ucol_getAttribute(collator, UCOL_NUMERIC_COLLATION, &status) == UCOL_OFF;
  std::array<bool, 128> in_context{};
  if (!plain || U_FAILURE(status) || has_ascii_context(collator, in_context)) return false;
  for (std::size_t unit = 0; unit < 128; ++unit) table.context_free[unit] = !in_context[unit];

  std::array<std::uint32_t, 128> raw_primary{};
  for (UChar unit = 0; unit < 128; ++unit) {
    std::uint32_t secondary = 0;
    if (!single_element(collator, unit, raw_primary[unit], secondary)) return false;
    table.secondary[unit] = static_cast<std::uint16_t>(secondary);
  }

  CollatorPtr primary_only(ucol_clone(collator, &status));
  if (U_FAILURE(status)) return false;
  ucol_setStrength(primary_only.get(), UCOL_PRIMARY);
  const auto compare = [&](UChar x, UChar y) {
    return ucol_strcoll(primary_only.get(), &x, 1, &y, 1);
  };
  std::vector<UChar> weighted;
  for (UChar unit = 0; unit < 128; ++unit) {
    const bool no_primary = ucol_strcoll(primary_only.get(), &unit, 1, u"", 0) == UCOL_EQUAL;
    if (no_primary != (raw_primary[unit] == 0)) return false;
    if (!no_primary) weighted.push_back(unit);
  }
  std::sort(weighted.begin(), weighted.end(),
            [&](UChar x, UChar y) { return compare(x, y) == UCOL_LESS; });
  std::uint16_t rank = 0;
  for (std::size_t i = 0; i < weighted.size(); ++i) {
    if (i == 0 || compare(weighted[i - 1], weighted[i]) != UCOL_EQUAL) ++rank;
    table.primary[weighted[i]] = rank;
  }
  return true;
}

std::unique_ptr<TextCollator> build(Lcid lcid) {
  auto text = std::make_unique<TextCollator>();
  text->collator = open_collator(icu_locale_id(lcid));
  text->has_ascii_table = fill_ascii_table(text->collator.get(), text->ascii);
  return text;
}

const TextCollator& find_or_build(CollatorCache& cache, Lcid lcid) {
  auto it = std::find_if(cache.built.begin(), cache.built.end(),
                         [lcid](const auto& entry) { return entry.first == lcid; });
  if (it == cache.built.end()) {
    cache.built.emplace_back(lcid, build(lcid));
    it = std::prev(cache.built.end());
  }
  cache.last_lcid = lcid;
  cache.last = it->second.get();
  return *cache.last;
}

// Inline, as it runs before every comparison: the usual call repeats the last locale.
inline const TextCollator& text_collator() {
  ThreadContext& context = this_thread_context();
  auto& cache = context.slot<CollatorCache>();
  if (cache.last != nullptr && cache.last_lcid == context.lcid) [[likely]] return *cache.last;
  return find_or_build(cache, context.lcid);
}

/// Four units at a time, the last block overlapping the one before it: words are short, and a
/// unit-by-unit loop or the compiler's wide vector loop costs more per call than ICU saves.
bool is_ascii(std::u16string_view text) noexcept {
  const char16_t* units = text.data();
  const std::size_t size = text.size();
  if (size < 4) {
    char16_t seen = 0;
    for (std::size_t i = 0; i < size; ++i) seen |= units[i];
    return seen < 0x80;
  }
  const auto block = [units](std::size_t at) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, units + at, sizeof bits);
    return bits;
  };
  std::uint64_t seen = block(size - 4);
  for (std::size_t i = 0; i + 4 < size; i += 4) seen |= block(i);
  return (seen & 0xFF80FF80FF80FF80u) == 0;
}

/// One level of the comparison: the weights of both strings in order, units without a weight at
/// this level skipped, the first difference deciding and a shorter sequence ordering first.
int compare_level(const std::array<std::uint16_t, 128>& weight, std::u16string_view a,
                  std::u16string_view b) noexcept {
  std::size_t i = 0;
  std::size_t j = 0;
  for (;;) {
    std::uint16_t wa = 0;
    std::uint16_t wb = 0;
    while (i < a.size() && (wa = weight[a[i]]) == 0) ++i;
    while (j < b.size() && (wb = weight[b[j]]) == 0) ++j;
    if (i == a.size() || j == b.size()) {
      return i == a.size() ? (j == b.size() ? 0 : -1) : 1;
    }
    if (wa != wb) return wa < wb ? -1 : 1;
    ++i;
    ++j;
  }
}

int compare_ascii(const AsciiWeights& table, std::u16string_view a,
                  std::u16string_view b) noexcept {
  // Each unit weighs the same wherever it stands, so a common prefix adds nothing at any level.
  const auto [end_a, end_b] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  const auto skipped = static_cast<std::size_t>(end_a - a.begin());
  a.remove_prefix(skipped);
  b.remove_prefix(skipped);
  if (a.empty() || b.empty()) {
    if (a.empty() && b.empty()) return 0;
  } else if (const std::uint16_t pa = table.primary[a[0]], pb = table.primary[b[0]];
             pa != 0 && pb != 0 && pa != pb) {
    return pa < pb ? -1 : 1;  // the usual case: two different letters
  }
  const int primary = compare_level(table.primary, a, b);
  return primary != 0 ? primary : compare_level(table.secondary, a, b);
}

int collate(const TextCollator& text, std::u16string_view a, std::u16string_view b) {
  const int result =
      sign(ucol_strcoll(text.collator.get(), units(a), length32(a), units(b), length32(b)));
  // Beyond ICU's 32-bit lengths, which no library string reaches, the longer string follows.
  if (result == 0 && (a.size() > INT32_MAX || b.size() > INT32_MAX)) {
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
  }
  return result;
}

}  // namespace

int compare_binary(std::u16string_view a, std::u16string_view b) noexcept {
  const std::size_t common = std::min(a.size(), b.size());
  // Words often differ in their first unit; otherwise equal blocks of four units are skipped and
  // only a differing block is looked at unit by unit.
  if (common != 0 && a[0] != b[0]) return a[0] < b[0] ? -1 : 1;
  std::size_t i = 0;
  for (; i + 4 <= common; i += 4) {
    std::uint64_t block_a = 0;
    std::uint64_t block_b = 0;
    std::memcpy(&block_a, a.data() + i, sizeof block_a);
    std::memcpy(&block_b, b.data() + i, sizeof block_b);
    if (block_a != block_b) break;
  }
  for (; i < common; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int compare_text(std::u16string_view a, std::u16string_view b) {
  const TextCollator& text = text_collator();
  if (text.has_ascii_table) {
    // An identical prefix weighs alike on both sides. When the units after it are ASCII letters
    // of different primary weight, bound in no context, they decide at the first level whatever
    // the rest holds: words of any script are spared ICU when they first differ in such letters.
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t at = 0;
    while (at < common && a[at] == b[at]) ++at;
    if (at == a.size() && at == b.size()) return 0;
    if (at < common && a[at] < 0x80 && b[at] < 0x80) {
      const AsciiWeights& table = text.ascii;
      const std::uint16_t pa = table.primary[a[at]];
      const std::uint16_t pb = table.primary[b[at]];
      if (pa != 0 && pb != 0 && pa != pb && table.context_free[a[at]] && table.context_free[b[at]]) {
        return pa < pb ? -1 : 1;
      }
    }
    if (is_ascii(a) && is_ascii(b)) return compare_ascii(text.ascii, a, b);
  }
  return collate(text, a, b);
}

bool equal_text(std::u16string_view a, std::u16string_view b) {
  if (a == b) return true;
  return compare_text(a, b) == 0;
}

int compare_text_collator(std::u16string_view a, std::u16string_view b) {
  return collate(text_collator(), a, b);
}

}  // namespace quorvel
