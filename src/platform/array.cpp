// Typed arrays: every element kind's default is all-zero bytes (0, False, the null string, Nothing,
// Empty), so storage comes from calloc and grows with realloc; only strings, objects and Variants
// need their elements copied or released one by one.
#include "quorvel/platform/array.h"

#include <cstring>
#include <limits>
#include <new>

#include "quorvel/platform/coerce.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

std::size_t element_width(VarKind kind) noexcept {
  switch (kind) {
    case VarKind::Byte: return 1;
    case VarKind::Integer:
    case VarKind::Boolean: return 2;
    case VarKind::Long:
    case VarKind::Single:
    case VarKind::Error: return 4;
    case VarKind::Double: return 8;
    case VarKind::String: return sizeof(String);
    case VarKind::Object: return sizeof(Ref<Unknown>);
    case VarKind::Variant: return sizeof(Variant);
    case VarKind::Record: return sizeof(Record);
    case VarKind::Empty:
    case VarKind::Null: return 0;
  }
  return 0;
}

// Records are left out: an array of records is made from its record type, never from a kind alone.
bool is_element_kind(VarKind kind) noexcept {
  return element_width(kind) != 0 && kind != VarKind::Error && kind != VarKind::Record;
}

void raise_subscript_error() { raise_runtime_error(RuntimeError::SubscriptOutOfRange); }

namespace {

void* allocate_zeroed(VarKind kind, std::int32_t count) {
  if (count == 0) return nullptr;
  return allocate_zeroed_memory(static_cast<std::size_t>(count), element_width(kind));
}

// Copies `count` elements into zeroed storage, taking references where the kind needs them.
void copy_elements(VarKind kind, void* to, const void* from, std::int32_t count) {
  const auto n = static_cast<std::size_t>(count);
  switch (kind) {
    case VarKind::String:
      for (std::size_t i = 0; i < n; ++i) static_cast<String*>(to)[i] = static_cast<const String*>(from)[i];
      return;
    case VarKind::Object:
      for (std::size_t i = 0; i < n; ++i) static_cast<Ref<Unknown>*>(to)[i] = static_cast<const Ref<Unknown>*>(from)[i];
      return;
    case VarKind::Variant:
      for (std::size_t i = 0; i < n; ++i) static_cast<Variant*>(to)[i] = static_cast<const Variant*>(from)[i];
      return;
    case VarKind::Record:
      for (std::size_t i = 0; i < n; ++i) static_cast<Record*>(to)[i] = static_cast<const Record*>(from)[i];
      return;
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Integer:
    case VarKind::Long:
    case VarKind::Single:
    case VarKind::Double:
    case VarKind::Error:
    case VarKind::Boolean:
    case VarKind::Byte:
      if (n) std::memcpy(to, from, n * element_width(kind));
      return;
  }
}

void destroy_range(VarKind kind, void* data, std::size_t from, std::size_t to) noexcept {
  switch (kind) {
    case VarKind::String:
      for (std::size_t i = from; i < to; ++i) static_cast<String*>(data)[i].~String();
      return;
    case VarKind::Object:
      for (std::size_t i = from; i < to; ++i) static_cast<Ref<Unknown>*>(data)[i].~Ref<Unknown>();
      return;
    case VarKind::Variant:
      for (std::size_t i = from; i < to; ++i) static_cast<Variant*>(data)[i].~Variant();
      return;
    case VarKind::Record:
      for (std::size_t i = from; i < to; ++i) static_cast<Record*>(data)[i].~Record();
      return;
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Integer:
    case VarKind::Long:
    case VarKind::Single:
    case VarKind::Double:
    case VarKind::Error:
    case VarKind::Boolean:
    case VarKind::Byte:
      return;
  }
}

}  // namespace

Array::Array(VarKind element, std::int32_t lower, std::int32_t count) : kind_(element) {
  if (count < 0) raise_runtime_error(RuntimeError::InvalidProcedureCall);
  // Both bounds must be representable: an empty array at the lowest lower bound has none.
  const std::int64_t upper = static_cast<std::int64_t>(lower) + count - 1;
  if (upper > std::numeric_limits<std::int32_t>::max() || upper < std::numeric_limits<std::int32_t>::min()) {
    raise_runtime_error(RuntimeError::Overflow);
  }
  data_ = allocate_zeroed(element, count);
  allocated_ = true;
  lower_ = lower;
  count_ = count;
}

Array::Array(const RecordInfo& record, std::int32_t lower, std::int32_t count) : Array(VarKind::Record, lower, count) {
  record_ = &record;
}

Array::Array(const Array& other) : kind_(other.kind_), record_(other.record_) {
  if (!other.allocated_) return;
  data_ = allocate_zeroed(kind_, other.count_);
  copy_elements(kind_, data_, other.data_, other.count_);
  allocated_ = true;
  lower_ = other.lower_;
  count_ = other.count_;
}

Array::Array(Array&& other) noexcept
    : kind_(other.kind_), record_(other.record_), allocated_(other.allocated_), lower_(other.lower_), count_(other.count_), data_(other.data_) {
  other.allocated_ = false;
  other.lower_ = other.count_ = 0;
  other.data_ = nullptr;
}

