// The ready-made comparers: `DefaultComparer` (binary order, only through `IComparer`), and the
// two mode comparers, which also order strings passed by reference (`IrefStringComparer`).
// All are stateless: one instance may serve any number of sorts and searches.
#pragma once

#include <cstdint>

#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/ordering/compare_variants.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/collation.h"

namespace quorvel {

/// `CompareVariants` in Binary mode. Raises what `CompareVariants` raises.
class DefaultComparer final : public ObjectImpl<IComparer> {
 public:
  static constexpr const char* type_name = "DefaultComparer";
  static constexpr Guid clsid{"{CCCD17B0-C4D0-427E-8AD5-552463D9EFAB}"};
  static constexpr Guid iid{"{BAF828DC-C664-48E0-BB54-DEE10D28448D}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  std::int16_t Compare(const Variant& A, const Variant& B) override;
};

/// Binary order: Variants by `CompareVariants` in Binary mode, strings by their UTF-16 code units.
class BinaryModeComparer final : public ObjectImpl<IComparer, IrefStringComparer> {
 public:
  static constexpr const char* type_name = "BinaryModeComparer";
  static constexpr Guid clsid{"{B77AB1A1-416E-4A16-A60B-A96A098CD7FC}"};
  static constexpr Guid iid{"{DB00FB42-3D59-4F5F-B5F1-A0EDFCADB85E}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Raises what `CompareVariants` raises.
  std::int16_t Compare(const Variant& A, const Variant& B) override;
  /// -1, 0 or 1; never raises. Inline: a caller holding the class itself pays no further call.
  std::int16_t Compare(String& A, String& B) override {
    const int order = compare_binary(A.view(), B.view());
    if (order < -1 || order > 1) __builtin_unreachable();  // lets a caller widening it tail-call
    return static_cast<std::int16_t>(order);
  }
  /// The comparer itself under its own class interface.
  Ref<BinaryModeComparer> get_Object();
  /// The comparer itself viewed as a string comparer (library-internal).
  Ref<IrefStringComparer> as_string_comparer();
};

/// Text order: Variants by `CompareVariants` in Text mode, strings by the user locale's collation
/// with letter case ignored (`compare_text`).
class TextModeComparer final : public ObjectImpl<IComparer, IrefStringComparer> {
 public:
  static constexpr const char* type_name = "TextModeComparer";
  static constexpr Guid clsid{"{F97314C9-FADD-4783-A7A5-8CE1754D5C19}"};
  static constexpr Guid iid{"{27FECFA7-D6C0-4A6D-88E0-61F8938C6DF4}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Raises what `CompareVariants` raises.
  std::int16_t Compare(const Variant& A, const Variant& B) override;
  /// -1, 0 or 1. Raises std::bad_alloc only (a collator's first use on a thread). Inline: a
  /// caller holding the class itself pays no further call.
  std::int16_t Compare(String& A, String& B) override {
    const int order = compare_text(A.view(), B.view());
    if (order < -1 || order > 1) __builtin_unreachable();  // lets a caller widening it tail-call
    return static_cast<std::int16_t>(order);
  }
  /// The comparer itself under its own class interface.
  Ref<TextModeComparer> get_Object();
  /// The comparer itself viewed as a string comparer (library-internal).
  Ref<IrefStringComparer> as_string_comparer();
};

}  // namespace quorvel
