// The tagged automation value: a 16-bit kind code (with the array and by-reference flags) and an
// 8-byte payload. Every argument and result that crosses the late-bound surface is a Variant.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <type_traits>

#include "quorvel/platform/array.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/string.h"
#include "quorvel/platform/var_kind.h"

namespace quorvel {

/// An automation value of any kind of the `VarKind` table, an array of one, or a reference to
/// caller storage of one (by-reference).
///
/// Three ways to read: a cheap test (`is_string()`), a non-throwing access that gives a pointer or
/// null (`if_long()`), and a throwing conversion with the platform's rules (`to_long()`, raising
/// 6, 13 or 94). A by-reference Variant is read through transparently: its reported kind never
/// shows the by-reference flag.
class Variant {
 public:
  /// Empty.
  Variant() noexcept : vt_(0) { u_.bits = 0; }
  // Scalars fill the whole payload word in one store: a narrow store followed by a wide read of
  // the same word would stall store forwarding on every copy of the result.
  Variant(std::int16_t v) noexcept : vt_(code(VarKind::Integer)) { u_.bits = static_cast<std::uint16_t>(v); }  // NOLINT
  Variant(std::int32_t v) noexcept : vt_(code(VarKind::Long)) { u_.bits = static_cast<std::uint32_t>(v); }  // NOLINT
  Variant(float v) noexcept : vt_(code(VarKind::Single)) { u_.bits = std::bit_cast<std::uint32_t>(v); }  // NOLINT
  Variant(double v) noexcept : vt_(code(VarKind::Double)) { u_.r8 = v; }                         // NOLINT
  Variant(bool v) noexcept : vt_(code(VarKind::Boolean)) { u_.bits = v ? 0xFFFFu : 0u; }  // NOLINT
  Variant(VariantBool v) noexcept : vt_(code(VarKind::Boolean)) { u_.bits = static_cast<std::uint16_t>(v.bits); }  // NOLINT
  Variant(std::uint8_t v) noexcept : vt_(code(VarKind::Byte)) { u_.bits = v; }  // NOLINT
  Variant(String s) noexcept : vt_(code(VarKind::String)) { new (&u_.str) String(std::move(s)); }  // NOLINT
  Variant(std::u16string_view s) : Variant(String(s)) {}                                          // NOLINT
  Variant(const char16_t* s) : Variant(String(s)) {}                                              // NOLINT
  Variant(const char*) = delete;  // would otherwise read as a Boolean; use u"..." text
  /// An object reference (Nothing when `r` is null); the Variant holds the interface `r` holds.
  template <class T>
  Variant(const Ref<T>& r) noexcept : Variant(Ref<Unknown>(r.get() ? as_unknown(r.get()) : nullptr)) {}  // NOLINT
  Variant(Ref<Unknown> r) noexcept : vt_(code(VarKind::Object)) { new (&u_.obj) Ref<Unknown>(std::move(r)); }  // NOLINT
  /// An array (kind | 0x2000).
  Variant(Array a);  // NOLINT
  /// A record (kind 36). Raises 5 for the typeless empty slot of an array of records, 7 when
  /// out of memory.
  Variant(Record r);  // NOLINT

  static Variant null() noexcept { return Variant(RawTag{}, code(VarKind::Null)); }
  static Variant nothing() noexcept { return Variant(Ref<Unknown>()); }
  static Variant error(std::int32_t scode) noexcept {
    Variant v(RawTag{}, code(VarKind::Error));
    v.u_.bits = static_cast<std::uint32_t>(scode);
    return v;
  }
  /// An omitted optional argument: kind Error with code 0x80020004.
  static Variant missing() noexcept { return error(kMissingArgument); }

  /// A reference to caller storage: reads see, and write-backs change, `target`.
  static Variant by_ref(Variant& target) noexcept { return by_ref_to(VarKind::Variant, &target); }
  static Variant by_ref(std::int16_t& t) noexcept { return by_ref_to(VarKind::Integer, &t); }
  static Variant by_ref(std::int32_t& t) noexcept { return by_ref_to(VarKind::Long, &t); }
  static Variant by_ref(float& t) noexcept { return by_ref_to(VarKind::Single, &t); }
  static Variant by_ref(double& t) noexcept { return by_ref_to(VarKind::Double, &t); }
  static Variant by_ref(VariantBool& t) noexcept { return by_ref_to(VarKind::Boolean, &t); }
  static Variant by_ref(std::uint8_t& t) noexcept { return by_ref_to(VarKind::Byte, &t); }
  static Variant by_ref(String& t) noexcept { return by_ref_to(VarKind::String, &t); }
  static Variant by_ref(Array& t) noexcept;
  static Variant by_ref(Record& t) noexcept { return by_ref_to(VarKind::Record, &t); }

