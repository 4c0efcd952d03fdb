// Locale id objects and their English language names.
#include "quorvel/text/lcid.h"

#include <unordered_map>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/locale.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {

const ClassInfo& LCID::describe() {
  static const ClassInfo info = describe_class<LCID>(
      ClassFlags::None,
      {get<&LCID::get_Value>("Value", 0), get<&LCID::get_EnglishLanguageName>("EnglishLanguageName", 1)},
      "A locale id and the English name of its language");
  return info;
}

namespace {

// Names already asked for on this thread. Only ids with a locale are kept, so the map cannot
// grow beyond ICU's id table however many unknown ids callers try.
struct NameCache {
  std::int32_t last_id = 0;
  String last;
  bool has_last = false;
  std::unordered_map<std::int32_t, String> known;
};

// 0 and 0x400 follow the user locale, which a thread may change at any time.
bool follows_user_locale(std::int32_t lcid) noexcept { return lcid == 0 || lcid == 0x400; }

}  // namespace

String english_language_name(std::int32_t lcid) {
  // Above the language and sort bits an id is reserved: no locale has one (negative ids neither).
  if ((static_cast<std::uint32_t>(lcid) & 0xFFF00000u) != 0) return {};
  if (follows_user_locale(lcid)) {
    const auto info = locale_info(static_cast<Lcid>(lcid));
    return info ? String(info->english_language) : String();
  }
  auto& cache = this_thread_context().slot<NameCache>();
  if (cache.has_last && cache.last_id == lcid) return cache.last;
  String name;
  if (const auto it = cache.known.find(lcid); it != cache.known.end()) {
    name = it->second;
  } else {
    const auto info = locale_info(static_cast<Lcid>(lcid));
    if (!info) return {};
    name = String(info->english_language);
    cache.known.emplace(lcid, name);
  }
  cache.last_id = lcid;
  cache.last = name;
  cache.has_last = true;
  return name;
}

String LCID::get_EnglishLanguageName() const { return english_language_name(value_); }

Ref<LCID> LCID::initialize(const Variant& Value) {
  value_ = Value.to_long();
  return Ref<LCID>(this);
}

Ref<LCID> new_lcid(const Variant& Value) {
  const std::int32_t value = Value.to_long();  // converted before anything is made
  Ref<LCID> lcid = make<LCID>();
  lcid->initialize(value);
  return lcid;
}

Ref<LCID> to_lcid(const Variant& Value) {
  if (Value.is_object()) return interface_cast<LCID>(Value);
  return new_lcid(Value);
}

}  // namespace quorvel
