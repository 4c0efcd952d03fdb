// The read-only string dictionary: filled once by the library (from pairs, from keys or from its
// text form) and read afterwards, through its own members or `IDictionaryReader`.
#pragma once

#include <cstdint>
#include <span>

#include "quorvel/frame/one_shot.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/record_type.h"
#include "quorvel/platform/variant.h"
#include "quorvel/text/dictionary_reader.h"
#include "quorvel/text/key_value_string.h"
#include "quorvel/text/keyed_store.h"

namespace quorvel {

/// `IDictionaryReader` of a dictionary: its own members, keys converted to strings.
template <class Dictionary>
class DictionaryReaderView final : public ForwardingView<IDictionaryReader, Dictionary> {
 public:
  using ForwardingView<IDictionaryReader, Dictionary>::ForwardingView;
  QUORVEL_FORWARDING_MEMBERS(QUORVEL_IDICTIONARYREADER_MEMBERS)
};

/// A map from string keys to string values in insertion order (not creatable: the library makes
/// it with one of the three initialisers). The compare mode decides whether keys that differ only
/// in letter case are one key (see `KeyedStore`); it is written into and read back from the text
/// form unchanged, whatever its value.
///
/// Initialisers raise 0x80040003 "Object already initialized!" (the dictionary as sender) once
/// the dictionary is initialised, which the first successful initialiser and any reading member
/// that needs the keyed store do. An initialiser that raises leaves the dictionary as it was.
class StringDictionary final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "StringDictionary";
  static constexpr Guid clsid{"{E4A07B92-5C1D-4E68-A3F9-0B6D2C8E5173}"};
  static constexpr Guid iid{"{196C3F58-A7E2-4D0B-9B41-F5E8D2A7C036}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  StringDictionary() noexcept;
  ~StringDictionary() override;

  /// Library use: the entries of `KeyValues` in order, in `CompareMode`. Raises 0x80040003 when
  /// initialised, 457 for a key already added (in the mode), 7.
  StringDictionary& init_from_pairs(std::span<const KeyValueString> KeyValues, std::int32_t CompareMode = 0);
  /// The same from an array of records, taken from its lower to its upper bound (none when
  /// unallocated).
  StringDictionary& init_from_pairs(const RecordArray<KeyValueString>& KeyValues, std::int32_t CompareMode = 0);
  /// Library use: the elements of the array held by `Keys`, in the array's order, as keys with
  /// empty values. Elements that are not strings are added by their string form (the value
  /// model's conversion: 13, 94 and 438 pass), because the dictionary looks keys up, writes and
  /// reads them only as strings: a key of another kind could never be found nor written back.
  /// Raises 0x80040003 when initialised, 13 (from `GetLengthVariants`) when `Keys` holds no array
  /// (an unallocated one gives an empty dictionary), 457 for a repeated key, 7.
  StringDictionary& init_from_keys(Variant& Keys, std::int32_t CompareMode = 0);
  /// Library use: the dictionary the text form `Data` describes (`parse_dictionary_text`, with
  /// its errors, the dictionary as sender). Raises 0x80040003 when initialised.
  StringDictionary& init_from_text(const String& Data);

  /// The number of entries; 0 before the keyed store exists.
  std::int32_t get_Count() const noexcept { return store_.count(); }
  /// A Boolean Variant: whether `Key` is a key in the compare mode. Never raises.
  Variant HasKey(const String& Key) noexcept;
  /// The value of `Key`; raises 0x80040001 (empty message, the dictionary as sender) when absent.
  String get_Item(const String& Key);
  /// The text form (`write_dictionary_text`). Raises 7.
  String ToString();
  /// A 0-based Variant array of the keys (strings) in insertion order; no elements when empty.
  /// Raises 7.
  Variant Keys();

  /// `IDictionaryReader`'s `ToString`, `Item` and `HasKey` hand out Variants.
  Variant view_method_ToString() { return Variant(ToString()); }
  Variant view_get_Item(const Variant& Key) { return Variant(get_Item(Key.to_string())); }
  Variant view_method_HasKey(const Variant& Key) { return HasKey(Key.to_string()); }

 protected:
  Unknown* find_view(const Guid& iid) noexcept override;

 private:
  Unknown* sender() noexcept { return as_unknown(static_cast<Object*>(this)); }
  /// Makes the keyed store when a reading member first needs it: the dictionary is initialised.
  void touch() noexcept { once_.mark_initialized(); }
  void take(KeyedStore&& filled);

  KeyedStore store_;
  OneShot once_;
  DictionaryReaderView<StringDictionary> reader_view_;
};

extern template class DictionaryReaderView<StringDictionary>;

}  // namespace quorvel
