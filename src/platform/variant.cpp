// Variant lifetime, kind tests, by-reference access and the dereferencing copy. Conversions live in
// coerce.cpp; reading an object's default value lives with late binding.
#include "quorvel/platform/variant.h"

#include <cmath>
#include <cstring>

#include "quorvel/platform/coerce.h"
#include "quorvel/platform/error.h"

namespace quorvel {

Variant::Variant(Array a) : vt_(static_cast<std::uint16_t>(code(a.element_kind()) | kArrayFlag)) {
  u_.arr = new Array(std::move(a));
}

Variant::Variant(Record r) : vt_(0) {
  if (!r.info()) raise_runtime_error(RuntimeError::InvalidProcedureCall);
  new (&u_.rec) Record(std::move(r));
  vt_ = code(VarKind::Record);
}

Variant Variant::by_ref(Array& t) noexcept {
  Variant v(RawTag{}, static_cast<std::uint16_t>(code(t.element_kind()) | kArrayFlag | kByRefFlag));
  v.u_.ref = &t;
  return v;
}

// Called with the payload already copied bitwise: take what a copy must own.
void Variant::copy_resource(const Variant& other) {
  if (vt_ == code(VarKind::String)) {
    new (&u_.str) String(other.u_.str);
  } else if (vt_ == code(VarKind::Object)) {
    new (&u_.obj) Ref<Unknown>(other.u_.obj);
  } else if (vt_ == code(VarKind::Record)) {
    vt_ = 0;  // stay a valid Empty if the record copy cannot be made
    new (&u_.rec) Record(other.u_.rec);
    vt_ = other.vt_;
  } else {
    vt_ = 0;  // stay a valid Empty if the array copy cannot be made
    u_.arr = new Array(*other.u_.arr);
    vt_ = other.vt_;
  }
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    swap(copy);
  }
  return *this;
}


void Variant::release_resource() noexcept {
  if (vt_ == code(VarKind::String)) {
    u_.str.~String();
  } else if (vt_ == code(VarKind::Object)) {
    u_.obj.~Ref<Unknown>();
  } else if (vt_ == code(VarKind::Record)) {
    u_.rec.~Record();
  } else if ((vt_ & (kArrayFlag | kByRefFlag)) == kArrayFlag) {
    delete u_.arr;
  }
}

bool Variant::is_numeric() const noexcept {
  switch (kind()) {
    case VarKind::Integer:
    case VarKind::Long:
    case VarKind::Single:
    case VarKind::Double:
    case VarKind::Boolean:
    case VarKind::Byte:
      return !is_array();
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::String:
    case VarKind::Object:
    case VarKind::Error:
    case VarKind::Variant:
    case VarKind::Record:
      return false;
  }
  return false;
}

const Array* Variant::if_array() const noexcept {
  const Variant& v = resolved();
  if ((v.vt_ & kArrayFlag) == 0) return nullptr;
  return (v.vt_ & kByRefFlag) ? static_cast<const Array*>(v.u_.ref) : v.u_.arr;
}

Array* Variant::if_array() noexcept {
  return const_cast<Array*>(static_cast<const Variant*>(this)->if_array());
}

Variant Variant::copy_ind() const {
  const Variant& v = resolved();
  if (!(v.vt_ & kByRefFlag)) return v;
  if (v.vt_ & kArrayFlag) return Variant(*static_cast<const Array*>(v.u_.ref));
  switch (static_cast<VarKind>(v.vt_ & kKindMask)) {
    case VarKind::Integer: return Variant(*static_cast<const std::int16_t*>(v.u_.ref));
    case VarKind::Long: return Variant(*static_cast<const std::int32_t*>(v.u_.ref));
    case VarKind::Single: return Variant(*static_cast<const float*>(v.u_.ref));
    case VarKind::Double: return Variant(*static_cast<const double*>(v.u_.ref));
    case VarKind::Boolean: return Variant(*static_cast<const VariantBool*>(v.u_.ref));
    case VarKind::Byte: return Variant(*static_cast<const std::uint8_t*>(v.u_.ref));
    case VarKind::String: return Variant(*static_cast<const String*>(v.u_.ref));
    case VarKind::Object: return Variant(*static_cast<const Ref<Unknown>*>(v.u_.ref));
    case VarKind::Error: return Variant::error(*static_cast<const std::int32_t*>(v.u_.ref));
    case VarKind::Record: return Variant(*static_cast<const Record*>(v.u_.ref));
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Variant:
      break;
  }
  return Variant();
}

