// A numeric locale id as an object that knows the English name of its language.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// One locale id (not creatable; made by the factories and conversions). `Value` is the default
/// member.
///
/// Language names come from ICU's locale data for the locale ICU maps the id to, written as the
/// platform writes them: the script in brackets where the platform names one ("Chinese
/// (Simplified)", "Uzbek (Latin)", "Punjabi (Gurmukhi)" where the script is only implied), the
/// platform's own script words where they differ from ICU's (Simplified, Traditional), and ""
/// for ids no locale is assigned to (retired ids such as 0x043C, and ids using the reserved bits
/// above the 4-bit sort id, so every negative id). The ids
/// 0 and 0x400 name the calling thread's user locale, 0x800 the system default (US English).
class LCID final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "LCID";
  static constexpr Guid clsid{"{043866BF-F817-4D82-BF72-E6D7811E986D}"};
  static constexpr Guid iid{"{5DF1EB7E-AEDB-4187-985E-2E678F383262}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// The id; 2057 until the library initialises the object.
  std::int32_t get_Value() const noexcept { return value_; }
  /// The English name of the id's language, "" for an unknown id. The first call for an id costs
  /// a few ICU look-ups; later calls on the thread cost a hash look-up.
  String get_EnglishLanguageName() const;

  /// Library-internal initialiser: `Value` converted to Long (6, 13, 94 raised, nothing changed);
  /// returns the object itself.
  Ref<LCID> initialize(const Variant& Value);

 private:
  std::int32_t value_ = 2057;
};

/// Library-internal: a new `LCID` holding `Value` converted to Long. Raises 6, 13, 94 or 7; no
/// object is made then.
Ref<LCID> new_lcid(const Variant& Value);

/// Library-internal, the conversion behind `TypeCast.ToLCID` and `LCIDs.Add`: an object holding
/// an `LCID` is that same object (Nothing stays Nothing, another object raises 13); any other
/// value makes a new `LCID` as `new_lcid` does.
Ref<LCID> to_lcid(const Variant& Value);

/// The English language name of `lcid` as `LCID.EnglishLanguageName` gives it.
String english_language_name(std::int32_t lcid);

}  // namespace quorvel
