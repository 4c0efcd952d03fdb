// The type library as text. Everything printed comes from the same descriptions that drive late
// binding, so the text cannot disagree with what a call does.
#include "type_library_printer.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "quorvel/platform/registry.h"
#include "value_codec.h"

namespace quorvel::host {

namespace {

bool same_name(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::string type_text(const TypeDesc& t) {
  const auto kind = static_cast<VarKind>(t.code & kKindMask);
  const bool named = (kind == VarKind::Object || kind == VarKind::Record) && *t.type_name;
  std::string name = named ? std::string(t.type_name) : std::string(kind_name(kind));
  if (t.code == Variant::code(VarKind::Empty)) name = "void";
  if (t.code & kArrayFlag) name += "[]";
  return name;
}

// A default value as a literal: 1000, 1.5, "x", True.
std::string literal(const Variant& v) {
  if (const String* s = v.if_string()) return quoted(s->view());
  if (const VariantBool* b = v.if_boolean()) return *b ? "True" : "False";
  const std::string text = value_text(v);
  const std::size_t blank = text.find(' ');
  return v.is_numeric() && blank != std::string::npos ? text.substr(blank + 1) : text;
}

std::string attributes(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) {
    if (p.empty()) continue;
    out += (out.empty() ? "" : ", ") + p;
  }
  return "[" + out + "]";
}

std::string help_attribute(const char* help) {
  return *help ? "helpstring(" + quoted(String::from_utf8(help).view(), SIZE_MAX) + ")" : std::string();
}

std::string kind_attribute(MemberKind k) {
  switch (k) {
    case MemberKind::Method: return {};
    case MemberKind::Get: return "propget";
    case MemberKind::Let: return "propput";
    case MemberKind::Set: return "propputref";
  }
  return {};
}

std::string parameter_text(const ParamInfo& p) {
  std::string defaults = p.has_default ? "defaultvalue(" + literal(p.default_value) + ")" : std::string();
  return attributes({p.by_ref ? "in, out" : "in", p.optional ? "optional" : "", defaults}) + " " + type_text(p.type) +
         (p.by_ref ? "* " : " ") + p.name;
}

void print_member(const MemberInfo& m, const std::string& indent, std::FILE* out) {
  std::string params;
  for (const ParamInfo& p : m.params) params += (params.empty() ? "" : ", ") + parameter_text(p);
  const std::string attrs = attributes({"id(" + std::to_string(m.id) + ")", kind_attribute(m.kind),
                                        m.id == 0 ? "default" : "", help_attribute(m.help)});
  std::fprintf(out, "%s%s %s %s(%s);\n", indent.c_str(), attrs.c_str(), type_text(m.result).c_str(), m.name,
               params.c_str());
}

void print_interface(const InterfaceInfo& i, const char* keyword, const std::string& indent, std::FILE* out,
                     bool with_help = true) {
  const std::string uuid = "uuid(" + i.iid().to_string().substr(1, 36) + ")";
  std::fprintf(out, "%s%s\n", indent.c_str(), attributes({uuid, with_help ? help_attribute(i.help()) : ""}).c_str());
  std::fprintf(out, "%s%s %s {\n", indent.c_str(), keyword, i.name());
  for (const MemberInfo& m : i.members()) print_member(m, indent + "    ", out);
  std::fprintf(out, "%s};\n", indent.c_str());
}

std::string reach(const ClassInfo& c) {
  if (c.creatable() && c.global()) return "creatable, global";
  if (c.creatable()) return "creatable";
  if (c.global()) return "global";
  return "handed out";
}

bool published(const InterfaceInfo* i) {
  const auto& all = type_library().interfaces;
  return std::find(all.begin(), all.end(), i) != all.end();
}

// The coclass, then (unless printed elsewhere) its own interface and its events.
void print_class(const ClassInfo& c, bool with_published, const std::string& indent, std::FILE* out) {
  std::string head = "uuid(" + c.clsid.to_string().substr(1, 36) + ")";
  const std::string progid = c.creatable() ? "progid(\"" + std::string(type_library().name) + "." + std::string(c.name) + "\")" : std::string();
  std::fprintf(out, "%s%s\n", indent.c_str(), attributes({head, reach(c), progid, help_attribute(c.help)}).c_str());
  std::fprintf(out, "%scoclass %s {\n", indent.c_str(), c.name);
  if (c.own) std::fprintf(out, "%s    [default] interface %s;\n", indent.c_str(), c.own->name());
  for (const InterfaceInfo* i : c.implements) {
    if (i != c.own) std::fprintf(out, "%s    interface %s;\n", indent.c_str(), i->name());
  }
  if (c.events) std::fprintf(out, "%s    [default, source] dispinterface %s;\n", indent.c_str(), c.events->name());
  std::fprintf(out, "%s};\n", indent.c_str());
  if (c.own && (with_published || !published(c.own))) {
    std::fputc('\n', out);
    // A class's own interface usually repeats the class's help text; say it once.
    print_interface(*c.own, "interface", indent, out, std::string_view(c.own->help()) != c.help);
  }
  if (c.events && (with_published || !published(c.events))) {
    std::fputc('\n', out);
    print_interface(*c.events, "dispinterface", indent, out);
  }
}

void print_enum(const EnumInfo& e, const std::string& indent, std::FILE* out) {
  std::fprintf(out, "%senum %s {\n", indent.c_str(), e.name);
  for (std::size_t k = 0; k < e.values.size(); ++k) {
    std::fprintf(out, "%s    %s = %d%s\n", indent.c_str(), e.values[k].first, static_cast<int>(e.values[k].second),
                 k + 1 < e.values.size() ? "," : "");
  }
  std::fprintf(out, "%s};\n", indent.c_str());
}

void print_record(const RecordInfo& r, const std::string& indent, std::FILE* out) {
  std::fprintf(out, "%sstruct %s {\n", indent.c_str(), r.name);
  for (const FieldInfo& f : r.fields) std::fprintf(out, "%s    %s %s;\n", indent.c_str(), type_text(f.type).c_str(), f.name);
  std::fprintf(out, "%s};\n", indent.c_str());
}

}  // namespace

void print_classes(std::FILE* out) {
  struct Row {
    std::string name, progid, clsid, reach;
  };
  std::vector<Row> rows{{"NAME", "PROGRAM ID", "CLASS ID", "REACHED"}};
  for (const ClassInfo* c : type_library().classes) {
    rows.push_back({c->name, c->creatable() ? std::string(type_library().name) + "." + std::string(c->name) : "-", c->clsid.to_string(), reach(*c)});
  }
  std::size_t w_name = 0, w_progid = 0;
  for (const Row& r : rows) {
    w_name = std::max(w_name, r.name.size());
    w_progid = std::max(w_progid, r.progid.size());
  }
  for (const Row& r : rows) {
    std::fprintf(out, "%-*s  %-*s  %-38s  %s\n", static_cast<int>(w_name), r.name.c_str(), static_cast<int>(w_progid),
                 r.progid.c_str(), r.clsid.c_str(), r.reach.c_str());
  }
}

bool print_description(std::string_view name, std::FILE* out) {
  const TypeLibrary& lib = type_library();
  for (const ClassInfo* c : lib.classes) {
    if (same_name(c->name, name)) {
      print_class(*c, true, "", out);
      return true;
    }
  }
  for (const InterfaceInfo* i : lib.interfaces) {
    if (same_name(i->name(), name)) {
      print_interface(*i, "interface", "", out);
      return true;
    }
  }
  for (const ClassInfo* c : lib.classes) {  // a class's own or event interface, by its name
    if (c->own && same_name(c->own->name(), name)) {
      print_interface(*c->own, "interface", "", out);
      return true;
    }
    if (c->events && same_name(c->events->name(), name)) {
      print_interface(*c->events, "dispinterface", "", out);
      return true;
    }
  }
  for (const EnumInfo* e : lib.enums) {
    if (same_name(e->name, name)) {
      print_enum(*e, "", out);
      return true;
    }
  }
  for (const RecordInfo* r : lib.records) {
    if (same_name(r->name, name)) {
      print_record(*r, "", out);
      return true;
    }
  }
  return false;
}

void print_type_library(std::FILE* out) {
  const TypeLibrary& lib = type_library();
  const std::string indent = "    ";
  char lcid[16];
  std::snprintf(lcid, sizeof lcid, "0x%X", static_cast<unsigned>(lib.lcid));
  std::fprintf(out, "[version(%d.%d), lcid(%s)]\nlibrary %s {\n", lib.major, lib.minor, lcid, lib.name);
  bool first = true;
  auto separate = [&] {
    if (!first) std::fputc('\n', out);
    first = false;
  };
  for (const EnumInfo* e : lib.enums) separate(), print_enum(*e, indent, out);
  for (const RecordInfo* r : lib.records) separate(), print_record(*r, indent, out);
  for (const InterfaceInfo* i : lib.interfaces) separate(), print_interface(*i, "interface", indent, out);
  for (const ClassInfo* c : lib.classes) separate(), print_class(*c, false, indent, out);
  std::fprintf(out, "};\n");
}

}  // namespace quorvel::host
