// Record values: a heap body holding the type and one Variant per field. Fields are kept in their
// declared kinds, so a record read back field by field gives what its C++ struct would hold.
#include "quorvel/platform/record.h"

#include <new>

#include "quorvel/platform/coerce.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/memory.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

// The fields follow the header in the same block.
struct alignas(Variant) Record::Body {
  const RecordInfo* info;
  std::size_t count;

  Variant* fields() noexcept { return reinterpret_cast<Variant*>(this + 1); }

  static Body* allocate(const RecordInfo& info) {
    const std::size_t n = info.fields.size();
    void* block = allocate_memory(sizeof(Body) + n * sizeof(Variant));
    auto* body = new (block) Body{&info, n};
    for (std::size_t i = 0; i < n; ++i) new (&body->fields()[i]) Variant();
    return body;
  }
  static void destroy(Body* body) noexcept {
    if (!body) return;
    for (std::size_t i = 0; i < body->count; ++i) body->fields()[i].~Variant();
    free_memory(body);
  }
};

namespace {

Variant field_default(const FieldInfo& f) {
  const auto kind = static_cast<VarKind>(f.type.code & kKindMask);
  if (f.type.code & kArrayFlag) return kind == VarKind::Record ? Variant(Array(f.record())) : Variant(Array(kind));
  switch (kind) {
    case VarKind::Integer: return Variant(std::int16_t{0});
    case VarKind::Long: return Variant(std::int32_t{0});
    case VarKind::Single: return Variant(0.0f);
    case VarKind::Double: return Variant(0.0);
    case VarKind::Boolean: return Variant(false);
    case VarKind::Byte: return Variant(std::uint8_t{0});
    case VarKind::String: return Variant(String());
    case VarKind::Object: return Variant::nothing();
    case VarKind::Record: return Variant(Record(f.record()));
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Error:
    case VarKind::Variant:
      break;
  }
  return Variant();
}

// `value` in the field's kind. Arrays and records must already be of the field's type: the value
// rules convert no array or record into another.
Variant field_value(const FieldInfo& f, const Variant& value) {
  const auto kind = static_cast<VarKind>(f.type.code & kKindMask);
  if (f.type.code & kArrayFlag) {
    const Array* a = value.if_array();
    if (!a || a->element_kind() != kind || (kind == VarKind::Record && a->record_info() != &f.record())) {
      raise_runtime_error(RuntimeError::TypeMismatch);
    }
    return Variant(*a);
  }
  if (kind == VarKind::Record) {
    const Record* r = value.if_record();
    if (!r || r->info() != &f.record()) raise_runtime_error(RuntimeError::TypeMismatch);
    return Variant(*r);
  }
  return change_type(value, kind);
}

}  // namespace

Record::Record(const RecordInfo& info) : body_(Body::allocate(info)) {
  try {
    for (std::size_t i = 0; i < body_->count; ++i) body_->fields()[i] = field_default(info.fields[i]);
  } catch (...) {
    Body::destroy(body_);
    throw;
  }
}

Record::Record(const Record& other) {
  if (!other.body_) return;
  Body* body = Body::allocate(*other.body_->info);
  try {
    for (std::size_t i = 0; i < body->count; ++i) body->fields()[i] = other.body_->fields()[i];
  } catch (...) {
    Body::destroy(body);
    throw;
  }
  body_ = body;
}

Record& Record::operator=(const Record& other) {
  if (this != &other) {
    Record copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Record& Record::operator=(Record&& other) noexcept {
  if (this != &other) {
    Body::destroy(body_);
    body_ = other.body_;
    other.body_ = nullptr;
  }
  return *this;
}

Record::~Record() { Body::destroy(body_); }

const RecordInfo* Record::info() const noexcept { return body_ ? body_->info : nullptr; }

std::span<const Variant> Record::fields() const noexcept {
  if (!body_) return {};
  return {body_->fields(), body_->count};
}

Variant& Record::field(std::size_t i) noexcept { return body_->fields()[i]; }

void Record::set_field(std::size_t i, const Variant& value) {
  Variant converted = field_value(body_->info->fields[i], value);
  body_->fields()[i].swap(converted);
}

bool identical(const Record& a, const Record& b) noexcept {
  if (a.info() != b.info()) return false;
  const auto x = a.fields();
  const auto y = b.fields();
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (!identical(x[i], y[i])) return false;
  }
  return true;
}

}  // namespace quorvel
