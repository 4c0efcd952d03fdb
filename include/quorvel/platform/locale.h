// Locale data by locale id: the thread's user locale, number separators and English names, drawn
// from ICU's locale data. The library never looks at environment variables or the machine's locale.
#pragma once

#include <optional>
#include <string>

#include "quorvel/platform/number_text.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {

/// The calling thread's user locale (`this_thread_context().lcid`, 0x409 unless set).
Lcid user_locale() noexcept;

/// Sets the calling thread's user locale; conversions and text comparison follow it from the next
/// call on. Any id is accepted; an unknown one behaves as the root locale where data is needed.
void set_user_locale(Lcid lcid) noexcept;

/// What the platform's locale database tells about a known locale id.
struct LocaleInfo {
  std::u16string english_language;  ///< "English", "Chinese (Traditional)", "Tajik (Cyrillic)"
  std::u16string tag;               ///< "en-US", "zh-TW", "es-ES_tradnl" (with a sort suffix)
  std::u16string english_country;   ///< "United States", "world" for the 001 region
};

/// Names of `lcid`, or nothing when the id is unknown. The ids 0 and 0x400 stand for the user
/// locale and 0x800 for the system default, which here is 0x409. Cost: a few ICU look-ups, not
/// cached.
std::optional<LocaleInfo> locale_info(Lcid lcid);

/// Decimal and thousands separator (of the Latin-digit number format) and currency symbol of
/// `lcid`; the struct's defaults for an unknown id. Cached per thread and id: after the first call
/// a repeated id costs one comparison.
NumberSeparators number_separators(Lcid lcid);

/// The ICU locale id behind `lcid` ("en_US", "es_ES@collation=traditional"), after resolving the
/// default ids as `locale_info` does; empty when the id is unknown.
std::string icu_locale_id(Lcid lcid);

}  // namespace quorvel