Array& Array::operator=(const Array& other) {
  if (this != &other) {
    Array copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Array& Array::operator=(Array&& other) noexcept {
  if (this != &other) {
    destroy_elements();
    kind_ = other.kind_;
    record_ = other.record_;
    allocated_ = std::exchange(other.allocated_, false);
    lower_ = std::exchange(other.lower_, 0);
    count_ = std::exchange(other.count_, 0);
    data_ = std::exchange(other.data_, nullptr);
  }
  return *this;
}

Array::~Array() { destroy_elements(); }

void Array::destroy_elements() noexcept {
  if (data_) {
    destroy_range(kind_, data_, 0, static_cast<std::size_t>(count_));
    free_memory(data_);
  }
  data_ = nullptr;
  allocated_ = false;
  lower_ = count_ = 0;
}

Array Array::adopt(VarKind element, std::int32_t lower, std::int32_t count, void* malloc_block) noexcept {
  Array a(element);
  a.allocated_ = true;
  a.lower_ = lower;
  a.count_ = count;
  a.data_ = malloc_block;
  return a;
}

std::int32_t Array::lower_bound() const {
  if (!allocated_) raise_subscript_error();
  return lower_;
}

std::int32_t Array::upper_bound() const {
  if (!allocated_) raise_subscript_error();
  return static_cast<std::int32_t>(static_cast<std::int64_t>(lower_) + count_ - 1);
}

void Array::check_unlocked() const {
  if (locks_ > 0) raise_runtime_error(RuntimeError::ArrayLocked);
}

void Array::erase() {
  check_unlocked();
  destroy_elements();
}

void Array::resize(std::int32_t count) {
  check_unlocked();
  if (count < 0) raise_runtime_error(RuntimeError::InvalidProcedureCall);
  if (count == count_ && allocated_) return;
  const std::int64_t upper = static_cast<std::int64_t>(allocated_ ? lower_ : 0) + count - 1;
  if (upper > std::numeric_limits<std::int32_t>::max() || upper < std::numeric_limits<std::int32_t>::min()) {
    raise_runtime_error(RuntimeError::Overflow);
  }
  const std::size_t width = element_width(kind_);
  void* grown = nullptr;
  if (count > count_) {
    // Every element kind moves as bytes (strings, references and Variants are pointer-like), so
    // realloc may extend the block in place. A failure leaves everything as it was.
    grown = reallocate_memory(data_, static_cast<std::size_t>(count) * width);
    std::memset(static_cast<char*>(grown) + static_cast<std::size_t>(count_) * width, 0,
                static_cast<std::size_t>(count - count_) * width);
  } else {
    destroy_range(kind_, data_, static_cast<std::size_t>(count), static_cast<std::size_t>(count_));
    if (count > 0) {
      // A smaller block that cannot be had is no failure: the larger one still holds everything.
      try {
        grown = reallocate_memory(data_, static_cast<std::size_t>(count) * width);
      } catch (const Error&) {
        grown = data_;
      }
    } else {
      free_memory(data_);
    }
  }
  if (!allocated_) lower_ = 0;
  data_ = grown;
  count_ = count;
  allocated_ = true;
}

Variant Array::get(std::int32_t index) const {
  if (!allocated_) raise_subscript_error();
  const std::int64_t offset = static_cast<std::int64_t>(index) - lower_;
  if (offset < 0 || offset >= count_) raise_subscript_error();
  const auto i = static_cast<std::size_t>(offset);
  switch (kind_) {
    case VarKind::Integer: return Variant(static_cast<const std::int16_t*>(data_)[i]);
    case VarKind::Long: return Variant(static_cast<const std::int32_t*>(data_)[i]);
    case VarKind::Single: return Variant(static_cast<const float*>(data_)[i]);
    case VarKind::Double: return Variant(static_cast<const double*>(data_)[i]);
    case VarKind::Boolean: return Variant(static_cast<const VariantBool*>(data_)[i]);
    case VarKind::Byte: return Variant(static_cast<const std::uint8_t*>(data_)[i]);
    case VarKind::String: return Variant(static_cast<const String*>(data_)[i]);
    case VarKind::Object: return Variant(static_cast<const Ref<Unknown>*>(data_)[i]);
    case VarKind::Variant: return static_cast<const Variant*>(data_)[i];
    case VarKind::Error: return Variant::error(static_cast<const std::int32_t*>(data_)[i]);
    case VarKind::Record: {
      // An array made from the kind alone has no record type to give its empty slots.
      const Record& r = static_cast<const Record*>(data_)[i];
      if (r.info()) return Variant(r);
      if (!record_) raise_runtime_error(RuntimeError::TypeMismatch);
      return Variant(Record(*record_));
    }
    case VarKind::Empty:
    case VarKind::Null:
      break;
  }
  return Variant();
}

void Array::put(std::int32_t index, const Variant& value) {
  if (!allocated_) raise_subscript_error();
  const std::int64_t offset = static_cast<std::int64_t>(index) - lower_;
  if (offset < 0 || offset >= count_) raise_subscript_error();
  const auto i = static_cast<std::size_t>(offset);
  switch (kind_) {
    case VarKind::Integer: static_cast<std::int16_t*>(data_)[i] = value.to_integer(); return;
    case VarKind::Long: static_cast<std::int32_t*>(data_)[i] = value.to_long(); return;
    case VarKind::Single: static_cast<float*>(data_)[i] = value.to_single(); return;
    case VarKind::Double: static_cast<double*>(data_)[i] = value.to_double(); return;
    case VarKind::Boolean: static_cast<VariantBool*>(data_)[i] = value.to_boolean(); return;
    case VarKind::Byte: static_cast<std::uint8_t*>(data_)[i] = value.to_byte(); return;
    case VarKind::String: static_cast<String*>(data_)[i] = value.to_string(); return;
    case VarKind::Object: static_cast<Ref<Unknown>*>(data_)[i] = value.to_object(); return;
    case VarKind::Variant: static_cast<Variant*>(data_)[i] = value.copy_ind(); return;
    case VarKind::Record: {
      const Record* r = value.if_record();
      if (!r || r->info() != record_) break;
      static_cast<Record*>(data_)[i] = *r;
      return;
    }
    case VarKind::Error:
    case VarKind::Empty:
    case VarKind::Null:
      break;
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

}  // namespace quorvel
