// The read-only dictionary contract that the dictionary factories hand out.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

#define QUORVEL_IDICTIONARYREADER_MEMBERS(X)                                     \
  X(method, Variant, ToString, 1, (), (), ())                                    \
  X(get, Variant, Item, 2, (const Variant& Key), (Key), ("Key"))                 \
  X(method, Variant, HasKey, 3, (const Variant& Key), (Key), ("Key"))            \
  X(get, std::int32_t, Count, 4, (), (), ())                                     \
  X(method, Variant, Keys, 5, (), (), ())

/// Reads a string dictionary: keys arrive as any value and are looked up by their string form;
/// `Keys` is a 0-based array of the keys in the order they were added.
class IDictionaryReader : public Unknown {
 public:
  static constexpr const char* type_name = "IDictionaryReader";
  static constexpr Guid iid{"{7D2B9E41-0C6F-4A83-B5D7-E19A3C4F6028}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IDICTIONARYREADER_MEMBERS)
};

/// `IDictionaryReader` published as a creatable class whose members do nothing: ToString, Item,
/// HasKey and Keys give Empty, Count 0.
QUORVEL_INERT_CLASS(IDictionaryReaderClass, IDictionaryReader, QUORVEL_IDICTIONARYREADER_MEMBERS,
                    "{C81F4A6E-2D97-4B30-8E5C-6A0B9D3F7E14}");

}  // namespace quorvel
