// JSON value forms -> Variants, and Variants -> message text. Test data is taken literally: a
// typed form must already be in range for its kind, nothing is converted on the way in.
#include "value_codec.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/registry.h"

namespace quorvel::host {

namespace {

// The array element kinds by their names in the file format.
struct KindName {
  std::string_view tag;
  VarKind kind;
};
constexpr KindName kArrayKinds[] = {
    {"I2", VarKind::Integer}, {"I4", VarKind::Long},      {"R4", VarKind::Single},
    {"R8", VarKind::Double},  {"Str", VarKind::String},   {"Bool", VarKind::Boolean},
    {"UI1", VarKind::Byte},   {"Var", VarKind::Variant},  {"Obj", VarKind::Object},
};

std::int64_t whole_in(const Json& j, std::int64_t lo, std::int64_t hi, const char* kind) {
  if (j.is_number_unsigned() && j.get<std::uint64_t>() > static_cast<std::uint64_t>(hi)) {
    throw Malformed("number " + j.dump() + " is out of range for " + kind);
  }
  if (!j.is_number_integer()) {
    throw Malformed(std::string(kind) + " needs a whole number without fraction or exponent, got " + echo(j, 60));
  }
  const std::int64_t v = j.get<std::int64_t>();
  if (v < lo || v > hi) throw Malformed("number " + j.dump() + " is out of range for " + kind);
  return v;
}

double any_number(const Json& j, const char* kind) {
  if (!j.is_number()) throw Malformed(std::string(kind) + " needs a number, got " + echo(j, 60));
  return j.get<double>();
}

void expect_zero(const Json& j, std::string_view tag) {
  if (!(j.is_number_integer() && j.get<std::int64_t>() == 0)) {
    throw Malformed("write {\"" + std::string(tag) + "\": 0}, got " + echo(j, 60));
  }
}

Variant special_float(const Json& j, std::string_view tag, double value) {
  const std::string& kind = text_field(j, "the kind of a special float");
  if (kind == "R8") return Variant(value);
  if (kind == "R4") return Variant(static_cast<float>(value));
  throw Malformed("{\"" + std::string(tag) + "\": ...} takes \"R8\" or \"R4\", got " + echo(j, 60));
}

// A value of exactly `kind`, given bare ("5", "x", true) or in a tagged form of that kind.
Variant scalar_of_kind(const Json& j, VarKind kind, Variables& vars) {
  if (kind == VarKind::Variant) return value_from_json(j, vars, ValueUse::Plain);
  if (j.is_object()) {
    Variant v = value_from_json(j, vars, ValueUse::Plain);
    if (v.type_code() != Variant::code(kind)) {
      const std::string name = kind_name(kind);
      throw Malformed("expected " + std::string(name[0] == 'I' ? "an " : "a ") + name + " here, got " + value_text(v));
    }
    return v;
  }
  switch (kind) {
    case VarKind::Integer: return Variant(static_cast<std::int16_t>(whole_in(j, INT16_MIN, INT16_MAX, "Integer")));
    case VarKind::Byte: return Variant(static_cast<std::uint8_t>(whole_in(j, 0, UINT8_MAX, "Byte")));
    case VarKind::Long: return Variant(static_cast<std::int32_t>(whole_in(j, INT32_MIN, INT32_MAX, "Long")));
    case VarKind::Single: {
      const double d = any_number(j, "Single");
      if (std::fabs(d) > std::numeric_limits<float>::max()) {
        throw Malformed("number " + j.dump() + " is out of range for Single");
      }
      return Variant(static_cast<float>(d));
    }
    case VarKind::Double: return Variant(any_number(j, "Double"));
    case VarKind::String:
      return Variant(String::from_utf8(text_field(j, "a String")));
    case VarKind::Boolean:
      if (!j.is_boolean()) throw Malformed("a Boolean is true or false, got " + echo(j, 60));
      return Variant(j.get<bool>());
    case VarKind::Object:
      throw Malformed("an item of an Obj array is {\"Obj\": v} or {\"Nothing\": 0}, got " + echo(j, 60));
    case VarKind::Variant:  // handled above
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Error:
    case VarKind::Record:
      break;
  }
  throw Malformed(std::string("no value of kind ") + kind_name(kind) + " can be written this way");
}

const RecordInfo* find_record(std::string_view name) {
  for (const RecordInfo* r : type_library().records) {
    if (name == r->name) return r;
  }
  return nullptr;
}

// A record of type `info` from a JSON object of its fields (`skip` names a key that is not a
// field). Fields not given keep their defaults; a given field must be of the field's own kind.
Record record_from_fields(const RecordInfo& info, const Json& fields, Variables& vars, std::string_view skip = {}) {
  if (!fields.is_object()) throw Malformed(std::string("a ") + info.name + " record is an object of its fields, got " + echo(fields, 60));
  Record rec(info);
  for (auto it = fields.begin(); it != fields.end(); ++it) {
    if (it.key() == skip) continue;
    std::size_t i = 0;
    while (i < info.fields.size() && it.key() != info.fields[i].name) ++i;
    if (i == info.fields.size()) throw Malformed(std::string("a ") + info.name + " record has no field \"" + one_line(it.key()) + "\"");
    const FieldInfo& f = info.fields[i];
    Variant v = value_from_json(it.value(), vars, ValueUse::Plain);
    const bool any = f.type.code == Variant::code(VarKind::Variant);
    const Array* a = v.if_array();
    const bool same_record_type = (f.type.code & kKindMask) != Variant::code(VarKind::Record) ||
                                  (a ? a->record_info() == &f.record() : v.if_record() && v.if_record()->info() == &f.record());
    if (!any && (v.type_code() != f.type.code || !same_record_type)) {
      throw Malformed(std::string("field ") + f.name + " of " + info.name + " is not " + value_text(v));
    }
    rec.set_field(i, v);
  }
  return rec;
}

Variant record_value(const Json& form, Variables& vars) {
  if (!form.is_object() || !form.contains("type")) throw Malformed("{\"Rec\": ...} takes {\"type\": name, fields...}, got " + echo(form, 60));
  const std::string& name = text_field(form["type"], "a record's \"type\"");
  const RecordInfo* info = find_record(name);
  if (!info) throw Malformed("no record type is named \"" + one_line(name) + "\"");
  return Variant(record_from_fields(*info, form, vars, "type"));
}

Variant array_value(const Json& form, Variables& vars) {
  if (!form.is_object()) throw Malformed("{\"Arr\": ...} takes {\"vt\": K, \"lb\": n, \"items\": [...]}, got " + echo(form, 60));
  for (auto it = form.begin(); it != form.end(); ++it) {
    if (it.key() != "vt" && it.key() != "lb" && it.key() != "items" && it.key() != "unallocated") {
      throw Malformed("an array has \"vt\", \"lb\", \"items\" or \"unallocated\", not \"" + it.key() + "\"");
    }
  }
  if (!form.contains("vt")) throw Malformed("an array needs its element kind \"vt\"");
  const std::string& tag = text_field(form["vt"], "an array's \"vt\"");
  const KindName* found = nullptr;
  for (const KindName& k : kArrayKinds) {
    if (k.tag == tag) found = &k;
  }
  const RecordInfo* record = found ? nullptr : find_record(tag);
  if (!found && !record) throw Malformed("unknown array kind \"" + tag + "\" (I2 I4 R4 R8 Str Bool UI1 Var Obj, or a record name)");
  const VarKind kind = found ? found->kind : VarKind::Record;

  if (form.contains("unallocated")) {
    if (form["unallocated"] != Json(true)) throw Malformed("write \"unallocated\": true");
    if (form.contains("items") || form.contains("lb")) throw Malformed("an unallocated array has no \"lb\" or \"items\"");
    return Variant(record ? Array(*record) : Array(kind));
  }
  if (!form.contains("items") || !form["items"].is_array()) throw Malformed("an array needs \"items\": [...]");
  const Json& items = form["items"];
  const std::int32_t lb = form.contains("lb") ? int32_field(form["lb"], "an array's \"lb\"") : 0;
  const std::int64_t last = std::int64_t{lb} + static_cast<std::int64_t>(items.size()) - 1;
  if (last > INT32_MAX) throw Malformed("array upper bound " + std::to_string(last) + " is out of range for Long");

  Array a = record ? Array(*record, lb, static_cast<std::int32_t>(items.size())) : Array(kind, lb, static_cast<std::int32_t>(items.size()));
  std::int64_t index = lb;  // 64 bits: one past an upper bound of 2^31 - 1 must not overflow
  for (const Json& item : items) {
    if (record) {
      a.put(static_cast<std::int32_t>(index++), Variant(record_from_fields(*record, item, vars)));
      continue;
    }
    Variant v = kind == VarKind::Object ? value_from_json(item, vars, ValueUse::Plain) : scalar_of_kind(item, kind, vars);
    if (kind == VarKind::Object && !v.is_object()) {
      throw Malformed("an item of an Obj array is {\"Obj\": v} or {\"Nothing\": 0}, got " + echo(item, 60));
    }
    a.put(static_cast<std::int32_t>(index++), v);
  }
  return Variant(std::move(a));
}

Variant tagged_value(const Json& j, Variables& vars, ValueUse use) {
  if (j.size() != 1) throw Malformed("a value form has exactly one key, got " + echo(j, 60));
  const std::string& tag = j.begin().key();
  const Json& arg = j.begin().value();
  if (tag == "I2") return scalar_of_kind(arg, VarKind::Integer, vars);
  if (tag == "UI1") return scalar_of_kind(arg, VarKind::Byte, vars);
  if (tag == "I4") return scalar_of_kind(arg, VarKind::Long, vars);
  if (tag == "R4") return scalar_of_kind(arg, VarKind::Single, vars);
  if (tag == "R8") return scalar_of_kind(arg, VarKind::Double, vars);
  if (tag == "Str") return scalar_of_kind(arg, VarKind::String, vars);
  if (tag == "Bool") return scalar_of_kind(arg, VarKind::Boolean, vars);
  if (tag == "NaN") return special_float(arg, tag, std::numeric_limits<double>::quiet_NaN());
  if (tag == "Inf") return special_float(arg, tag, std::numeric_limits<double>::infinity());
  if (tag == "-Inf") return special_float(arg, tag, -std::numeric_limits<double>::infinity());
  if (tag == "Empty" || tag == "Missing" || tag == "Nothing") {
    expect_zero(arg, tag);
    return tag == "Empty" ? Variant() : tag == "Missing" ? Variant::missing() : Variant::nothing();
  }
  if (tag == "Error") return Variant::error(int32_field(arg, "an Error code"));
  if (tag == "Arr") return array_value(arg, vars);
  if (tag == "Rec") return record_value(arg, vars);
  if (tag == "Obj") {
    const Variant& v = existing_variable(vars, arg);
    if (!v.is_object()) throw Malformed("{\"Obj\": \"" + arg.get<std::string>() + "\"} names a variable holding " + value_text(v) + ", not an object");
    return v;
  }
  if (tag == "ByRef") {
    if (use != ValueUse::Argument) throw Malformed("{\"ByRef\": v} is only allowed as an argument");
    return Variant::by_ref(existing_variable(vars, arg));
  }
  throw Malformed("unknown value form {\"" + tag + "\": ...}");
}

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void append_escape(std::string& out, unsigned unit) {
  static const char digits[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += digits[(unit >> shift) & 15];
}

template <class F>
std::string float_text(F v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string object_text(Unknown* p) {
  if (!p) return "Nothing";
  Object& o = p->identity();
  std::string text = std::string("object ") + o.class_info().name;
  const InterfaceInfo* view = o.interface_of(p);
  if (view && view != o.class_info().own) text += std::string(" as ") + view->name();
  return text;
}

std::string record_text(const Record& r) {
  std::string text = std::string(r.info()->name) + " {";
  const auto fields = r.fields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    text += (i ? ", " : "") + std::string(r.info()->fields[i].name) + ": " + value_text(fields[i]);
  }
  return text + "}";
}

std::string array_text(const Array& a) {
  const std::string kind = a.record_info() ? a.record_info()->name : kind_name(a.element_kind());
  if (!a.allocated()) return "unallocated " + kind + " array";
  std::string text = kind + " array (" + std::to_string(a.lower_bound()) + " to " + std::to_string(a.upper_bound()) + ") [";
  constexpr std::int32_t kShown = 8;
  for (std::int32_t i = 0; i < a.count() && i < kShown; ++i) {
    if (i) text += ", ";
    const Variant item = a.get(a.lower_bound() + i);
    // Inside a typed array the kind is the array's; only a Variant array shows each item's kind.
    if (a.element_kind() == VarKind::Variant || a.element_kind() == VarKind::Record) {
      text += value_text(item);
    } else {
      const std::string full = value_text(item);
      const std::size_t blank = full.find(' ');
      text += (blank == std::string::npos || item.is_object()) ? full : full.substr(blank + 1);
    }
  }
  if (a.count() > kShown) text += ", ... " + std::to_string(a.count() - kShown) + " more";
  return text + "]";
}

}  // namespace

const std::string& text_field(const Json& j, const char* what) {
  if (!j.is_string()) throw Malformed(std::string(what) + " must be a string, got " + echo(j, 60));
  return j.get_ref<const std::string&>();
}

std::int32_t int32_field(const Json& j, const char* what) {
  if (!j.is_number_integer()) throw Malformed(std::string(what) + " must be a whole number, got " + echo(j, 60));
  if (j.is_number_unsigned() ? j.get<std::uint64_t>() > INT32_MAX
                             : (j.get<std::int64_t>() < INT32_MIN || j.get<std::int64_t>() > INT32_MAX)) {
    throw Malformed(std::string(what) + " " + j.dump() + " is out of the signed 32-bit range");
  }
  return static_cast<std::int32_t>(j.get<std::int64_t>());
}

Variant& existing_variable(Variables& vars, const Json& name) {
  const std::string& key = text_field(name, "a variable name");
  auto it = vars.find(key);
  if (it == vars.end()) throw Malformed("unknown variable \"" + one_line(key) + "\"");
  return it->second;
}

Variant value_from_json(const Json& j, Variables& vars, ValueUse use) {
  switch (j.type()) {
    case Json::value_t::null: return Variant::null();
    case Json::value_t::boolean: return Variant(j.get<bool>());
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned: return scalar_of_kind(j, VarKind::Long, vars);
    case Json::value_t::number_float: return Variant(j.get<double>());
    case Json::value_t::string: return Variant(String::from_utf8(j.get_ref<const std::string&>()));
    case Json::value_t::object: return tagged_value(j, vars, use);
    case Json::value_t::array:
      throw Malformed("a JSON array is not a value (an array is written {\"Arr\": {...}}), got " + echo(j, 60));
    case Json::value_t::binary:
    case Json::value_t::discarded:
      break;
  }
  throw Malformed("not a value: " + echo(j, 60));
}

std::string quoted(std::u16string_view text, std::size_t limit) {
  std::string out = "\"";
  std::size_t i = 0;
  for (; i < text.size() && i < limit; ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      append_utf8(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00));
      ++i;
    } else if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == u'\n' || c == u'\t' || c == u'\r') {
      out += c == u'\n' ? "\\n" : c == u'\t' ? "\\t" : "\\r";
    } else if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) {
      append_escape(out, c);  // control characters and lone surrogates stay visible
    } else {
      append_utf8(out, c);
    }
  }
  out += '"';
  if (i < text.size()) out += "... (" + std::to_string(text.size()) + " units)";
  return out;
}

