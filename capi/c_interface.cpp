// The C interface over the public C++ surface. A qv_variant has the layout of a Variant, so
// argument arrays are passed on as they are once their kind words have been checked; every
// entry catches what the library raises and keeps it as the thread's last error.
#include "quorvel/quorvel.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/named_arguments.h"
#include "quorvel/platform/registry.h"
#include "quorvel/platform/variant.h"
#include "last_error.h"

static_assert(sizeof(qv_variant) == sizeof(quorvel::Variant) && alignof(qv_variant) == alignof(quorvel::Variant),
              "a qv_variant is laid out as a Variant");
static_assert(QV_ARRAY == quorvel::kArrayFlag && QV_BYREF == quorvel::kByRefFlag);

using namespace quorvel;

namespace {

struct LastError {
  std::int32_t number = 0;
  String source;
  String description;
};
thread_local LastError last_error;

}  // namespace

qv_status capi::record_failure(std::int32_t number, const char16_t* why) noexcept {
  last_error.number = number;
  last_error.source = String();
  last_error.description = String();
  try {
    last_error.source = library_name();
    last_error.description = String(why);
  } catch (...) {  // no memory for the texts: the number still says what happened
  }
  return number;
}

namespace {

qv_status fail(std::int32_t number, const char16_t* why) noexcept { return capi::record_failure(number, why); }

// Malformed input is reported as the platform's invalid procedure call, with a word on why.
qv_status bad_argument(const char16_t* why) noexcept {
  return fail(static_cast<std::int32_t>(RuntimeError::InvalidProcedureCall), why);
}

template <class F>
qv_status guarded(F&& body) noexcept {
  try {
    body();
    return QV_OK;
  } catch (const Error& e) {
    last_error.number = e.number();
    last_error.source = e.source();
    last_error.description = e.description();
    return e.number();
  } catch (const std::bad_alloc&) {
    return fail(static_cast<std::int32_t>(RuntimeError::OutOfMemory), u"Out of memory");
  } catch (...) {
    return fail(51, u"Internal error");
  }
}

Variant& as_variant(qv_variant* v) noexcept { return *std::launder(reinterpret_cast<Variant*>(v)); }
const Variant& as_variant(const qv_variant* v) noexcept {
  return *std::launder(reinterpret_cast<const Variant*>(v));
}

// Handles come from allocations: never in the first page and always pointer-aligned.
bool plausible(const void* p) noexcept {
  const auto bits = reinterpret_cast<std::uintptr_t>(p);
  return bits >= 4096 && bits % alignof(void*) == 0;
}

bool plain_kind(std::uint16_t k) noexcept {
  switch (k) {
    case QV_EMPTY: case QV_NULL: case QV_INTEGER: case QV_LONG: case QV_SINGLE: case QV_DOUBLE:
    case QV_STRING: case QV_OBJECT: case QV_ERROR: case QV_BOOLEAN: case QV_BYTE:
      return true;
    default:
      return false;
  }
}

// A kind word the library can read, and for owned and by-reference payloads a plausible pointer.
// By-reference Variants are followed a few levels: a longer chain is taken as a loop.
bool well_formed(const qv_variant& v, int depth = 0) noexcept {
  const std::uint16_t flags = v.kind & (QV_ARRAY | QV_BYREF), k = v.kind & ~(QV_ARRAY | QV_BYREF);
  if (v.reserved[0] || v.reserved[1] || v.reserved[2]) return false;
  if (flags & QV_ARRAY) {
    if (!(k == QV_VARIANT || (plain_kind(k) && k != QV_EMPTY && k != QV_NULL))) return false;
    return plausible(v.value.arr) && static_cast<const Array*>(static_cast<void*>(v.value.arr))->element_kind() ==
                                         static_cast<VarKind>(k);
  }
  if (flags & QV_BYREF) {
    if (k == QV_EMPTY || k == QV_NULL || !(plain_kind(k) || k == QV_VARIANT) || !v.value.ref) return false;
    if (k == QV_VARIANT) return depth < 4 && plausible(v.value.ref) && well_formed(*static_cast<const qv_variant*>(v.value.ref), depth + 1);
    return true;
  }
  if (k == QV_STRING || k == QV_OBJECT) return !v.value.ref || plausible(v.value.ref);
  return plain_kind(k);
}

// Scalars without a pointer in them, the common arguments, pass with one test.
constexpr std::uint32_t kScalarKinds = 1u << QV_EMPTY | 1u << QV_NULL | 1u << QV_INTEGER | 1u << QV_LONG |
                                       1u << QV_SINGLE | 1u << QV_DOUBLE | 1u << QV_ERROR | 1u << QV_BOOLEAN |
                                       1u << QV_BYTE;

inline bool plain_scalar(const qv_variant& v) noexcept {
  if constexpr (std::endian::native == std::endian::little) {
    // The kind word and the reserved words read as one number: it is the kind when they are 0.
    std::uint64_t head;
    std::memcpy(&head, &v, sizeof head);
    return head < 32 && (kScalarKinds >> head & 1u);
  } else {
    return v.kind < 32 && (kScalarKinds >> v.kind & 1u) && (v.reserved[0] | v.reserved[1] | v.reserved[2]) == 0;
  }
}

[[gnu::noinline]] qv_status refuse_call(qv_object object, int kinds, const qv_variant* args, std::size_t count) noexcept {
  if (!object) return fail(static_cast<std::int32_t>(RuntimeError::ObjectNotSet), u"Object variable not set");
  if (!plausible(object)) return bad_argument(u"Not an object handle");
  if (kinds <= 0 || kinds > 15) return bad_argument(u"Unknown member kind");
  if (count && !args) return bad_argument(u"Arguments missing");
  for (std::size_t i = 0; i < count; ++i) {
    if (!plain_scalar(args[i]) && !well_formed(args[i])) return bad_argument(u"Malformed argument value");
  }
  return QV_OK;
}

// What passes a call with plain scalar arguments; any other call is judged by `refuse_call`.
inline bool fast_call(qv_object object, int kinds, const qv_variant* args, std::size_t count) noexcept {
  bool fine = plausible(object) && kinds > 0 && kinds <= 15 && (args || !count);
  for (std::size_t i = 0; i < count && fine; ++i) fine = plain_scalar(args[i]);
  return fine;
}

inline qv_status check_call(qv_object object, int kinds, const qv_variant* args, std::size_t count,
                            qv_variant* result = nullptr) noexcept {
  if (result) new (result) Variant();
  return fast_call(object, kinds, args, count) ? QV_OK : refuse_call(object, kinds, args, count);
}

Unknown& as_unknown(qv_object object) noexcept { return *reinterpret_cast<Unknown*>(object); }

qv_object hand_out(Ref<Unknown> object) noexcept { return reinterpret_cast<qv_object>(object.detach()); }

// Whether `v` is one of the `count` values at `args` (compared as addresses, whatever they point at).
bool among(const qv_variant* v, const qv_variant* args, std::size_t count) noexcept {
  const auto at = reinterpret_cast<std::uintptr_t>(v), first = reinterpret_cast<std::uintptr_t>(args);
  return at >= first && at - first < count * sizeof(qv_variant);
}

void put_result(qv_variant* result, Variant&& value) noexcept {
  if (result) new (result) Variant(std::move(value));
}

// A checked call whose result is made in `out` itself, with no temporary to move from and no
// Empty written first; a failed call leaves Empty there. Inlined: a call of its own costs the
// C interface a measurable share of a short member's time.
[[gnu::always_inline]] inline qv_status invoke_into(Unknown& object, DispId dispid, MemberKind kinds,
                                                    std::span<Variant> args, Variant* out) noexcept {
  const qv_status s = guarded([&] { ::new (out) Variant(invoke(object, dispid, kinds, args)); });
  if (s != QV_OK) ::new (out) Variant();  // what a failed call may have left half made
  return s;
}

// qv_invoke for any call: a result that is one of the arguments is emptied before the call, as
// any other result.
[[gnu::noinline]] qv_status invoke_checked(qv_object object, int32_t dispid, int kinds, qv_variant* args,
                                           std::size_t count, qv_variant* result) noexcept {
  if (const qv_status s = check_call(object, kinds, args, count, result)) return s;
  return guarded([&] {
    std::span<Variant> list(count ? &as_variant(args) : nullptr, count);
    put_result(result, invoke(as_unknown(object), dispid, static_cast<MemberKind>(kinds), list));
  });
}

char* utf8_copy(const String& s) {
  const std::string text = s.to_utf8();
  char* out = static_cast<char*>(std::malloc(text.size() + 1));
  if (!out) throw std::bad_alloc();
  std::memcpy(out, text.c_str(), text.size() + 1);
  return out;
}

String string_of(qv_string s) noexcept {
  qv_variant v{};
  v.kind = QV_STRING;
  v.value.str = s;
  return *as_variant(&v).if_string();  // a copy shares the buffer; `v` is never destroyed
}

qv_string hand_out(String s) noexcept {
  qv_variant v{};
  new (&v) Variant(std::move(s));
  return v.value.str;  // the Variant's reference passes to the handle
}

}  // namespace