void Variant::assign(const Variant& value) {
  Variant& target = resolved();
  if (!(target.vt_ & kByRefFlag)) {
    target = value.copy_ind();
    return;
  }
  void* p = target.u_.ref;
  if (target.vt_ & kArrayFlag) {
    const Array* a = value.if_array();
    if (!a || a->element_kind() != static_cast<VarKind>(target.vt_ & kKindMask) ||
        a->record_info() != static_cast<const Array*>(p)->record_info()) {
      raise_runtime_error(RuntimeError::TypeMismatch);
    }
    *static_cast<Array*>(p) = *a;
    return;
  }
  switch (static_cast<VarKind>(target.vt_ & kKindMask)) {
    case VarKind::Integer: *static_cast<std::int16_t*>(p) = value.to_integer(); return;
    case VarKind::Long: *static_cast<std::int32_t*>(p) = value.to_long(); return;
    case VarKind::Single: *static_cast<float*>(p) = value.to_single(); return;
    case VarKind::Double: *static_cast<double*>(p) = value.to_double(); return;
    case VarKind::Boolean: *static_cast<VariantBool*>(p) = value.to_boolean(); return;
    case VarKind::Byte: *static_cast<std::uint8_t*>(p) = value.to_byte(); return;
    case VarKind::String: *static_cast<String*>(p) = value.to_string(); return;
    case VarKind::Object: *static_cast<Ref<Unknown>*>(p) = value.to_object(); return;
    case VarKind::Error: {
      const std::int32_t* e = value.if_error();
      if (!e) raise_runtime_error(RuntimeError::TypeMismatch);
      *static_cast<std::int32_t*>(p) = *e;
      return;
    }
    case VarKind::Record: {
      const Record* r = value.if_record();
      Record& into = *static_cast<Record*>(p);
      if (!r || r->info() != into.info()) raise_runtime_error(RuntimeError::TypeMismatch);
      into = *r;
      return;
    }
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Variant:
      break;
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

Ref<Unknown> Variant::to_object() const {
  const Variant& v = resolved();
  if (v.vt_ == code(VarKind::Object)) return v.u_.obj;
  if (v.vt_ == (code(VarKind::Object) | kByRefFlag)) return *static_cast<const Ref<Unknown>*>(v.u_.ref);
  raise_runtime_error(RuntimeError::ObjectRequired);
}

namespace {

bool same_bits(double a, double b) noexcept { return std::memcmp(&a, &b, sizeof a) == 0; }
bool same_bits(float a, float b) noexcept { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

bool identical(const Variant& a, const Variant& b) noexcept {
  if (a.type_code() != b.type_code()) return false;
  if (a.is_array()) {
    const Array& x = *a.if_array();
    const Array& y = *b.if_array();
    if (x.allocated() != y.allocated() || x.record_info() != y.record_info()) return false;
    if (!x.allocated()) return true;
    if (x.lower_bound() != y.lower_bound() || x.count() != y.count()) return false;
    try {
      for (std::int64_t i = x.lower_bound(); i <= x.upper_bound(); ++i) {
        if (!identical(x.get(static_cast<std::int32_t>(i)), y.get(static_cast<std::int32_t>(i)))) return false;
      }
    } catch (...) {
      return false;
    }
    return true;
  }
  switch (a.kind()) {
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Variant:
      return true;
    case VarKind::Integer: return *a.if_integer() == *b.if_integer();
    case VarKind::Long: return *a.if_long() == *b.if_long();
    case VarKind::Single: return same_bits(*a.if_single(), *b.if_single());
    case VarKind::Double: return same_bits(*a.if_double(), *b.if_double());
    case VarKind::Boolean: return a.if_boolean()->bits == b.if_boolean()->bits;
    case VarKind::Byte: return *a.if_byte() == *b.if_byte();
    case VarKind::Error: return *a.if_error() == *b.if_error();
    case VarKind::String: return *a.if_string() == *b.if_string();
    case VarKind::Record: return identical(*a.if_record(), *b.if_record());
    case VarKind::Object: {
      Unknown* x = a.if_object();
      Unknown* y = b.if_object();
      if (!x || !y) return x == y;
      return &x->identity() == &y->identity();
    }
  }
  return false;
}

}  // namespace quorvel
