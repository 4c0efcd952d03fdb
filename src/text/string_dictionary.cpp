// The read-only string dictionary and its reader view.
#include "quorvel/text/string_dictionary.h"

#include <vector>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/frame/module_arrays.h"
#include "quorvel/platform/array.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/memory.h"
#include "quorvel/text/dictionary_text.h"

namespace quorvel {

QUORVEL_DESCRIBE_RECORD(KeyValueString, record_field<&KeyValueString::Key>("Key"),
                        record_field<&KeyValueString::Value>("Value"))

QUORVEL_DESCRIBE_INTERFACE(IDictionaryReader, QUORVEL_IDICTIONARYREADER_MEMBERS)
QUORVEL_DESCRIBE_INERT_CLASS(IDictionaryReaderClass, IDictionaryReader, ClassFlags::Creatable)

template class DictionaryReaderView<StringDictionary>;

const ClassInfo& StringDictionary::describe() {
  using C = StringDictionary;
  static const ClassInfo info = describe_class<C, IDictionaryReader>(
      ClassFlags::None,
      {get<&C::get_Count>("Count", 1), method<&C::HasKey>("HasKey", 2, "Key"), get<&C::get_Item>("Item", 3, "Key"),
       method<&C::ToString>("ToString", 4)},
      "A read-only map of strings, in the order its entries were added");
  return info;
}

// Out of line, with the view: its members are made only here, where the conversions are.
StringDictionary::StringDictionary() noexcept : reader_view_(*this) {}

StringDictionary::~StringDictionary() = default;

Unknown* StringDictionary::find_view(const Guid& iid) noexcept {
  return iid == IDictionaryReader::iid ? &reader_view_ : nullptr;
}

void StringDictionary::take(KeyedStore&& filled) {
  store_ = std::move(filled);
  once_.mark_initialized();
}

StringDictionary& StringDictionary::init_from_pairs(std::span<const KeyValueString> KeyValues,
                                                    std::int32_t CompareMode) {
  once_.check_not_initialized(this);
  KeyedStore filled(CompareMode);
  filled.reserve(KeyValues.size());
  for (const KeyValueString& pair : KeyValues) filled.add(pair.Key, pair.Value);
  take(std::move(filled));
  return *this;
}

StringDictionary& StringDictionary::init_from_pairs(const RecordArray<KeyValueString>& KeyValues,
                                                    std::int32_t CompareMode) {
  once_.check_not_initialized(this);
  // The library's allocator: running out of memory while copying the records raises 7.
  std::vector<KeyValueString, RaisingAllocator<KeyValueString>> pairs;
  pairs.reserve(static_cast<std::size_t>(KeyValues.count()));
  for (std::int32_t i = 0; i < KeyValues.count(); ++i) pairs.push_back(KeyValues.at(KeyValues.lower_bound() + i));
  return init_from_pairs(std::span<const KeyValueString>(pairs), CompareMode);
}

StringDictionary& StringDictionary::init_from_keys(Variant& Keys, std::int32_t CompareMode) {
  once_.check_not_initialized(this);
  const std::int32_t count = GetLengthVariants(Keys);
  KeyedStore filled(CompareMode);
  if (count > 0) {
    // A copy: converting an element may run caller code (a default member) that changes the array.
    const Array keys = *Keys.if_array();
    filled.reserve(static_cast<std::size_t>(count));
    const std::int32_t lower = keys.lower_bound();
    for (std::int32_t i = 0; i < count; ++i) filled.add(keys.get(lower + i).to_string(), String());
  }
  take(std::move(filled));
  return *this;
}

StringDictionary& StringDictionary::init_from_text(const String& Data) {
  once_.check_not_initialized(this);
  take(parse_dictionary_text(Data.view(), sender()));
  return *this;
}

Variant StringDictionary::HasKey(const String& Key) noexcept {
  touch();
  return Variant(store_.exists(Key.view()));
}

String StringDictionary::get_Item(const String& Key) {
  touch();
  const KeyedStore::Entry* entry = store_.find(Key.view());
  if (entry == nullptr) raise(Failure::InvalidArgument, sender());
  return entry->value;
}

String StringDictionary::ToString() {
  touch();
  return write_dictionary_text(store_);
}

Variant StringDictionary::Keys() {
  touch();
  Array keys(VarKind::Variant, 0, store_.count());
  std::span<Variant> items = keys.elements<Variant>();
  const std::span<const KeyedStore::Entry> entries = store_.entries();
  for (std::size_t i = 0; i < entries.size(); ++i) items[i] = Variant(entries[i].key);
  return Variant(std::move(keys));
}

}  // namespace quorvel