std::string one_line(const std::string& text) {
  std::string out;
  for (char c : text) out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
  return out;
}

std::string value_text(const Variant& v) {
  if (v.is_array()) return array_text(*v.if_array());
  switch (v.kind()) {
    case VarKind::Empty: return "Empty";
    case VarKind::Null: return "Null";
    case VarKind::Integer: return "Integer " + std::to_string(*v.if_integer());
    case VarKind::Long: return "Long " + std::to_string(*v.if_long());
    case VarKind::Single: return "Single " + float_text(*v.if_single());
    case VarKind::Double: return "Double " + float_text(*v.if_double());
    case VarKind::String: return "String " + quoted(v.if_string()->view());
    case VarKind::Object: return object_text(v.if_object());
    case VarKind::Error:
      return v.is_missing() ? std::string("Missing") : "Error " + std::to_string(*v.if_error());
    case VarKind::Boolean: {
      const std::int16_t bits = v.if_boolean()->bits;
      if (bits == -1) return "Boolean True";
      if (bits == 0) return "Boolean False";
      return "Boolean True (bits " + std::to_string(bits) + ")";
    }
    case VarKind::Byte: return "Byte " + std::to_string(*v.if_byte());
    case VarKind::Variant: return "Variant";
    case VarKind::Record: return record_text(*v.if_record());
  }
  return "a value of kind " + std::to_string(v.type_code());
}

}  // namespace quorvel::host
