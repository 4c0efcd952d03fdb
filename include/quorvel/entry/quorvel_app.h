// The application object: every entry point of the library from one place.
#pragma once

#include <cstdint>
#include <span>

#include "quorvel/containers/box_variant.h"
#include "quorvel/entry/collection_helper.h"
#include "quorvel/entry/constructors.h"
#include "quorvel/entry/type_cast.h"
#include "quorvel/platform/array.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/string.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// The library's application object: creatable, and also global (each thread has its own
/// instance, made on first use, whose members late-bound callers reach without creating one).
/// It owns its factory and collection helpers from creation and its conversion object from the
/// first read of `Cast`; every read hands out the same companion, which is stateless.
class QuorvelApp final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "QuorvelApp";
  static constexpr Guid clsid{"{C4D3BA2C-E5A6-49A5-962A-5DB9E81580B9}"};
  static constexpr Guid iid{"{CD85F78A-463A-48AD-8791-A58E40D9EC26}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Makes the factory and collection helpers. Raises 7.
  QuorvelApp();

  /// The conversion object, made by the first read. Raises 7 (first read only).
  Ref<TypeCast> get_Cast();
  /// The factory object. Never raises.
  Ref<Constructors> get_Construct() noexcept { return construct_; }
  /// The helpers over the keyed collection. Never raises.
  Ref<CollectionHelper> get_Collections() noexcept { return collections_; }

  // A 0-based array of the values in order, each converted as a late-bound argument of the
  // element kind is (6, 13, 94 raised and no array returned). No values give an allocated,
  // empty array (bounds 0 to -1). O(n).
  ArrayOf<std::uint8_t> ArrayOfBytes(std::span<const Variant> Values);
  ArrayOf<VariantBool> ArrayOfBooleans(std::span<const Variant> Values);
  ArrayOf<std::int16_t> ArrayOfIntegers(std::span<const Variant> Values);
  ArrayOf<std::int32_t> ArrayOfLongs(std::span<const Variant> Values);
  ArrayOf<float> ArrayOfSingles(std::span<const Variant> Values);
  ArrayOf<double> ArrayOfDoubles(std::span<const Variant> Values);
  ArrayOf<String> ArrayOfStrings(std::span<const Variant> Values);

  // The element counts of `module_arrays.h`, errors and sources included. Constant time.
  std::int32_t GetLengthVariants(Variant& Variants);
  std::int32_t GetLengthBooleans(ArrayOf<VariantBool>& Booleans);
  std::int32_t GetLengthBytes(ArrayOf<std::uint8_t>& Bytes);
  std::int32_t GetLengthDoubles(ArrayOf<double>& Doubles);
  std::int32_t GetLengthIntegers(ArrayOf<std::int16_t>& Integers);
  std::int32_t GetLengthLongs(ArrayOf<std::int32_t>& Longs);
  std::int32_t GetLengthSingles(ArrayOf<float>& Singles);
  std::int32_t GetLengthStrings(ArrayOf<String>& Strings);

  // Assignments usable inside an expression: each writes B into A and returns the new A.
  /// A refers to B's object (Nothing allowed); returns that reference. Never raises.
  Ref<Unknown> objSet(Ref<Unknown>& A, Ref<Unknown> B) noexcept;
  /// An object in B (Nothing included) is referred to, any other value copied (`AssignVariant`).
  Variant VLet(Variant& A, Variant& B);
  std::int32_t LLet(std::int32_t& A, std::int32_t B) noexcept;
  std::int16_t ILet(std::int16_t& A, std::int16_t B) noexcept;
  /// A gets its own copy of B. Raises 7.
  String StrLet(String& A, const String& B);

  /// A new box holding `Value`, as `Construct.new_Box_Variant` makes it. Raises 7.
  Ref<Box_Variant> Box(const Variant& Value);

 private:
  Ref<TypeCast> cast_;
  Ref<Constructors> construct_;
  Ref<CollectionHelper> collections_;
};

}  // namespace quorvel
