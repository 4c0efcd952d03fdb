// Locale data by locale id. ICU maps the id to a locale and supplies the names and number symbols;
// the small tables here carry the few places where the platform names a locale its own way.
#include "quorvel/platform/locale.h"

#include <unicode/uloc.h>
#include <unicode/unum.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {
namespace {

constexpr Lcid kEnglishUs = 0x0409;
constexpr Lcid kUserDefault = 0x0400;
constexpr Lcid kSystemDefault = 0x0800;
constexpr Lcid kInvariant = 0x007F;

// Ids that ICU's table still maps but the platform no longer knows: Scottish Gaelic moved to
// 0x0491, and Serbia and Montenegro is no longer a region.
constexpr std::array<Lcid, 3> kRetiredIds{0x043C, 0x081A, 0x0C1A};

// Script names the platform writes in a language name where ICU's English names differ.
constexpr std::array<std::pair<std::string_view, std::u16string_view>, 3> kScriptNames{{
    {"Hans", u"Simplified"},
    {"Hant", u"Traditional"},
    {"Cans", u"Syllabics"},
}};

// Languages written in several scripts whose ICU locale may leave the script implicit ("zh_CN",
// "pa_IN") while the platform names it: the likely script stands in.
constexpr std::array<std::string_view, 2> kNamedScriptLanguages{"pa", "zh"};

// Country names the platform keeps shorter than ICU's.
constexpr std::array<std::pair<std::string_view, std::u16string_view>, 1> kCountryNames{{
    {"KR", u"Korea"},
}};

// Sort-order suffixes of the platform's locale names, keyed by ICU's collation keyword.
constexpr std::array<std::pair<std::string_view, std::u16string_view>, 3> kSortSuffixes{{
    {"traditional", u"_tradnl"},
    {"phonebook", u"_phoneb"},
    {"stroke", u"_stroke"},
}};

template <class Table, class Key>
const auto* find_in(const Table& table, const Key& key) noexcept {
  const auto it =
      std::find_if(table.begin(), table.end(), [&](const auto& row) { return row.first == key; });
  return it == table.end() ? nullptr : &it->second;
}

/// The id itself, with the default ids replaced by the locale they stand for.
Lcid resolve_default(Lcid lcid) noexcept {
  if (lcid == 0 || lcid == kUserDefault) {
    const Lcid user = user_locale();
    const bool user_is_default = user == 0 || user == kUserDefault || user == kSystemDefault;
    return user_is_default ? kEnglishUs : user;
  }
  return lcid == kSystemDefault ? kEnglishUs : lcid;
}

std::string locale_for(Lcid lcid) {
  char buffer[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length = uloc_getLocaleForLCID(lcid, buffer, sizeof buffer, &status);
  if (U_FAILURE(status) || length <= 0 || length >= static_cast<std::int32_t>(sizeof buffer)) {
    return {};
  }
  return std::string(buffer, static_cast<std::size_t>(length));
}

/// One subtag of an ICU locale id, read by `getter` (uloc_getLanguage, uloc_getScript, ...).
template <class Getter>
std::string subtag(const std::string& id, Getter getter) {
  char buffer[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length = getter(id.c_str(), buffer, sizeof buffer, &status);
  if (U_FAILURE(status) || length <= 0 || length >= static_cast<std::int32_t>(sizeof buffer)) {
    return {};
  }
  return std::string(buffer, static_cast<std::size_t>(length));
}

std::string collation_keyword(const std::string& id) {
  char buffer[ULOC_KEYWORDS_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length =
      uloc_getKeywordValue(id.c_str(), "collation", buffer, sizeof buffer, &status);
  if (U_FAILURE(status) || length <= 0 || length >= static_cast<std::int32_t>(sizeof buffer)) {
    return {};
  }
  return std::string(buffer, static_cast<std::size_t>(length));
}

/// An English display name read by `getter` (uloc_getDisplayLanguage, ...).
template <class Getter>
std::u16string display_name(const std::string& id, Getter getter) {
  UChar buffer[160];
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length = getter(id.c_str(), "en", buffer, 160, &status);
  if (U_FAILURE(status) || length <= 0 || length >= 160) return {};
  return std::u16string(buffer, static_cast<std::size_t>(length));
}

std::u16string likely_script_name(const std::string& id) {
  char likely[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length = uloc_addLikelySubtags(id.c_str(), likely, sizeof likely, &status);
  if (U_FAILURE(status) || length <= 0 || length >= static_cast<std::int32_t>(sizeof likely)) {
    return {};
  }
  const std::string full(likely, static_cast<std::size_t>(length));
  const std::string script = subtag(full, uloc_getScript);
  if (script.empty()) return {};
  const auto* own = find_in(kScriptNames, script);
  return own ? std::u16string(*own) : display_name(full, uloc_getDisplayScript);
}

std::u16string widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

LocaleInfo describe(const std::string& id) {
  const std::string language = subtag(id, uloc_getLanguage);
  const std::string script = subtag(id, uloc_getScript);
  const std::string country = subtag(id, uloc_getCountry);

  LocaleInfo info;
  info.english_language = display_name(id, uloc_getDisplayLanguage);
  std::u16string script_name;
  if (!script.empty()) {
    const auto* own = find_in(kScriptNames, script);
    script_name = own ? std::u16string(*own) : display_name(id, uloc_getDisplayScript);
  } else if (std::find(kNamedScriptLanguages.begin(), kNamedScriptLanguages.end(), language) !=
             kNamedScriptLanguages.end()) {
    script_name = likely_script_name(id);
  }
  if (!script_name.empty()) info.english_language += u" (" + script_name + u")";

  // Chinese names carry the region alone ("zh-TW"); other languages keep an explicit script.
  info.tag = widen(language);
  if (!script.empty() && !(language == "zh" && !country.empty())) info.tag += u"-" + widen(script);
  if (!country.empty()) info.tag += u"-" + widen(country);
  if (const auto* suffix = find_in(kSortSuffixes, collation_keyword(id))) info.tag += *suffix;

  if (const auto* own = find_in(kCountryNames, country)) {
    info.english_country = *own;
  } else if (!country.empty()) {
    info.english_country = display_name(id, uloc_getDisplayCountry);
  }
  return info;
}

/// The platform writes typographic group separators in their older forms: a no-break space for
/// the narrow one, an ASCII apostrophe for the right single quote.
char16_t platform_thousands(char16_t unit) noexcept {
  switch (unit) {
    case u'\u202F':
      return u'\u00A0';
    case u'\u2019':
      return u'\'';
    default:
      return unit;
  }
}

NumberSeparators read_separators(const std::string& id) {
  NumberSeparators separators;
  if (id.empty()) return separators;
  // Latin digits, as the platform's number text uses them in every locale.
  char latin[ULOC_FULLNAME_CAPACITY];
  if (id.size() >= sizeof latin) return separators;
  std::copy(id.begin(), id.end(), latin);
  latin[id.size()] = '\0';
  UErrorCode status = U_ZERO_ERROR;
  uloc_setKeywordValue("numbers", "latn", latin, sizeof latin, &status);
  if (U_FAILURE(status)) return separators;

  struct Closer {
    void operator()(UNumberFormat* format) const noexcept { unum_close(format); }
  };
  const std::unique_ptr<UNumberFormat, Closer> format(
      unum_open(UNUM_DECIMAL, nullptr, 0, latin, nullptr, &status));
  if (U_FAILURE(status)) return separators;

  UChar symbol[8];
  UErrorCode symbol_status = U_ZERO_ERROR;
  if (unum_getSymbol(format.get(), UNUM_DECIMAL_SEPARATOR_SYMBOL, symbol, 8, &symbol_status) == 1 &&
      U_SUCCESS(symbol_status)) {
    separators.decimal = symbol[0];
  }
  symbol_status = U_ZERO_ERROR;
  if (unum_getSymbol(format.get(), UNUM_GROUPING_SEPARATOR_SYMBOL, symbol, 8, &symbol_status) ==
          1 &&
      U_SUCCESS(symbol_status)) {
    separators.thousands = platform_thousands(symbol[0]);
  }
  // The currency symbol, when the locale names a currency (ICU answers the generic sign U+00A4
  // for a locale without a country) and it fits the fixed field.
  symbol_status = U_ZERO_ERROR;
  UChar currency[16];
  const std::int32_t length =
      unum_getSymbol(format.get(), UNUM_CURRENCY_SYMBOL, currency, 16, &symbol_status);
  constexpr std::size_t kCapacity = std::size(NumberSeparators{}.currency);
  if (U_SUCCESS(symbol_status) && length >= 0 && static_cast<std::size_t>(length) < kCapacity) {
    const bool generic = length == 1 && currency[0] == u'\u00A4';
    std::fill(std::begin(separators.currency), std::end(separators.currency), u'\0');
    if (!generic) std::copy(currency, currency + length, separators.currency);
  }
  return separators;
}

/// Separators already read on this thread; the last one answers a repeated id at once.
struct SeparatorCache {
  bool has_last = false;
  Lcid last_lcid = 0;
  NumberSeparators last;
  std::vector<std::pair<Lcid, NumberSeparators>> known;
};

}  // namespace

Lcid user_locale() noexcept { return this_thread_context().lcid; }

void set_user_locale(Lcid lcid) noexcept { this_thread_context().lcid = lcid; }

std::string icu_locale_id(Lcid lcid) {
  lcid = resolve_default(lcid);
  if (lcid == kInvariant) return "root";
  if (std::find(kRetiredIds.begin(), kRetiredIds.end(), lcid) != kRetiredIds.end()) return {};
  std::string id = locale_for(lcid);
  if (id.empty() || id == "root") return {};

  // A bare language stands for its default country: a neutral id (below 0x400) names the
  // language only, and ICU drops the country of some ids that carry a sort order.
  const Lcid language_id = lcid & 0xFFFF;
  const Lcid fallback = language_id < 0x400 ? (language_id | 0x400) : language_id;
  if (fallback != lcid && subtag(id, uloc_getCountry).empty() &&
      subtag(id, uloc_getScript).empty()) {
    std::string wider = locale_for(fallback);
    if (!wider.empty() && !subtag(wider, uloc_getCountry).empty()) {
      const std::string collation = collation_keyword(id);
      if (!collation.empty() && wider.find('@') == std::string::npos) {
        wider += "@collation=" + collation;
      }
      id = std::move(wider);
    }
  }
  return id;
}

std::optional<LocaleInfo> locale_info(Lcid lcid) {
  if (resolve_default(lcid) == kInvariant) {
    return LocaleInfo{u"Invariant Language", u"", u"Invariant Country"};
  }
  const std::string id = icu_locale_id(lcid);
  if (id.empty()) return std::nullopt;
  return describe(id);
}

NumberSeparators number_separators(Lcid lcid) {
  const Lcid id = resolve_default(lcid);
  auto& cache = this_thread_context().slot<SeparatorCache>();
  if (cache.has_last && cache.last_lcid == id) return cache.last;

  const auto it = std::find_if(cache.known.begin(), cache.known.end(),
                               [id](const auto& entry) { return entry.first == id; });
  const NumberSeparators separators =
      it != cache.known.end() ? it->second : read_separators(icu_locale_id(id));
  if (it == cache.known.end()) cache.known.emplace_back(id, separators);
  cache.has_last = true;
  cache.last_lcid = id;
  cache.last = separators;
  return separators;
}

}  // namespace quorvel