extern "C" {

qv_status qv_create(const char* progid, qv_object* out) {
  if (!progid || !out) return bad_argument(u"Null argument");
  *out = nullptr;
  return guarded([&] { *out = hand_out(Variant(create_object(String::from_utf8(progid).view())).to_object()); });
}

qv_status qv_create_by_clsid(const char* clsid, qv_object* out) {
  if (!clsid || !out) return bad_argument(u"Null argument");
  *out = nullptr;
  Guid id;
  if (!Guid::parse(clsid, id)) return bad_argument(u"Malformed class id");
  return guarded([&] { *out = hand_out(Variant(create_object(id)).to_object()); });
}

qv_status qv_global(const char* name, qv_object* out) {
  if (!name || !out) return bad_argument(u"Null argument");
  *out = nullptr;
  return guarded([&] { *out = hand_out(Variant(global_object(String::from_utf8(name).view())).to_object()); });
}

qv_status qv_addref(qv_object object) {
  if (!plausible(object)) return bad_argument(u"Not an object handle");
  as_unknown(object).add_ref();
  return QV_OK;
}

qv_status qv_release(qv_object object) {
  if (!object) return QV_OK;
  if (!plausible(object)) return bad_argument(u"Not an object handle");
  // The last release runs destructors of caller-visible objects, which may raise.
  return guarded([&] { Ref<Unknown>::adopt(&as_unknown(object)); });
}

qv_status qv_get_dispid(qv_object object, const char* name, int32_t* out) {
  if (!name || !out) return bad_argument(u"Null argument");
  if (const qv_status s = check_call(object, QV_METHOD, nullptr, 0)) return s;
  return guarded([&] { *out = get_dispid(as_unknown(object), String::from_utf8(name).view()); });
}

qv_status qv_invoke(qv_object object, int32_t dispid, int kinds, qv_variant* args, size_t count, qv_variant* result) {
  // The usual call (plain scalar arguments, a result apart from them) is checked in one pass
  // and made in place; everything else takes the full path.
  if (result && fast_call(object, kinds, args, count) && !among(result, args, count)) {
    return invoke_into(as_unknown(object), dispid, static_cast<MemberKind>(kinds),
                       std::span<Variant>(count ? &as_variant(args) : nullptr, count), &as_variant(result));
  }
  return invoke_checked(object, dispid, kinds, args, count, result);
}

qv_status qv_invoke_by_name(qv_object object, const char* name, int kinds, qv_variant* args, size_t count,
                            qv_variant* result) {
  if (!name) return bad_argument(u"Null argument");
  if (const qv_status s = check_call(object, kinds, args, count, result)) return s;
  return guarded([&] {
    std::span<Variant> list(count ? &as_variant(args) : nullptr, count);
    put_result(result, invoke(as_unknown(object), String::from_utf8(name).view(), static_cast<MemberKind>(kinds), list));
  });
}

qv_status qv_invoke_named(qv_object object, int32_t dispid, int kinds, qv_variant* args, size_t count,
                          const char* const* names, size_t named, qv_variant* result) {
  if (named && !names) return bad_argument(u"Null argument");
  for (std::size_t i = 0; i < named; ++i) {
    if (!names[i]) return bad_argument(u"Null argument name");
  }
  if (const qv_status s = check_call(object, kinds, args, count, result)) return s;
  return guarded([&] {
    std::vector<String> texts;
    std::vector<std::u16string_view> views;
    for (std::size_t i = 0; i < named; ++i) texts.push_back(String::from_utf8(names[i]));
    for (const String& t : texts) views.push_back(t.view());
    std::span<Variant> list(count ? &as_variant(args) : nullptr, count);
    put_result(result, invoke_named(as_unknown(object), dispid, static_cast<MemberKind>(kinds), list, views));
  });
}

void qv_variant_init(qv_variant* v) {
  if (v) new (v) Variant();
}

qv_status qv_variant_clear(qv_variant* v) {
  if (!v) return QV_OK;
  if (!well_formed(*v)) return bad_argument(u"Malformed value");
  // Releasing an object may run a caller's destructor, which may raise.
  return guarded([&] { as_variant(v).clear(); });
}

qv_status qv_variant_copy(qv_variant* out, const qv_variant* in) {
  if (!out || !in) return bad_argument(u"Null argument");
  if (!well_formed(*in) || !well_formed(*out)) return bad_argument(u"Malformed value");
  return guarded([&] { as_variant(out) = as_variant(in).copy_ind(); });
}

qv_status qv_string_from_utf8(const char* text, size_t length, qv_string* out) {
  if (!out || (!text && length)) return bad_argument(u"Null argument");
  *out = nullptr;
  return guarded([&] { *out = hand_out(String::from_utf8(std::string_view(text ? text : "", length))); });
}

qv_status qv_string_from_utf16(const uint16_t* units, size_t length, qv_string* out) {
  if (!out || (!units && length)) return bad_argument(u"Null argument");
  *out = nullptr;
  return guarded([&] {
    std::u16string copy(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) copy[i] = static_cast<char16_t>(units[i]);
    *out = hand_out(String(copy));
  });
}

qv_status qv_string_units(qv_string s, const uint16_t** units, size_t* length) {
  if (!units || !length) return bad_argument(u"Null argument");
  if (s && !plausible(s)) return bad_argument(u"Not a string handle");
  const String text = string_of(s);
  // The handle keeps the buffer alive after `text` goes.
  *units = reinterpret_cast<const uint16_t*>(text.c_str());
  *length = text.size();
  return QV_OK;
}

qv_status qv_string_to_utf8(qv_string s, char** out) {
  if (!out) return bad_argument(u"Null argument");
  *out = nullptr;
  if (s && !plausible(s)) return bad_argument(u"Not a string handle");
  return guarded([&] { *out = utf8_copy(string_of(s)); });
}

void qv_string_free(qv_string s) {
  if (!plausible(s)) return;
  qv_variant v{};
  v.kind = QV_STRING;
  v.value.str = s;
  as_variant(&v).clear();
}

qv_status qv_array_create(int kind, int32_t lower, int32_t count, qv_array* out) {
  if (!out) return bad_argument(u"Null argument");
  *out = nullptr;
  if (kind < 0 || kind > 0xFFF || !is_element_kind(static_cast<VarKind>(kind))) return bad_argument(u"Not an element kind");
  return guarded([&] {
    qv_variant v{};
    new (&v) Variant(Array(static_cast<VarKind>(kind), lower, count));
    *out = v.value.arr;
  });
}

namespace {
Array* array_of(qv_array a) noexcept { return plausible(a) ? reinterpret_cast<Array*>(a) : nullptr; }
}  // namespace

qv_status qv_array_bounds(qv_array a, int32_t* lower, int32_t* count) {
  Array* array = array_of(a);
  if (!array || !lower || !count) return bad_argument(u"Null argument");
  return guarded([&] {
    *lower = array->lower_bound();
    *count = array->count();
  });
}

qv_status qv_array_get(qv_array a, int32_t index, qv_variant* out) {
  Array* array = array_of(a);
  if (!array || !out) return bad_argument(u"Null argument");
  qv_variant_init(out);
  return guarded([&] { put_result(out, array->get(index)); });
}

qv_status qv_array_put(qv_array a, int32_t index, const qv_variant* value) {
  Array* array = array_of(a);
  if (!array || !value) return bad_argument(u"Null argument");
  if (!well_formed(*value)) return bad_argument(u"Malformed value");
  return guarded([&] { array->put(index, as_variant(value)); });
}

void qv_array_free(qv_array a) {
  if (Array* array = array_of(a)) delete array;
}

void qv_free(void* p) { std::free(p); }

qv_status qv_last_error(int32_t* number, char** source, char** description) {
  if (source) *source = nullptr;
  if (description) *description = nullptr;
  if (number) *number = last_error.number;
  return guarded([&] {
    if (source) *source = utf8_copy(last_error.source);
    if (description) *description = utf8_copy(last_error.description);
  });
}

}  // extern "C"