  Variant(const Variant& other) : vt_(other.vt_), u_(other.u_) {
    if (owns_resource()) copy_resource(other);
  }
  Variant(Variant&& other) noexcept : vt_(other.vt_), u_(other.u_) { other.vt_ = 0, other.u_.bits = 0; }
  Variant& operator=(const Variant& other);
  // The old value is released last, once this variable holds the new one: its release may run
  // caller code (a destructor) that reads or writes this very variable.
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      Variant old(std::move(*this));
      vt_ = other.vt_;
      u_ = other.u_;
      other.vt_ = 0;
      other.u_.bits = 0;
    }
    return *this;
  }
  ~Variant() {
    if (owns_resource()) release_resource();
  }

  /// Back to Empty, releasing what was held.
  void clear() noexcept { Variant old(std::move(*this)); }
  void swap(Variant& other) noexcept {
    std::swap(vt_, other.vt_);
    std::swap(u_, other.u_);
  }

  // --- kind tests --------------------------------------------------------------------------

  /// The stored code with flags, by-reference flag included, nothing resolved.
  std::uint16_t raw_code() const noexcept { return vt_; }
  bool is_by_ref() const noexcept { return (vt_ & kByRefFlag) != 0; }
  /// The kind code of the value, through a by-reference (never carries 0x4000); objects report 9.
  std::uint16_t type_code() const noexcept { return static_cast<std::uint16_t>(resolved().vt_ & ~kByRefFlag); }
  /// The kind code as the platform reports it: like `type_code()`, except that an object whose
  /// class has a default member reports the kind of that member's value (which is read to know it).
  std::uint16_t var_type() const;
  /// The kind in the low bits of `type_code()` (for an array, its element kind).
  VarKind kind() const noexcept { return static_cast<VarKind>(type_code() & kKindMask); }
  bool is_array() const noexcept { return (type_code() & kArrayFlag) != 0; }
  bool is_empty() const noexcept { return type_code() == code(VarKind::Empty); }
  bool is_null() const noexcept { return type_code() == code(VarKind::Null); }
  bool is_object() const noexcept { return type_code() == code(VarKind::Object); }
  bool is_string() const noexcept { return type_code() == code(VarKind::String); }
  /// An omitted optional argument.
  bool is_missing() const noexcept { const std::int32_t* e = if_error(); return e && *e == kMissingArgument; }
  /// Byte, Boolean, Integer, Long, Single or Double (not an object's default value).
  bool is_numeric() const noexcept;

  // --- non-throwing access: a pointer to the value, or null when the kind differs ----------

  const std::int16_t* if_integer() const noexcept { return scalar<std::int16_t>(VarKind::Integer); }
  const std::int32_t* if_long() const noexcept { return scalar<std::int32_t>(VarKind::Long); }
  const float* if_single() const noexcept { return scalar<float>(VarKind::Single); }
  const double* if_double() const noexcept { return scalar<double>(VarKind::Double); }
  const VariantBool* if_boolean() const noexcept { return scalar<VariantBool>(VarKind::Boolean); }
  const std::uint8_t* if_byte() const noexcept { return scalar<std::uint8_t>(VarKind::Byte); }
  const std::int32_t* if_error() const noexcept { return scalar<std::int32_t>(VarKind::Error); }
  const String* if_string() const noexcept { return scalar<String>(VarKind::String); }
  const Record* if_record() const noexcept { return scalar<Record>(VarKind::Record); }
  /// The held object's interface pointer; null for Nothing and for non-objects.
  Unknown* if_object() const noexcept {
    const Ref<Unknown>* r = scalar<Ref<Unknown>>(VarKind::Object);
    return r ? r->get() : nullptr;
  }
  const Array* if_array() const noexcept;
  Array* if_array() noexcept;
  /// The Variant a by-reference Variant points at (followed to the end), else this one.
  const Variant& resolved() const noexcept {
    const Variant* v = this;
    while (v->vt_ == (code(VarKind::Variant) | kByRefFlag)) v = static_cast<const Variant*>(v->u_.ref);
    return *v;
  }
  Variant& resolved() noexcept { return const_cast<Variant&>(static_cast<const Variant*>(this)->resolved()); }

  // --- throwing conversions with the platform's rules (user's locale) ----------------------

  std::int16_t to_integer() const { return vt_ == code(VarKind::Integer) ? u_.i2 : convert_to_integer(); }
  std::int32_t to_long() const { return vt_ == code(VarKind::Long) ? u_.i4 : convert_to_long(); }
  float to_single() const { return vt_ == code(VarKind::Single) ? u_.r4 : convert_to_single(); }
  double to_double() const { return vt_ == code(VarKind::Double) ? u_.r8 : convert_to_double(); }
  String to_string() const { return vt_ == code(VarKind::String) ? u_.str : convert_to_string(); }
  bool to_boolean() const { return vt_ == code(VarKind::Boolean) ? u_.b != 0 : convert_to_boolean(); }
  std::uint8_t to_byte() const { return vt_ == code(VarKind::Byte) ? u_.ui1 : convert_to_byte(); }
  /// The object reference held (Nothing included); anything else raises 424 (object required).
  Ref<Unknown> to_object() const;

  /// A dereferenced deep copy: never by-reference; strings and arrays copied, objects counted.
  Variant copy_ind() const;
  /// For an object, its default member's value (followed until it is not an object with a
  /// default member; 438 when it has none, 91 for Nothing); for any other value, `copy_ind()`.
  Variant default_value() const;

  /// Writes `value` into the storage a by-reference Variant points at, converted to that
  /// storage's kind; on a plain Variant, replaces the Variant itself.
  void assign(const Variant& value);

  static constexpr std::uint16_t code(VarKind k) noexcept { return static_cast<std::uint16_t>(k); }

 private:
  // The general conversions, out of line; the members above take the same-kind case inline.
  std::int16_t convert_to_integer() const;
  std::int32_t convert_to_long() const;
  float convert_to_single() const;
  double convert_to_double() const;
  String convert_to_string() const;
  bool convert_to_boolean() const;
  std::uint8_t convert_to_byte() const;

  bool owns_resource() const noexcept {
    return vt_ == code(VarKind::String) || vt_ == code(VarKind::Object) || vt_ == code(VarKind::Record) ||
           (vt_ & (kArrayFlag | kByRefFlag)) == kArrayFlag;
  }
  void release_resource() noexcept;
  void copy_resource(const Variant& other);

  struct RawTag {};
  Variant(RawTag, std::uint16_t vt) noexcept : vt_(vt) { u_.bits = 0; }
  static Variant by_ref_to(VarKind kind, void* target) noexcept {
    Variant v(RawTag{}, static_cast<std::uint16_t>(code(kind) | kByRefFlag));
    v.u_.ref = target;
    return v;
  }
  template <class T>
  const T* scalar(VarKind k) const noexcept {
    const Variant& v = resolved();
    if (v.vt_ == code(k)) return reinterpret_cast<const T*>(&v.u_);
    if (v.vt_ == (code(k) | kByRefFlag)) return static_cast<const T*>(v.u_.ref);
    return nullptr;
  }

  std::uint16_t vt_;
  std::uint16_t reserved_[3] = {0, 0, 0};
  union Payload {
    Payload() noexcept : bits(0) {}
    Payload(const Payload& o) noexcept { std::memcpy(static_cast<void*>(this), &o, sizeof *this); }
    Payload& operator=(const Payload& o) noexcept {
      std::memcpy(static_cast<void*>(this), &o, sizeof *this);
      return *this;
    }
    ~Payload() {}
    std::uint64_t bits;
    std::int16_t i2;
    std::int32_t i4;
    float r4;
    double r8;
    std::int16_t b;
    std::uint8_t ui1;
    std::int32_t scode;
    String str;
    Ref<Unknown> obj;
    Array* arr;
    Record rec;
    void* ref;
  } u_;
};

static_assert(sizeof(Variant) == 16, "a Variant is a kind word and an 8-byte payload");
static_assert(std::endian::native == std::endian::little, "scalars sit in the low bytes of the payload word");

/// True when both hold the same kind and the same value: floats bit for bit, strings by code
/// units, objects by identity, arrays element by element. Used by tests and the host.
bool identical(const Variant& a, const Variant& b) noexcept;

/// The default of an optional by-reference parameter in C++ (`Variant& m = omitted<Variant>()`):
/// a per-thread slot reset on every use to the omitted value (missing for a Variant, Nothing for a
/// reference, zero otherwise), so a caller may leave the argument out and ignore what comes back.
template <class T>
T& omitted() {
  thread_local T slot{};
  if constexpr (std::is_same_v<T, Variant>) {
    slot = Variant::missing();
  } else {
    slot = T{};
  }
  return slot;
}

}  // namespace quorvel
